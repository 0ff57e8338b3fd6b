// The serial port on Windows, over the system's communications API with
// overlapped I/O on event handles: an overlapped ReadFile waits for the
// next byte (its event watched by a QWinEventNotifier), what follows it is
// read at once, writes go out one overlapped WriteFile at a time.
//
// Not Qt's serial port library, because its Windows backend waits for the
// serial events on an I/O completion port, and Wine does not post the
// completion of WaitCommEvent there: under Wine that port receives
// nothing, so the Windows build could not be tested on the Linux machines
// that build it. Reads on event handles work on Windows and under Wine
// alike.
#pragma once

#include "SerialDevice.h"

#include <memory>

class WinSerialDevice : public SerialDevice {
    Q_OBJECT
public:
    explicit WinSerialDevice(QObject *parent = nullptr);
    ~WinSerialDevice() override;

    bool open(const QString &device, bool discardOutput, PortOpenResult &result) override;
    void close() override;
    bool isOpen() const override;
    void write(const QByteArray &bytes) override;
    void discardInput() override;

private:
    struct Line;
    void watch();
    void lineEvent();
    bool readWaiting(QByteArray bytes);
    void startWrite();
    void writeDone();
    void release();
    void lose();

    std::unique_ptr<Line> line_;
};
