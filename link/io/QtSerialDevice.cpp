#include "QtSerialDevice.h"

#include "LinkIo.h"
#include "PortBinding.h"

#include <QSerialPort>

QtSerialDevice::QtSerialDevice(QObject *parent) : SerialDevice(parent), port_(new QSerialPort(this))
{
    port_->setObjectName(QStringLiteral("MSC"));
    connect(port_, &QSerialPort::readyRead, this, [this] { emit bytesArrived(port_->readAll()); });
    // A cable pulled or a device gone: the port closes and says so.
    connect(port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError
            && error != QSerialPort::WriteError)
            return;
        if (port_->isOpen())
            port_->close();
        emit lost();
    });
}

bool QtSerialDevice::open(const QString &device, bool discardOutput, PortOpenResult &result)
{
    port_->setPortName(device);
    port_->setBaudRate(QSerialPort::Baud9600);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    port_->setReadBufferSize(1024);
    if (!port_->open(QIODevice::ReadWrite)) {
        result.reason = port_->errorString();
        ExplainPortFailure(result, port_->error());
        return false;
    }
    port_->clear(discardOutput ? QSerialPort::AllDirections : QSerialPort::Input);
    return true;
}

void QtSerialDevice::close()
{
    if (!port_->isOpen())
        return;
    // The last acknowledge or end byte must leave before the port goes.
    port_->flush();
    port_->close();
}

bool QtSerialDevice::isOpen() const { return port_->isOpen(); }

void QtSerialDevice::write(const QByteArray &bytes)
{
    if (port_->isOpen())
        port_->write(bytes);
}

void QtSerialDevice::discardInput()
{
    if (!port_->isOpen())
        return;
    port_->readAll();
    port_->clear(QSerialPort::Input);
}
