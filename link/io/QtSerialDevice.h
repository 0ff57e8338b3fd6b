// The system's serial port through Qt's serial port library (Linux and
// other Unix systems).
#pragma once

#include "SerialDevice.h"

class QSerialPort;

class QtSerialDevice : public SerialDevice {
    Q_OBJECT
public:
    explicit QtSerialDevice(QObject *parent = nullptr);

    bool open(const QString &device, bool discardOutput, PortOpenResult &result) override;
    void close() override;
    bool isOpen() const override;
    void write(const QByteArray &bytes) override;
    void discardInput() override;

private:
    QSerialPort *port_;
};
