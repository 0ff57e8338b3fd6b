// A serial driver in virtual time, below the Windows serial adapter's
// calls (WinCommApi): bytes arrive when a test says so, time passes only
// in waits, pauses and advance(), notifications come when the test runs
// the event loop (deliver). It can misbehave as real drivers do: cancels
// that never end, reads that ignore "return at once", a queue count too
// high, an output queue that never empties, a first read that fails, a
// cable pulled. It counts operations freed while still running (memory
// the driver could still write).
#pragma once

#include "WinCommApi.h"

#include <QByteArray>
#include <algorithm>
#include <cstring>
#include <deque>
#include <vector>

class FakeDriver;

class FakeOperation : public CommOperation {
public:
    enum class State { Idle, Running, Ended };
    FakeOperation(FakeDriver &driver, std::size_t capacity)
        : CommOperation(capacity), driver_(driver)
    { }
    ~FakeOperation() override;

    State state = State::Idle;
    bool reading = false;
    WinComm::Dword size = 0;
    WinComm::Dword bytes = 0;
    WinComm::Dword error = 0;
    std::function<void()> ended;

private:
    FakeDriver &driver_;
};

class FakeDriver {
public:
    using Dword = WinComm::Dword;

    // How the driver behaves.
    Dword openError = 0; // CreateFile fails with it
    bool cancelEnds = true; // a cancelled operation ends
    bool immediateReadsWait = false; // "return at once" is ignored
    // As Wine: "return at once" with nothing there waits for the next byte.
    bool emptyImmediateReadsWait = false;
    bool writesEnd = true; // a write ends as soon as it starts
    bool outputStalls = false; // the output queue never empties
    Dword queueOverReport = 0; // the count of waiting bytes is this much too high
    Dword failFirstRead = 0; // the first read fails at once with it

    // What happened.
    Dword now = 0; // virtual milliseconds
    QByteArray line; // arrived, not yet read
    QByteArray sent; // what the adapter wrote
    QString openedPath;
    bool open = false;
    bool pulled = false;
    WinComm::Timeouts timeouts;
    int reads = 0;
    int cancels = 0;
    int freedWhileRunning = 0;
    std::vector<FakeOperation *> operations; // alive

    // Bytes come in: a read waiting for them ends.
    void arrive(const QByteArray &bytes)
    {
        line += bytes;
        for (FakeOperation *op : operations)
            if (op->state == FakeOperation::State::Running && op->reading
                && !(waitsAtOnce() && immediateReadsWait))
                fillRead(*op);
    }
    // The cable is pulled: what runs ends with an error, every call fails.
    void pull()
    {
        pulled = true;
        for (FakeOperation *op : operations)
            if (op->state == FakeOperation::State::Running)
                end(*op, 0, WinComm::GenFailure);
    }
    // The write that runs ends, having sent n of its bytes (all of them by default).
    void endWrite(int n = -1)
    {
        for (FakeOperation *op : operations)
            if (op->state == FakeOperation::State::Running && !op->reading) {
                const Dword count = n < 0 ? op->size : Dword(n);
                sent.append(op->data(), qsizetype(count));
                end(*op, count, 0);
            }
    }
    // A parked operation the driver ends at last: it writes the buffer.
    void endLate(FakeOperation &op)
    {
        std::memset(op.data(), 0x5a, op.capacity());
        op.state = FakeOperation::State::Ended;
        op.error = WinComm::OperationAborted;
    }
    // The event loop: notifications of the operations that have ended.
    void deliver()
    {
        while (!notifications.empty()) {
            FakeOperation *op = notifications.front();
            notifications.pop_front();
            const std::function<void()> call = op->ended;
            if (call)
                call();
        }
    }
    // Time passes; the timer fires when due.
    void advance(Dword ms)
    {
        now += ms;
        if (timer && now >= timerAt) {
            const std::function<void()> call = std::move(timer);
            timer = {};
            call();
        }
        deliver();
    }
    bool timerRunning() const { return bool(timer); }
    FakeOperation *running(bool reading) const
    {
        for (FakeOperation *op : operations)
            if (op->state == FakeOperation::State::Running && op->reading == reading)
                return op;
        return nullptr;
    }

    // Below: what FakeCommApi calls.
    bool waitsAtOnce() const
    {
        return timeouts.readInterval == WinComm::MaxDword && timeouts.readTotalMultiplier == 0
               && timeouts.readTotalConstant == 0;
    }
    void fillRead(FakeOperation &op)
    {
        const Dword n = std::min<Dword>(op.size, Dword(line.size()));
        if (n < op.size && !waitsAtOnce())
            return;
        std::memcpy(op.data(), line.constData(), n);
        line.remove(0, qsizetype(n));
        end(op, n, 0);
    }
    void end(FakeOperation &op, Dword bytes, Dword error)
    {
        op.state = FakeOperation::State::Ended;
        op.bytes = bytes;
        op.error = error;
        if (op.ended)
            notifications.push_back(&op);
    }
    void forget(FakeOperation *op)
    {
        if (op->state == FakeOperation::State::Running)
            ++freedWhileRunning;
        operations.erase(std::remove(operations.begin(), operations.end(), op), operations.end());
        notifications.erase(std::remove(notifications.begin(), notifications.end(), op),
                            notifications.end());
    }

