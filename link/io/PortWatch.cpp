#include "PortWatch.h"

#include "SystemPortSource.h"

#include <QTimer>

PortWatch &PortWatch::instance()
{
    static PortWatch *watch = new PortWatch; // lives as long as the process
    return *watch;
}

PortWatch::PortWatch() : timer_(new QTimer(this))
{
    timer_->setObjectName(QStringLiteral("Timer_ports"));
    // A cable shows within about two seconds of being plugged in.
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &PortWatch::checkNow);
}

void PortWatch::watch(QObject *watcher)
{
    if (!watchers_.contains(watcher)) {
        watchers_ << watcher;
        connect(watcher, &QObject::destroyed, this, [this, watcher] { unwatch(watcher); });
    }
    if (!timer_->isActive()) {
        last_ = PresentPorts();
        timer_->start();
    }
}

void PortWatch::unwatch(QObject *watcher)
{
    watchers_.removeAll(watcher);
    watchers_.removeAll(nullptr);
    if (watchers_.isEmpty())
        timer_->stop();
}

bool PortWatch::watching() const { return timer_->isActive(); }

void PortWatch::checkNow()
{
    const QList<PortEntry> ports = PresentPorts();
    if (ports == last_)
        return;
    last_ = ports;
    emit portsChanged(ports);
}
