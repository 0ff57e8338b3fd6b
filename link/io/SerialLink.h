// Binds a RadioLink to a serial port (a SerialDevice: the system's port,
// 9600 8N1, no flow control, or the demo radio) and four timers. No
// widgets: the windows and the command-line tool both use it, each with its
// own exchange and LinkView.
#pragma once

#include "RadioLink.h"

#include <QObject>
#include <array>

class SerialDevice;
class QTimer;

class SerialLink : public QObject, public LinkIo {
    Q_OBJECT
public:
    SerialLink(LinkExchange &exchange, LinkView &view, QObject *parent = nullptr);
    ~SerialLink() override;

    RadioLink &engine() { return engine_; }
    // Opens this device instead of the one PortNumber is bound to (several
    // links side by side, each on its own port).
    void setDevice(const QString &device) { device_ = device; }
    // Stops the timers and closes the port: the engine hears nothing more.
    void halt();

    PortOpenResult openPort(bool discardOutput) override;
    void closePort() override;
    bool isPortOpen() const override;
    void write(const QByteArray &bytes) override;
    void discardInput() override;
    void startTimer(int timer, int milliseconds) override;
    void stopTimer(int timer) override;

private:
    void usePort(SerialDevice *port);

    SerialDevice *port_ = nullptr;
    std::array<QTimer *, TimerCount + 1> timers_{};
    RadioLink engine_;
    QString device_;
};
