#include "WinSerialDevice.h"

#include "LinkIo.h"

#include <QPointer>
#include <QWinEventNotifier>
#include <qt_windows.h>

namespace {

QString SystemText(DWORD error)
{
    wchar_t *text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    QString message = n ? QString::fromWCharArray(text, int(n)).trimmed()
                        : QStringLiteral("Windows error %1").arg(error);
    if (text)
        LocalFree(text);
    return message;
}

// Waits for an overlapped operation to end, at most ms; false when it has
// not ended (then it is cancelled and waited for, as its buffer must stay
// until the system is done with it).
bool Finish(HANDLE handle, OVERLAPPED &overlapped, DWORD ms, DWORD *bytes = nullptr)
{
    DWORD n = 0;
    if (WaitForSingleObject(overlapped.hEvent, ms) != WAIT_OBJECT_0) {
        CancelIo(handle);
        GetOverlappedResult(handle, &overlapped, &n, TRUE);
        return false;
    }
    const bool ok = GetOverlappedResult(handle, &overlapped, &n, FALSE);
    if (bytes)
        *bytes = n;
    return ok;
}

} // namespace

struct WinSerialDevice::Line {
    HANDLE handle = INVALID_HANDLE_VALUE;
    // One overlapped operation each: the read of the next byte, the read
    // of what follows it, a write. Manual-reset events, as the system
    // expects.
    OVERLAPPED waitOv{}, readOv{}, writeOv{};
    char first = 0; // the buffer of the read that waits for a byte
    bool waiting = false, writing = false;
    bool dropFirst = false; // the byte waiting arrived before a discard
    int openings = 0; // tells a port opened again from the one a read began on
    QByteArray queued; // to be written once the write in flight is done
    QByteArray inFlight; // the buffer of the write in flight
    QWinEventNotifier *waitNotifier = nullptr, *writeNotifier = nullptr;

    Line()
    {
        for (OVERLAPPED *ov : {&waitOv, &readOv, &writeOv})
            ov->hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    ~Line()
    {
        for (OVERLAPPED *ov : {&waitOv, &readOv, &writeOv})
            CloseHandle(ov->hEvent);
    }
};

WinSerialDevice::WinSerialDevice(QObject *parent)
    : SerialDevice(parent), line_(std::make_unique<Line>())
{
    line_->waitNotifier = new QWinEventNotifier(line_->waitOv.hEvent, this);
    line_->waitNotifier->setEnabled(false);
    connect(line_->waitNotifier, &QWinEventNotifier::activated, this, &WinSerialDevice::lineEvent);
    line_->writeNotifier = new QWinEventNotifier(line_->writeOv.hEvent, this);
    line_->writeNotifier->setEnabled(false);
    connect(line_->writeNotifier, &QWinEventNotifier::activated, this, &WinSerialDevice::writeDone);
}

WinSerialDevice::~WinSerialDevice() { release(); }

bool WinSerialDevice::open(const QString &device, bool discardOutput, PortOpenResult &result)
{
    release();
    // COM10 and above are reachable only by the device path; it serves
    // COM1..COM9 as well.
    const QString path =
        device.startsWith(QLatin1String("\\\\.\\")) ? device : QStringLiteral("\\\\.\\") + device;
    HANDLE h =
        CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), GENERIC_READ | GENERIC_WRITE,
                    0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        result.reason = SystemText(error);
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
            || error == ERROR_BAD_UNIT || error == ERROR_DEV_NOT_EXIST)
            result.notFound = true;
        // Windows refuses a port that another program has open with
        // "access denied"; ordinary users may open every COM port.
        else if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION)
            result.inUse = true;
        return false;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    bool ok = GetCommState(h, &dcb);
    if (ok) {
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
        ok = SetCommState(h, &dcb);
    }
    // No read time-outs: a read ends when its bytes are there (the read
    // of what follows a byte asks only for what has arrived).
    COMMTIMEOUTS timeouts{0, 0, 0, 0, 0};
    ok = ok && SetCommTimeouts(h, &timeouts);
    if (!ok) {
        // The device is there but refuses to be a serial line at 9600 8N1.
        result.reason = SystemText(GetLastError());
        CloseHandle(h);
        return false;
    }
    SetupComm(h, 1024, 1024);
    PurgeComm(h, PURGE_RXCLEAR | PURGE_RXABORT
                     | (discardOutput ? PURGE_TXCLEAR | PURGE_TXABORT : DWORD(0)));
    line_->handle = h;
    ++line_->openings;
    watch();
    return isOpen();
}

// Waits for the next byte: an overlapped read of one byte, which ends when
// one arrives. (A wait for the line's events, WaitCommEvent, would be the
// usual way, but under Wine it fails at once on a pseudo-terminal, which
// has no modem lines to report.)
void WinSerialDevice::watch()
{
    Line &l = *line_;
    if (l.handle == INVALID_HANDLE_VALUE)
        return;
    ResetEvent(l.waitOv.hEvent);
    l.dropFirst = false;
    if (!ReadFile(l.handle, &l.first, 1, nullptr, &l.waitOv)
        && GetLastError() != ERROR_IO_PENDING) {
        lose();
        return;
    }
    l.waiting = true;
    l.waitNotifier->setEnabled(true);
}

