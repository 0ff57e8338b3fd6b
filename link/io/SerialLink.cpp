#include "SerialLink.h"

#include "Globals.h"
#include "PortBinding.h"
#include "PortClaims.h"

#include <QFileInfo>
#include <QSerialPort>
#include <QTimer>

SerialLink::SerialLink(LinkExchange &exchange, LinkView &view, QObject *parent)
    : QObject(parent), port_(new QSerialPort(this)), engine_(exchange, *this, view)
{
    port_->setObjectName(QStringLiteral("MSC"));
    connect(port_, &QSerialPort::readyRead, this,
            [this] { engine_.bytesArrived(port_->readAll()); });
    // A cable pulled or a device gone: the port is closed and the engine
    // told. It hears of it from the event loop, never from inside one of
    // its own calls (a write or a close can report the error at once); by
    // then a new attempt may have opened the port again, and the news is old.
    connect(port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError
            && error != QSerialPort::WriteError)
            return;
        if (port_->isOpen())
            port_->close();
        PortClaims::Release(this);
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!port_->isOpen())
                    engine_.portFailed();
            },
            Qt::QueuedConnection);
    });
    for (int t = 1; t <= TimerCount; ++t) {
        auto *timer = new QTimer(this);
        timer->setObjectName(QStringLiteral("Timer%1").arg(t));
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [this, t] { engine_.timerExpired(t); });
        timers_[t] = timer;
    }
}

SerialLink::~SerialLink() { halt(); }

void SerialLink::halt()
{
    for (int t = 1; t <= TimerCount; ++t)
        timers_[t]->stop();
    if (port_->isOpen())
        port_->close();
    PortClaims::Release(this);
}

namespace {

// One name per device, however the user wrote its path.
QString ClaimName(const QString &device)
{
    const QString canonical = QFileInfo(device).canonicalFilePath();
    return canonical.isEmpty() ? device : canonical;
}

} // namespace

PortOpenResult SerialLink::openPort(bool discardOutput)
{
    PortOpenResult result;
    result.device = device_.isEmpty() ? DeviceForPort(PortNumber) : device_;
    if (result.device.isEmpty())
        return result; // no device bound to the number: the message says how to bind one
    // Another of our windows has it open: the system would only say that
    // some program holds it.
    const QString claim = ClaimName(result.device);
    if (const void *holder = PortClaims::Holder(claim); holder && holder != this) {
        result.heldHere = true;
        return result;
    }
    port_->setPortName(result.device);
    port_->setBaudRate(QSerialPort::Baud9600);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    port_->setReadBufferSize(1024);
    if (!port_->open(QIODevice::ReadWrite)) {
        result.reason = port_->errorString();
        ExplainPortFailure(result, port_->error());
        return result;
    }
    port_->clear(discardOutput ? QSerialPort::AllDirections : QSerialPort::Input);
    PortClaims::Claim(claim, this);
    result.ok = true;
    return result;
}

void SerialLink::closePort()
{
    if (!port_->isOpen())
        return;
    // The last acknowledge or end byte must leave before the port goes.
    port_->flush();
    port_->close();
    PortClaims::Release(this);
}

bool SerialLink::isPortOpen() const { return port_->isOpen(); }

void SerialLink::write(const QByteArray &bytes)
{
    if (port_->isOpen())
        port_->write(bytes);
}

void SerialLink::discardInput()
{
    if (!port_->isOpen())
        return;
    port_->readAll();
    port_->clear(QSerialPort::Input);
}

void SerialLink::startTimer(int timer, int milliseconds) { timers_[timer]->start(milliseconds); }

void SerialLink::stopTimer(int timer) { timers_[timer]->stop(); }
