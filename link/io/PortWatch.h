// Tells the windows when the ports present change (a cable plugged in or
// pulled out) and when a port number is bound to another device, so that
// the port list and the status bar follow. The list is looked at every
// second, and only while a window that shows it is open.
#pragma once

#include "PortInventory.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QTimer;

class PortWatch : public QObject {
    Q_OBJECT
public:
    static PortWatch &instance();

    // Looks at the list while watcher lives (or until unwatch).
    void watch(QObject *watcher);
    void unwatch(QObject *watcher);
    bool watching() const;
    // Looks at the list now; portsChanged when it differs from the last look.
    void checkNow();

signals:
    void portsChanged(const QList<PortEntry> &ports);
    // BindPort changed what a port number stands for.
    void bindingChanged(int n);

private:
    PortWatch();
    QTimer *timer_;
    QList<QPointer<QObject>> watchers_;
    QList<PortEntry> last_;
};