void WinSerialDevice::lineEvent()
{
    Line &l = *line_;
    l.waitNotifier->setEnabled(false);
    if (l.handle == INVALID_HANDLE_VALUE || !l.waiting)
        return;
    l.waiting = false;
    DWORD n = 0;
    // A read without time-outs ends with its byte or not at all; one that
    // ends empty found the line closed.
    if (!GetOverlappedResult(l.handle, &l.waitOv, &n, FALSE) || n == 0) {
        lose();
        return;
    }
    QByteArray bytes;
    if (!l.dropFirst)
        bytes += l.first;
    if (readWaiting(bytes))
        watch();
}

// Reads every byte the driver holds after those given and hands them all
// on; false when the line has gone or the port was closed meanwhile.
bool WinSerialDevice::readWaiting(QByteArray bytes)
{
    Line &l = *line_;
    for (;;) {
        COMSTAT status{};
        DWORD errors = 0;
        if (!ClearCommError(l.handle, &errors, &status)) {
            lose();
            return false;
        }
        if (status.cbInQue == 0)
            break;
        QByteArray chunk(int(qMin<DWORD>(status.cbInQue, 4096)), Qt::Uninitialized);
        ResetEvent(l.readOv.hEvent);
        DWORD got = 0;
        if (!ReadFile(l.handle, chunk.data(), DWORD(chunk.size()), &got, &l.readOv)) {
            if (GetLastError() != ERROR_IO_PENDING || !Finish(l.handle, l.readOv, 1000, &got)) {
                lose();
                return false;
            }
        } else {
            GetOverlappedResult(l.handle, &l.readOv, &got, FALSE);
        }
        if (got == 0)
            break;
        bytes.append(chunk.constData(), int(got));
    }
    if (!bytes.isEmpty()) {
        // The receiver may close the port, even delete it, while it takes them.
        const QPointer<WinSerialDevice> alive(this);
        const int opening = l.openings;
        emit bytesArrived(bytes);
        if (!alive || line_->handle == INVALID_HANDLE_VALUE || line_->openings != opening)
            return false;
    }
    return true;
}

void WinSerialDevice::write(const QByteArray &bytes)
{
    if (!isOpen())
        return;
    line_->queued += bytes;
    if (!line_->writing)
        startWrite();
}

void WinSerialDevice::startWrite()
{
    Line &l = *line_;
    if (l.queued.isEmpty())
        return;
    l.inFlight = l.queued;
    l.queued.clear();
    ResetEvent(l.writeOv.hEvent);
    if (!WriteFile(l.handle, l.inFlight.constData(), DWORD(l.inFlight.size()), nullptr, &l.writeOv)
        && GetLastError() != ERROR_IO_PENDING) {
        lose();
        return;
    }
    l.writing = true;
    l.writeNotifier->setEnabled(true);
}

void WinSerialDevice::writeDone()
{
    Line &l = *line_;
    l.writeNotifier->setEnabled(false);
    if (!l.writing || l.handle == INVALID_HANDLE_VALUE)
        return;
    l.writing = false;
    DWORD n = 0;
    if (!GetOverlappedResult(l.handle, &l.writeOv, &n, FALSE)) {
        lose();
        return;
    }
    startWrite();
}

void WinSerialDevice::close()
{
    Line &l = *line_;
    if (l.handle == INVALID_HANDLE_VALUE)
        return;
    // The last acknowledge or end byte must leave before the port goes.
    if (l.writing) {
        l.writing = false;
        l.writeNotifier->setEnabled(false);
        Finish(l.handle, l.writeOv, 2000);
    }
    if (!l.queued.isEmpty()) {
        l.inFlight = l.queued;
        l.queued.clear();
        ResetEvent(l.writeOv.hEvent);
        if (WriteFile(l.handle, l.inFlight.constData(), DWORD(l.inFlight.size()), nullptr,
                      &l.writeOv)
            || GetLastError() == ERROR_IO_PENDING)
            Finish(l.handle, l.writeOv, 2000);
    }
    FlushFileBuffers(l.handle);
    release();
}

void WinSerialDevice::release()
{
    Line &l = *line_;
    l.waitNotifier->setEnabled(false);
    l.writeNotifier->setEnabled(false);
    l.queued.clear();
    if (l.handle == INVALID_HANDLE_VALUE)
        return;
    // Ends the pending read (and any write) before their buffers go.
    CancelIo(l.handle);
    DWORD n = 0;
    if (l.waiting)
        GetOverlappedResult(l.handle, &l.waitOv, &n, TRUE);
    if (l.writing)
        GetOverlappedResult(l.handle, &l.writeOv, &n, TRUE);
    l.waiting = l.writing = false;
    CloseHandle(l.handle);
    l.handle = INVALID_HANDLE_VALUE;
}

void WinSerialDevice::lose()
{
    release();
    emit lost();
}

bool WinSerialDevice::isOpen() const { return line_->handle != INVALID_HANDLE_VALUE; }

void WinSerialDevice::discardInput()
{
    Line &l = *line_;
    if (!isOpen())
        return;
    PurgeComm(l.handle, PURGE_RXCLEAR);
    // A byte the waiting read has taken but not handed on is dropped too.
    if (l.waiting && WaitForSingleObject(l.waitOv.hEvent, 0) == WAIT_OBJECT_0)
        l.dropFirst = true;
}
