// The Windows communications calls behind WinCommApi, one each: nothing
// here decides anything (WinSerialDevice does, and is tested on Linux).
#include "WinCommApi.h"

#include <QTimer>
#include <QWinEventNotifier>
#include <map>
#include <qt_windows.h>

static_assert(WinComm::FileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(WinComm::PathNotFound == ERROR_PATH_NOT_FOUND);
static_assert(WinComm::AccessDenied == ERROR_ACCESS_DENIED);
static_assert(WinComm::BadUnit == ERROR_BAD_UNIT);
static_assert(WinComm::GenFailure == ERROR_GEN_FAILURE);
static_assert(WinComm::SharingViolation == ERROR_SHARING_VIOLATION);
static_assert(WinComm::DeviceNotExist == ERROR_DEV_NOT_EXIST);
static_assert(WinComm::InvalidName == ERROR_INVALID_NAME);
static_assert(WinComm::OperationAborted == ERROR_OPERATION_ABORTED);
static_assert(WinComm::IoIncomplete == ERROR_IO_INCOMPLETE);
static_assert(WinComm::IoPending == ERROR_IO_PENDING);
static_assert(WinComm::TxAbort == PURGE_TXABORT && WinComm::RxAbort == PURGE_RXABORT
              && WinComm::TxClear == PURGE_TXCLEAR && WinComm::RxClear == PURGE_RXCLEAR);
static_assert(WinComm::MaxDword == MAXDWORD);

namespace {

struct Win32Operation : CommOperation {
    explicit Win32Operation(std::size_t capacity) : CommOperation(capacity)
    {
        // Manual-reset, as the system expects of an overlapped event.
        overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    ~Win32Operation() override { CloseHandle(overlapped.hEvent); }
    OVERLAPPED overlapped{};
};

Win32Operation &Of(CommOperation &operation) { return static_cast<Win32Operation &>(operation); }

class Win32CommApi : public WinCommApi {
public:
    Win32CommApi() { timer_.setSingleShot(true); }
    ~Win32CommApi() override
    {
        *alive_ = false;
        for (auto &[op, watch] : watches_) {
            watch.notifier->setEnabled(false);
            watch.notifier->deleteLater();
        }
    }

    Handle open(const QString &path, Dword &error) override
    {
        HANDLE h = CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()),
                               GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OVERLAPPED, nullptr);
        error = h == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        return h == INVALID_HANDLE_VALUE ? noHandle() : h;
    }

    bool setLine(Handle handle) override
    {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!GetCommState(handle, &dcb))
            return false;
        dcb.BaudRate = CBR_9600;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fErrorChar = FALSE;
        dcb.fNull = FALSE;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
        dcb.fAbortOnError = FALSE;
        return SetCommState(handle, &dcb);
    }

    bool setTimeouts(Handle handle, const WinComm::Timeouts &t) override
    {
        COMMTIMEOUTS timeouts{t.readInterval, t.readTotalMultiplier, t.readTotalConstant,
                              t.writeTotalMultiplier, t.writeTotalConstant};
        return SetCommTimeouts(handle, &timeouts);
    }

    bool setQueues(Handle handle, Dword input, Dword output) override
    {
        return SetupComm(handle, input, output);
    }

    bool purge(Handle handle, Dword flags) override { return PurgeComm(handle, flags); }

    bool queues(Handle handle, Dword &input, Dword &output) override
    {
        COMSTAT status{};
        DWORD errors = 0;
        if (!ClearCommError(handle, &errors, &status))
            return false;
        input = status.cbInQue;
        output = status.cbOutQue;
        return true;
    }

    void close(Handle handle) override { CloseHandle(handle); }

    Dword lastError() override { return GetLastError(); }

    QString errorText(Dword error) override
    {
        wchar_t *text = nullptr;
        const DWORD n =
            FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                               | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
        QString message = n ? QString::fromWCharArray(text, int(n)).trimmed()
                            : QStringLiteral("Windows error %1").arg(error);
        if (text)
            LocalFree(text);
        return message;
    }

    std::unique_ptr<CommOperation> newOperation(Dword capacity) override
    {
        return std::make_unique<Win32Operation>(capacity);
    }

    bool read(Handle handle, CommOperation &operation, Dword size) override
    {
        Win32Operation &op = Of(operation);
        ResetEvent(op.overlapped.hEvent);
        return ReadFile(handle, op.data(), size, nullptr, &op.overlapped)
               || GetLastError() == ERROR_IO_PENDING;
    }

    bool write(Handle handle, CommOperation &operation, Dword size) override
    {
        Win32Operation &op = Of(operation);
        ResetEvent(op.overlapped.hEvent);
        return WriteFile(handle, op.data(), size, nullptr, &op.overlapped)
               || GetLastError() == ERROR_IO_PENDING;
    }

    bool wait(CommOperation &operation, Dword ms) override
    {
        return WaitForSingleObject(Of(operation).overlapped.hEvent, ms) == WAIT_OBJECT_0;
    }

    bool result(Handle handle, CommOperation &operation, Dword &bytes) override
    {
        DWORD n = 0;
        const bool ok = GetOverlappedResult(handle, &Of(operation).overlapped, &n, FALSE);
        bytes = n;
        return ok;
    }

    void cancel(Handle handle, CommOperation &operation) override
    {
        CancelIoEx(handle, &Of(operation).overlapped);
    }

    void notify(CommOperation &operation, std::function<void()> ended) override
    {
        auto found = watches_.find(&operation);
        if (!ended) {
            if (found != watches_.end()) {
                found->second.notifier->setEnabled(false);
                // Not deleted at once: this may run inside its own signal.
                found->second.notifier->deleteLater();
                watches_.erase(found);
            }
            return;
        }
        if (found == watches_.end()) {
            auto *notifier = new QWinEventNotifier(Of(operation).overlapped.hEvent);
            found = watches_.emplace(&operation, Watch{notifier, {}}).first;
            CommOperation *key = &operation;
            QObject::connect(notifier, &QWinEventNotifier::activated, notifier,
                             [this, key, alive = alive_] {
                                 if (!*alive)
                                     return;
                                 const auto watch = watches_.find(key);
                                 if (watch == watches_.end())
                                     return;
                                 // Once: the event stays set until the next operation.
                                 watch->second.notifier->setEnabled(false);
                                 // A copy: the call may replace it.
                                 const std::function<void()> call = watch->second.ended;
                                 call();
                             });
        }
        found->second.ended = std::move(ended);
        found->second.notifier->setEnabled(true);
    }

    void pause(Dword ms) override { Sleep(ms); }

    void startTimer(Dword ms, std::function<void()> fired) override
    {
        timer_.disconnect();
        QObject::connect(&timer_, &QTimer::timeout, &timer_, std::move(fired));
        timer_.start(int(ms));
    }

    void stopTimer() override { timer_.stop(); }

private:
    struct Watch {
        QWinEventNotifier *notifier;
        std::function<void()> ended;
    };
    std::map<CommOperation *, Watch> watches_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    QTimer timer_;
};

} // namespace

std::unique_ptr<WinCommApi> MakeWin32CommApi() { return std::make_unique<Win32CommApi>(); }
