// The demo: the simulated radio inside the program, behind the serial
// device interface, at the pace of a real radio on its 9600-baud cable.
// The read, write, verify and power windows work with it as with a radio;
// it keeps what was written to it until the program ends.
#pragma once

#include "SerialDevice.h"

#include <QElapsedTimer>
#include <deque>
#include <utility>

class QTimer;

// The device name the demo radio answers on.
inline constexpr const char *DemoDeviceName = "demo";
bool IsDemoDevice(const QString &device);

// Puts the demo radio (eight programmed channels) on DemoDeviceName for the
// rest of the run. paced: at 9600 baud; otherwise it answers at once.
void StartDemoRadio(bool paced = true);

class DemoSerialDevice : public SerialDevice {
    Q_OBJECT
public:
    explicit DemoSerialDevice(QObject *parent = nullptr);
    ~DemoSerialDevice() override;

    bool open(const QString &device, bool discardOutput, PortOpenResult &result) override;
    void close() override;
    bool isOpen() const override { return open_; }
    void write(const QByteArray &bytes) override;
    void discardInput() override;

private:
    void deliver();
    void schedule();
    qint64 nowUs() const;

    bool open_ = false;
    QTimer *timer_;
    // The radio's bytes on their way, each with the time it arrives.
    std::deque<std::pair<qint64, char>> incoming_;
};
