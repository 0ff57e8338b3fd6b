// The Windows calls the serial adapter (WinSerialDevice) makes, one
// virtual function each, so that the adapter's logic is built and tested
// on Linux too, against a fake driver (tests/link/FakeCommApi.h).
// Win32CommApi (Windows only) makes the real calls and holds no logic.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace WinComm {

using Dword = std::uint32_t;
constexpr Dword MaxDword = 0xFFFFFFFFu;

// The system's error codes the adapter tells apart (winerror.h).
enum Error : Dword {
    FileNotFound = 2,
    PathNotFound = 3,
    AccessDenied = 5,
    BadUnit = 20,
    GenFailure = 31,
    SharingViolation = 32,
    DeviceNotExist = 55,
    InvalidName = 123,
    OperationAborted = 995,
    IoIncomplete = 996,
    IoPending = 997,
};

// PurgeComm's flags.
enum Purge : Dword { TxAbort = 1, RxAbort = 2, TxClear = 4, RxClear = 8 };

// COMMTIMEOUTS, field for field.
struct Timeouts {
    Dword readInterval = 0;
    Dword readTotalMultiplier = 0;
    Dword readTotalConstant = 0;
    Dword writeTotalMultiplier = 0;
    Dword writeTotalConstant = 0;
    bool operator==(const Timeouts &) const = default;
};

} // namespace WinComm

// One overlapped operation and everything the system may write while it
// runs: its OVERLAPPED and event (in the real layer's subclass) and the
// buffer read into or written from. The adapter frees one only when the
// system is done with it; one whose cancel never ends is parked for good
// (ParkOperation).
class CommOperation {
public:
    explicit CommOperation(std::size_t capacity) : buffer_(capacity) { }
    virtual ~CommOperation() = default;
    CommOperation(const CommOperation &) = delete;
    CommOperation &operator=(const CommOperation &) = delete;

    char *data() { return buffer_.data(); }
    WinComm::Dword capacity() const { return WinComm::Dword(buffer_.size()); }

private:
    std::vector<char> buffer_;
};

// Keeps an operation the system may still write until the process ends.
void ParkOperation(std::unique_ptr<CommOperation> operation);
// How many are parked (for the tests).
std::size_t ParkedOperations();

class WinCommApi {
public:
    using Dword = WinComm::Dword;
    using Handle = void *;
    static Handle noHandle() { return reinterpret_cast<Handle>(~std::uintptr_t(0)); }

    virtual ~WinCommApi() = default;

    // CreateFileW for reading and writing, overlapped; noHandle() with the
    // error when it fails.
    virtual Handle open(const QString &path, Dword &error) = 0;
    // GetCommState and SetCommState: 9600 baud, 8N1, binary, no flow
    // control, DTR and RTS on.
    virtual bool setLine(Handle handle) = 0;
    virtual bool setTimeouts(Handle handle, const WinComm::Timeouts &timeouts) = 0;
    // SetupComm.
    virtual bool setQueues(Handle handle, Dword input, Dword output) = 0;
    // PurgeComm.
    virtual bool purge(Handle handle, Dword flags) = 0;
    // ClearCommError: the bytes in the driver's queues.
    virtual bool queues(Handle handle, Dword &input, Dword &output) = 0;
    // CloseHandle.
    virtual void close(Handle handle) = 0;
    // GetLastError after a call that failed, and the system's text for an
    // error.
    virtual Dword lastError() = 0;
    virtual QString errorText(Dword error) = 0;

    // An operation with a buffer of capacity bytes and its event.
    virtual std::unique_ptr<CommOperation> newOperation(Dword capacity) = 0;
    // ReadFile into, WriteFile from the operation's buffer: false when the
    // call failed at once (lastError), true when it has ended or runs on.
    virtual bool read(Handle handle, CommOperation &operation, Dword size) = 0;
    virtual bool write(Handle handle, CommOperation &operation, Dword size) = 0;
    // WaitForSingleObject on the operation's event: whether it ended within
    // ms milliseconds.
    virtual bool wait(CommOperation &operation, Dword ms) = 0;
    // GetOverlappedResult without waiting: false when the operation failed
    // or still runs (lastError IoIncomplete).
    virtual bool result(Handle handle, CommOperation &operation, Dword &bytes) = 0;
    // CancelIoEx of that operation.
    virtual void cancel(Handle handle, CommOperation &operation) = 0;
    // Calls ended from the event loop once the operation has ended
    // (QWinEventNotifier); an empty function stops watching it.
    virtual void notify(CommOperation &operation, std::function<void()> ended) = 0;
    // Sleep.
    virtual void pause(Dword ms) = 0;
    // One timer on the event loop, once; starting it again restarts it.
    virtual void startTimer(Dword ms, std::function<void()> fired) = 0;
    virtual void stopTimer() = 0;
};

// The real calls (Windows only).
std::unique_ptr<WinCommApi> MakeWin32CommApi();
