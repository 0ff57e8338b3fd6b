// Several ports at once on one event loop: one station (and so one link
// connection) per port, each with its own retries and messages; a fault on
// one never reaches another. Keeps every record in the order they were
// settled, and stops on request in two steps (Ctrl+C, then Ctrl+C again).
#pragma once

#include "PortStation.h"

#include <QList>
#include <QObject>

class Fleet : public QObject {
    Q_OBJECT
public:
    explicit Fleet(QObject *parent = nullptr);

    // The same job on each device; the line keeps going until stopped.
    void setPorts(const QStringList &devices, const PortJob &job, bool productionLine);
    const QList<PortStation *> &stations() const { return stations_; }
    PortStation *station(const QString &device) const;

    void start();
    bool running() const;
    // Every record settled so far (a line adds one per radio).
    const QList<PortRecord> &records() const { return records_; }
    // The latest record of each port, in the order of the ports: the one-off
    // run's summary.
    QList<PortRecord> latest() const;
    // Radios written (read) and failed: every radio of a line; the latest
    // result of each port otherwise, so a retried port counts once.
    int completedCount() const;
    int failedCount() const;

    // First stop: radios being programmed are finished, nothing new starts.
    // Returns the stations still finishing.
    QList<PortStation *> finishAndStop();
    // Second stop: everything ends now.
    void abort();

signals:
    void changed(PortStation *station);
    void recorded(const PortRecord &record);
    // Every station has finished.
    void allFinished();

private:
    QList<PortStation *> stations_;
    QList<PortRecord> records_;
    bool line_ = false;
};