    std::deque<FakeOperation *> notifications;
    std::function<void()> timer;
    Dword timerAt = 0;
    Dword error = 0;
};

inline FakeOperation::~FakeOperation() { driver_.forget(this); }

class FakeCommApi : public WinCommApi {
public:
    explicit FakeCommApi(FakeDriver &driver) : d(driver) { }

    Handle open(const QString &path, Dword &error) override
    {
        d.openedPath = path;
        if (d.openError || d.pulled) {
            error = d.openError ? d.openError : WinComm::FileNotFound;
            return noHandle();
        }
        d.open = true;
        return &d;
    }
    bool setLine(Handle) override { return ok(); }
    bool setTimeouts(Handle, const WinComm::Timeouts &timeouts) override
    {
        d.timeouts = timeouts;
        return ok();
    }
    bool setQueues(Handle, Dword, Dword) override { return ok(); }
    bool purge(Handle, Dword flags) override
    {
        if (flags & WinComm::RxClear)
            d.line.clear();
        return ok();
    }
    bool queues(Handle, Dword &input, Dword &output) override
    {
        input = Dword(d.line.size()) + d.queueOverReport;
        output = d.outputStalls ? 5 : 0;
        return ok();
    }
    void close(Handle) override { d.open = false; }
    Dword lastError() override { return d.error; }
    QString errorText(Dword error) override { return QStringLiteral("error %1").arg(error); }

    std::unique_ptr<CommOperation> newOperation(Dword capacity) override
    {
        auto op = std::make_unique<FakeOperation>(d, capacity);
        d.operations.push_back(op.get());
        return op;
    }
    bool read(Handle, CommOperation &operation, Dword size) override
    {
        auto &op = static_cast<FakeOperation &>(operation);
        ++d.reads;
        if (d.failFirstRead && d.reads == 1)
            return fail(d.failFirstRead);
        if (!ok())
            return false;
        start(op, true, size);
        const bool held =
            d.waitsAtOnce()
            && (d.immediateReadsWait || (d.emptyImmediateReadsWait && d.line.isEmpty()));
        if (!held)
            d.fillRead(op);
        return true;
    }
    bool write(Handle, CommOperation &operation, Dword size) override
    {
        auto &op = static_cast<FakeOperation &>(operation);
        if (!ok())
            return false;
        start(op, false, size);
        if (d.writesEnd) {
            d.sent.append(op.data(), qsizetype(size));
            d.end(op, size, 0);
        }
        return true;
    }
    bool wait(CommOperation &operation, Dword ms) override
    {
        if (static_cast<FakeOperation &>(operation).state == FakeOperation::State::Ended)
            return true;
        d.now += ms;
        return false;
    }
    bool result(Handle, CommOperation &operation, Dword &bytes) override
    {
        auto &op = static_cast<FakeOperation &>(operation);
        if (op.state != FakeOperation::State::Ended)
            return fail(WinComm::IoIncomplete);
        bytes = op.bytes;
        return op.error == 0 || fail(op.error);
    }
    void cancel(Handle, CommOperation &operation) override
    {
        auto &op = static_cast<FakeOperation &>(operation);
        ++d.cancels;
        if (op.state == FakeOperation::State::Running && d.cancelEnds)
            d.end(op, 0, WinComm::OperationAborted);
    }
    void notify(CommOperation &operation, std::function<void()> ended) override
    {
        auto &op = static_cast<FakeOperation &>(operation);
        op.ended = std::move(ended);
        d.notifications.erase(std::remove(d.notifications.begin(), d.notifications.end(), &op),
                              d.notifications.end());
        // The event is set: the notifier fires as soon as it watches.
        if (op.ended && op.state == FakeOperation::State::Ended)
            d.notifications.push_back(&op);
    }
    void pause(Dword ms) override { d.now += ms; }
    void startTimer(Dword ms, std::function<void()> fired) override
    {
        d.timer = std::move(fired);
        d.timerAt = d.now + ms;
    }
    void stopTimer() override { d.timer = {}; }

private:
    bool ok() { return !d.pulled || fail(WinComm::GenFailure); }
    bool fail(Dword error)
    {
        d.error = error;
        return false;
    }
    void start(FakeOperation &op, bool reading, Dword size)
    {
        op.state = FakeOperation::State::Running;
        op.reading = reading;
        op.size = size;
        op.bytes = 0;
        op.error = 0;
    }

    FakeDriver &d;
};
