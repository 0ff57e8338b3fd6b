// Ctrl+C (SIGINT) and SIGTERM as events of the event loop: the handler
// only writes a byte to a pipe, the loop reads it and emits stopRequested
// with the count of requests so far.
#pragma once

#include <QObject>

class QSocketNotifier;

class StopSignal : public QObject {
    Q_OBJECT
public:
    explicit StopSignal(QObject *parent = nullptr);
    ~StopSignal() override;

signals:
    void stopRequested(int count);

private:
    QSocketNotifier *notifier_ = nullptr;
    int count_ = 0;
};
