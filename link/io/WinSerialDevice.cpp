#include "WinSerialDevice.h"

#include "LinkIo.h"
#include "PortIdentity.h"

#include <QPointer>
#include <algorithm>
#include <cstring>

using namespace WinComm;

namespace {

// Sized for a reply of the radio many times over; a read that fills it is
// followed by another.
constexpr Dword ReadChunk = 1024;
constexpr Dword WriteChunk = 1024;
// Rounds of reads of what has arrived before the bytes are handed on.
constexpr int ArrivedRounds = 16;

std::vector<std::unique_ptr<CommOperation>> &Graveyard()
{
    // Never freed: a driver may write these until the process ends.
    static auto *parked = new std::vector<std::unique_ptr<CommOperation>>;
    return *parked;
}

} // namespace

void ParkOperation(std::unique_ptr<CommOperation> operation)
{
    if (operation)
        Graveyard().push_back(std::move(operation));
}

std::size_t ParkedOperations() { return Graveyard().size(); }

Timeouts WinSerialDevice::waitingTimeouts()
{
    // No read time-outs: the one-byte read ends with its byte. A write ends
    // within 1 s and 2 ms a byte even where the driver would hold it.
    return {0, 0, 0, 2, 1000};
}

Timeouts WinSerialDevice::arrivedTimeouts()
{
    // ReadFile returns at once with what has arrived, possibly nothing.
    return {MaxDword, 0, 0, 2, 1000};
}

WinSerialDevice::WinSerialDevice(std::unique_ptr<WinCommApi> api, QObject *parent)
    : SerialDevice(parent), api_(std::move(api)), handle_(WinCommApi::noHandle())
{ }

WinSerialDevice::~WinSerialDevice()
{
    shutDown();
    for (Operation *op : {&waitOp_, &readOp_, &writeOp_})
        if (*op)
            api_->notify(**op, {});
}

Dword WinSerialDevice::writeLimit(Dword bytes) const
{
    return limits_.writeBase + limits_.writePerByte * bytes;
}

bool WinSerialDevice::open(const QString &device, bool discardOutput, PortOpenResult &result)
{
    shutDown();
    const QString path = WindowsDevicePath(device);
    if (path.isEmpty()) {
        // "COM5:" or a path: no port has such a name.
        result.notFound = true;
        result.reason = api_->errorText(InvalidName);
        return false;
    }
    Dword error = 0;
    const WinCommApi::Handle h = api_->open(path, error);
    if (h == WinCommApi::noHandle()) {
        result.reason = api_->errorText(error);
        if (error == FileNotFound || error == PathNotFound || error == BadUnit
            || error == DeviceNotExist || error == InvalidName)
            result.notFound = true;
        // Windows refuses a port that another program has open with
        // "access denied"; ordinary users may open every COM port.
        else if (error == AccessDenied || error == SharingViolation)
            result.inUse = true;
        return false;
    }
    if (!api_->setLine(h) || !api_->setTimeouts(h, waitingTimeouts())) {
        // The device is there but refuses to be a serial line at 9600 8N1.
        result.reason = api_->errorText(api_->lastError());
        api_->close(h);
        return false;
    }
    api_->setQueues(h, 1024, 1024);
    api_->purge(h, RxClear | RxAbort | (discardOutput ? TxClear | TxAbort : Dword(0)));
    handle_ = h;
    ++openings_;
    if (!startWaiting()) {
        // The line fails at once: an opening that failed, not a line lost.
        result.reason = api_->errorText(api_->lastError());
        shutDown();
        return false;
    }
    return true;
}

bool WinSerialDevice::isOpen() const { return handle_ != WinCommApi::noHandle(); }

bool WinSerialDevice::startWaiting()
{
    if (!waitOp_)
        waitOp_ = api_->newOperation(1);
    dropFirst_ = false;
    if (!api_->read(handle_, *waitOp_, 1))
        return false;
    waiting_ = true;
    api_->notify(*waitOp_, [this] { waitEnded(); });
    return true;
}

void WinSerialDevice::waitEnded()
{
    if (!waiting_ || !isOpen())
        return;
    Dword n = 0;
    if (!api_->result(handle_, *waitOp_, n)) {
        if (api_->lastError() == IoIncomplete) { // not ended after all: watch on
            api_->notify(*waitOp_, [this] { waitEnded(); });
            return;
        }
        waiting_ = false;
        lose();
        return;
    }
    waiting_ = false;
    // Without read time-outs a read ends empty only when the line is gone.
    if (n == 0) {
        lose();
        return;
    }
    QByteArray bytes;
    if (!dropFirst_)
        bytes += waitOp_->data()[0];
    if (!takeArrived(bytes))
        return;
    if (!bytes.isEmpty()) {
        // The receiver may close the port, even delete it, while it takes them.
        const QPointer<WinSerialDevice> alive(this);
        const int opening = openings_;
        emit bytesArrived(bytes);
        if (!alive || !isOpen() || openings_ != opening)
            return;
    }
    if (!startWaiting())
        lose();
}

