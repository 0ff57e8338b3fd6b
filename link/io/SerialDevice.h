// The serial port as the link uses it, whatever carries the bytes: Qt's
// serial port on Linux, the Windows communications API on Windows (see
// WinSerialDevice.h for why not Qt's there), or the demo radio inside the
// program. SerialLink binds the link engine to one of these; everything
// that differs between the systems sits behind this class.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

struct PortOpenResult;

class SerialDevice : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Opens the device at 9600 baud, 8 data bits, no parity, 1 stop bit,
    // no flow control, DTR and RTS on, and discards what waits in it
    // (pending output too when asked). On failure fills result's reason
    // and what the system said of it (not found, in use, access denied).
    virtual bool open(const QString &device, bool discardOutput, PortOpenResult &result) = 0;
    // Waits (briefly) for written bytes to leave, then closes.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual void write(const QByteArray &bytes) = 0;
    // Drops input that has arrived but has not been delivered yet.
    virtual void discardInput() = 0;

signals:
    // Bytes from the line, in order, on the thread of this object.
    void bytesArrived(const QByteArray &bytes);
    // The line went away while open (cable pulled, device gone). The
    // device has closed itself by then.
    void lost();
};

// The device that carries a name: the demo radio for DemoDeviceName, the
// system's serial port otherwise.
SerialDevice *CreateSerialDevice(const QString &device, QObject *parent);
// Whether device needs another kind of object than current.
bool NeedsOtherDevice(const SerialDevice *current, const QString &device);
