#include "SerialLink.h"

#include "DemoRadio.h"
#include "Globals.h"
#include "PortBinding.h"
#include "PortClaims.h"
#include "SerialDevice.h"

#include <QTimer>

SerialLink::SerialLink(LinkExchange &exchange, LinkView &view, QObject *parent)
    : QObject(parent), engine_(exchange, *this, view)
{
    usePort(CreateSerialDevice(QString(), this));
    for (int t = 1; t <= TimerCount; ++t) {
        auto *timer = new QTimer(this);
        timer->setObjectName(QStringLiteral("Timer%1").arg(t));
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [this, t] { engine_.timerExpired(t); });
        timers_[t] = timer;
    }
}

SerialLink::~SerialLink() { halt(); }

void SerialLink::usePort(SerialDevice *port)
{
    if (port_) {
        // Not deleted at once: this may run inside one of its signals.
        port_->disconnect(this);
        port_->deleteLater();
    }
    port_ = port;
    connect(port_, &SerialDevice::bytesArrived, this,
            [this](const QByteArray &bytes) { engine_.bytesArrived(bytes); });
    // A cable pulled or a device gone: the port has closed itself and the
    // engine is told. It hears of it from the event loop, never from inside
    // one of its own calls (a write or a close can report the error at
    // once); by then a new attempt may have opened the port again, and the
    // news is old.
    connect(port_, &SerialDevice::lost, this, [this] {
        PortClaims::Release(this);
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!port_->isOpen())
                    engine_.portFailed();
            },
            Qt::QueuedConnection);
    });
}

void SerialLink::halt()
{
    for (int t = 1; t <= TimerCount; ++t)
        timers_[t]->stop();
    if (port_->isOpen())
        port_->close();
    PortClaims::Release(this);
}

PortOpenResult SerialLink::openPort(bool discardOutput)
{
    PortOpenResult result;
    result.option = device_.isEmpty() ? PortNumber : 0;
    result.device = device_.isEmpty() ? DeviceForPort(PortNumber) : device_;
    if (result.device.isEmpty()) {
        // No device bound to the number: the message says how to bind one.
        SuggestCable(result);
        return result;
    }
    // Another of our windows has it open: the system would only say that
    // some program holds it.
    if (const void *holder = PortClaims::Holder(result.device); holder && holder != this) {
        result.heldHere = true;
        return result;
    }
    if (NeedsOtherDevice(port_, result.device))
        usePort(CreateSerialDevice(result.device, this));
    if (!port_->open(result.device, discardOutput, result)) {
        if (result.notFound)
            SuggestCable(result);
        return result;
    }
    PortClaims::Claim(result.device, this);
    result.ok = true;
    return result;
}

void SerialLink::closePort()
{
    if (!port_->isOpen())
        return;
    port_->close();
    PortClaims::Release(this);
}

bool SerialLink::isPortOpen() const { return port_->isOpen(); }

void SerialLink::write(const QByteArray &bytes) { port_->write(bytes); }

void SerialLink::discardInput() { port_->discardInput(); }

void SerialLink::startTimer(int timer, int milliseconds) { timers_[timer]->start(milliseconds); }

void SerialLink::stopTimer(int timer) { timers_[timer]->stop(); }
