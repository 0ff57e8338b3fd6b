// Ctrl+C as an event of the event loop: on Linux SIGINT and SIGTERM (the
// handler only writes a byte to a pipe that the loop reads), on Windows the
// console's Ctrl+C, Ctrl+Break and close events (its handler runs on a
// thread of its own and posts to the loop). stopRequested carries the count
// of requests so far.
#pragma once

#include <QObject>

class QSocketNotifier;

class StopSignal : public QObject {
    Q_OBJECT
public:
    explicit StopSignal(QObject *parent = nullptr);
    ~StopSignal() override;

    // Counts a request and says so (the handlers' way in).
    void request();

signals:
    void stopRequested(int count);

private:
    QSocketNotifier *notifier_ = nullptr;
    int count_ = 0;
};
