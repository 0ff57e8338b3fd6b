// The serial port on Windows, over the system's communications API with
// overlapped I/O on event handles. Every call it makes goes through
// WinCommApi, so its logic runs on Linux against a fake driver too.
//
// Reading: a one-byte overlapped ReadFile stays pending, with no read
// time-outs, until a byte arrives (its event watched on the event loop).
// Then, while the driver says anything waits, the time-outs are switched to
// ReadIntervalTimeout = MAXDWORD, ReadTotalTimeoutMultiplier = 0,
// ReadTotalTimeoutConstant = 0, with which ReadFile returns at once with
// what has arrived; that read takes what follows the first byte. The
// driver's count of waiting bytes only says whether to read, never how
// much: a read of the count would wait for bytes that never come where a
// driver over-reports it. (Wine departs from Windows here: with that
// setting and nothing there its read waits for the next byte, hence the
// look at the count first.) Why not MAXDWORD/MAXDWORD/N, one read that
// waits for the first byte and returns with what has arrived: Wine does
// not honour that setting (its read then waits for the whole buffer), and
// the adapter must be testable under Wine. WaitCommEvent is not used
// either: under Wine it fails at once on a pseudo-terminal.
//
// Writing: one overlapped WriteFile at a time, the rest queued; each with a
// deadline, and the driver's own write time-out set as well.
//
// Every wait has a limit (Limits). An operation cancelled that does not end
// within its limit (drivers need not end one, and after a pulled cable
// some never do) is parked with its buffer and event for the rest of the
// run, never freed while the driver may still write it, and the port is
// reported lost. Closing sends what is queued and waits for the driver's
// queue to empty, each within a limit (no FlushFileBuffers, which waits
// without one).
//
// Not Qt's serial port library on Windows: its backend waits for the
// serial events on an I/O completion port, where Wine does not post the
// completion of WaitCommEvent, so under Wine it receives nothing and the
// Windows build could not be tested on the Linux machines that build it.
#pragma once

#include "SerialDevice.h"
#include "WinCommApi.h"

#include <memory>

class WinSerialDevice : public SerialDevice {
    Q_OBJECT
public:
    // Milliseconds each wait may take.
    struct Limits {
        WinComm::Dword cancel = 500; // a cancelled operation to end
        WinComm::Dword followUp = 200; // a read that is to return at once
        WinComm::Dword writeBase = 1000; // a write: this, and per byte
        WinComm::Dword writePerByte = 3; // (9600 baud is about 1 ms a byte)
        WinComm::Dword drain = 500; // on closing, the driver's queue to empty
        WinComm::Dword drainPoll = 10;
    };
    // The time-outs while the one-byte read waits, and while a read takes
    // what has arrived.
    static WinComm::Timeouts waitingTimeouts();
    static WinComm::Timeouts arrivedTimeouts();

    explicit WinSerialDevice(std::unique_ptr<WinCommApi> api, QObject *parent = nullptr);
    ~WinSerialDevice() override;

    bool open(const QString &device, bool discardOutput, PortOpenResult &result) override;
    void close() override;
    bool isOpen() const override;
    void write(const QByteArray &bytes) override;
    void discardInput() override;

    const Limits &limits() const { return limits_; }

private:
    using Operation = std::unique_ptr<CommOperation>;
    WinComm::Dword writeLimit(WinComm::Dword bytes) const;
    bool startWaiting();
    void waitEnded();
    bool takeArrived(QByteArray &bytes);
    void startWrite();
    void writeEnded();
    void writeTimedOut();
    bool end(Operation &operation);
    void drain();
    void shutDown();
    void lose();

    std::unique_ptr<WinCommApi> api_;
    Limits limits_;
    WinCommApi::Handle handle_;
    Operation waitOp_, readOp_, writeOp_;
    bool waiting_ = false, writing_ = false;
    bool dropFirst_ = false; // the byte the waiting read took arrived before a discard
    WinComm::Dword writeSize_ = 0;
    int openings_ = 0; // tells a port opened again from the one a read began on
    QByteArray queued_; // to be written once the write in flight is done
};