// Reads what has arrived after the first byte; false when the line has
// gone (then reported lost).
bool WinSerialDevice::takeArrived(QByteArray &bytes)
{
    if (!api_->setTimeouts(handle_, arrivedTimeouts())) {
        lose();
        return false;
    }
    for (int round = 0; round < ArrivedRounds; ++round) {
        // Whether anything waits, not how much: the read below takes what
        // is there, whatever the count says. (Wine holds a read asked to
        // return at once until a byte comes when nothing is there.)
        Dword waiting = 0, output = 0;
        if (!api_->queues(handle_, waiting, output)) {
            lose();
            return false;
        }
        if (waiting == 0)
            break;
        if (!readOp_)
            readOp_ = api_->newOperation(ReadChunk);
        Dword n = 0;
        if (!api_->read(handle_, *readOp_, readOp_->capacity())) {
            lose();
            return false;
        }
        // Asked to return at once; a driver that holds it anyway has failed.
        if (!api_->wait(*readOp_, limits_.followUp)) {
            end(readOp_);
            lose();
            return false;
        }
        if (!api_->result(handle_, *readOp_, n)) {
            lose();
            return false;
        }
        bytes.append(readOp_->data(), qsizetype(n));
        if (n < readOp_->capacity())
            break;
    }
    if (!api_->setTimeouts(handle_, waitingTimeouts())) {
        lose();
        return false;
    }
    return true;
}

void WinSerialDevice::write(const QByteArray &bytes)
{
    if (!isOpen())
        return;
    queued_ += bytes;
    if (!writing_)
        startWrite();
}

void WinSerialDevice::startWrite()
{
    if (queued_.isEmpty() || !isOpen())
        return;
    if (!writeOp_)
        writeOp_ = api_->newOperation(WriteChunk);
    const Dword n = std::min<Dword>(Dword(queued_.size()), writeOp_->capacity());
    std::memcpy(writeOp_->data(), queued_.constData(), n);
    queued_.remove(0, qsizetype(n));
    if (!api_->write(handle_, *writeOp_, n)) {
        lose();
        return;
    }
    writing_ = true;
    writeSize_ = n;
    api_->notify(*writeOp_, [this] { writeEnded(); });
    api_->startTimer(writeLimit(n), [this] { writeTimedOut(); });
}

void WinSerialDevice::writeEnded()
{
    if (!writing_ || !isOpen())
        return;
    Dword n = 0;
    if (!api_->result(handle_, *writeOp_, n)) {
        if (api_->lastError() == IoIncomplete) {
            api_->notify(*writeOp_, [this] { writeEnded(); });
            return;
        }
        writing_ = false;
        lose();
        return;
    }
    writing_ = false;
    api_->stopTimer();
    // Ended short: the driver's own write time-out; the line is stuck.
    if (n < writeSize_) {
        lose();
        return;
    }
    startWrite();
}

void WinSerialDevice::writeTimedOut()
{
    if (!writing_ || !isOpen())
        return;
    writing_ = false;
    api_->notify(*writeOp_, {});
    end(writeOp_);
    lose();
}

// Cancels the operation and waits for it within the limit; one that does
// not end is parked (the driver may still write it) and a new one will be
// made. Whether it ended.
bool WinSerialDevice::end(Operation &operation)
{
    api_->cancel(handle_, *operation);
    if (api_->wait(*operation, limits_.cancel))
        return true;
    api_->notify(*operation, {});
    ParkOperation(std::move(operation));
    return false;
}

void WinSerialDevice::close()
{
    if (!isOpen())
        return;
    // The last acknowledge or end byte must leave before the port goes:
    // what is in flight and what is queued, each within its limit.
    api_->stopTimer();
    if (writing_) {
        writing_ = false;
        api_->notify(*writeOp_, {});
        if (!api_->wait(*writeOp_, writeLimit(writeSize_))) {
            end(writeOp_);
            queued_.clear();
        }
    }
    while (!queued_.isEmpty() && writeOp_) {
        const Dword n = std::min<Dword>(Dword(queued_.size()), writeOp_->capacity());
        std::memcpy(writeOp_->data(), queued_.constData(), n);
        queued_.remove(0, qsizetype(n));
        if (!api_->write(handle_, *writeOp_, n))
            break;
        if (!api_->wait(*writeOp_, writeLimit(n))) {
            end(writeOp_);
            break;
        }
    }
    drain();
    shutDown();
}

// Waits, within its limit, until the driver has sent what it holds.
void WinSerialDevice::drain()
{
    for (Dword waited = 0; waited < limits_.drain; waited += limits_.drainPoll) {
        Dword input = 0, output = 0;
        if (!api_->queues(handle_, input, output) || output == 0)
            return;
        api_->pause(limits_.drainPoll);
    }
}

// Ends what runs (each within its limit) and closes the handle.
void WinSerialDevice::shutDown()
{
    queued_.clear();
    api_->stopTimer();
    if (!isOpen())
        return;
    if (waiting_) {
        waiting_ = false;
        api_->notify(*waitOp_, {});
        end(waitOp_);
    }
    if (writing_) {
        writing_ = false;
        api_->notify(*writeOp_, {});
        end(writeOp_);
    }
    api_->close(handle_);
    handle_ = WinCommApi::noHandle();
}

void WinSerialDevice::lose()
{
    shutDown();
    emit lost();
}

void WinSerialDevice::discardInput()
{
    if (!isOpen())
        return;
    api_->purge(handle_, RxClear);
    // A byte the waiting read has taken but not handed on goes too.
    if (waiting_ && api_->wait(*waitOp_, 0))
        dropFirst_ = true;
}
