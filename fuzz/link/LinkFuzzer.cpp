// The radio link against any course of events: a simulated radio (with
// faults chosen by the input) whose answers arrive in any chunking, bytes
// lost or injected, timers expiring in any order, the port failing or
// vanishing, start and close pressed at any moment, and events arriving
// while a message box is up. After every event: no busy link without a
// timer that will end it, a retry wait always has its delay running, the
// port is closed at rest; the task's case checks every frame and every
// end. Where the input says so, time then runs on until the link rests.
#include "LinkFuzzCase.h"
#include "LinkIo.h"

#include <deque>

namespace {

constexpr int RunOnEvents = 40000;

class FuzzLine : public LinkIo, public LinkView {
public:
    FuzzLine(FuzzInput &input, LinkFuzzCase &task, const SimFaults &faults)
        : input_(input),
          task_(task),
          radio_(task.radioMemory(), faults),
          link_(task.exchange(), *this, *this)
    { }

    void run(bool runOn)
    {
        task_.opened(link_);
        check();
        while (!input_.empty() && !windowGone_)
            step(input_.byte(), false);
        if (runOn && !windowGone_)
            runUntilRest();
    }

    // LinkIo
    PortOpenResult openPort(bool) override
    {
        if (deviceGone_)
            return {false, QStringLiteral("/dev/fuzz"), QStringLiteral("No such file or directory"),
                    false, true};
        portOpen_ = true;
        return {true, QStringLiteral("/dev/fuzz"), {}};
    }
    void closePort() override
    {
        if (portOpen_)
            task_.portClosed();
        portOpen_ = false;
        onWire_.clear(); // what was on the way is lost with the line
    }
    bool isPortOpen() const override { return portOpen_; }
    void write(const QByteArray &bytes) override
    {
        FUZZ_CHECK(portOpen_, "written to a closed port");
        if (bytes == RadioLink::Handshake())
            attempt_.clear();
        attempt_.push_back({true, bytes});
        task_.checkWrite(attempt_);
        for (char byte : bytes) {
            const bool wasHungUp = radio_.hungUp();
            if (const auto reply = radio_.feed(uint8_t(byte), qint64(now_))) {
                for (char b : reply->bytes + reply->afterPause)
                    onWire_.push_back({b, false});
                if (reply->hangUpAfter)
                    onWire_.push_back({0, true});
            }
            if (!wasHungUp && radio_.hungUp() && (onWire_.empty() || !onWire_.back().hangUp))
                onWire_.push_back({0, true});
        }
    }
    void discardInput() override { }
    void startTimer(int timer, int milliseconds) override
    {
        timers_[timer] = {true, milliseconds, now_ + milliseconds};
    }
    void stopTimer(int timer) override { timers_[timer].running = false; }

    // LinkView
    void showMessage(const PromptMessage &) override
    {
        // A message box is modal, but its event loop still delivers the
        // port's bytes and the timers.
        if (inMessage_)
            return;
        inMessage_ = true;
        for (int n = input_.range(0, 3); n > 0 && !input_.empty(); --n)
            step(input_.byte(), true);
        inMessage_ = false;
    }
    void setProgress(int percent) override
    {
        FUZZ_CHECK(percent >= 0 && percent <= 100, "progress outside 0..100");
    }
    void setStatus(const BilingualText &) override { }
    void closeWindow() override { windowGone_ = true; }
    void transferEnded(bool completed) override { task_.transferEnded(completed, attempt_); }

private:
    struct OnWire {
        char byte;
        bool hangUp;
    };
    struct Timer {
        bool running = false;
        int interval = 0;
        double due = 0;
    };

    void step(uint8_t op, bool inMessage)
    {
        switch (op % 14) {
        case 0:
            deliver(input_.range(1, 40));
            break;
        case 1:
            deliver(int(onWire_.size()));
            break;
        case 2:
            while (!onWire_.empty() && !windowGone_)
                deliver(1);
            break;
        case 3:
            arrive(input_.bytes(input_.range(1, 32)));
            break;
        case 4:
            for (int n = input_.range(1, 40); n > 0 && !onWire_.empty() && !onWire_.front().hangUp;
                 --n)
                onWire_.pop_front();
            break;
        case 5:
            fireNext();
            break;
        case 6:
            fire(input_.range(0, TimerCount + 1));
            break;
        case 7:
            portFails(false);
            break;
        case 8:
            portFails(true);
            break;
        case 9:
            deviceGone_ = false;
            break;
        case 10:
            if (!inMessage)
                link_.startPressed();
            break;
        case 11:
            if (!inMessage && link_.closeRequested())
                windowGone_ = true;
            break;
        case 12:
            if (!inMessage)
                task_.userAction(input_, link_);
            break;
        default: // time passes: whatever is on the way arrives
            deliver(int(onWire_.size()));
            break;
        }
        check();
    }

    // The next count bytes on the way arrive as one batch; a hang-up on the
    // way arrives in its turn.
    void deliver(int count)
    {
        if (!onWire_.empty() && onWire_.front().hangUp) {
            onWire_.pop_front();
            portFails(true);
            return;
        }
        QByteArray batch;
        while (count-- > 0 && !onWire_.empty() && !onWire_.front().hangUp) {
            batch.append(onWire_.front().byte);
            onWire_.pop_front();
        }
        arrive(batch);
    }
    void arrive(const QByteArray &batch)
    {
        if (batch.isEmpty() || !portOpen_)
            return; // a closed port hears nothing
        attempt_.push_back({false, batch});
        link_.bytesArrived(batch);
    }

    void fire(int timer)
    {
        if (timer >= 1 && timer <= TimerCount && timers_[timer].running) {
            now_ = std::max(now_, timers_[timer].due);
            timers_[timer].due = now_ + timers_[timer].interval;
        }
        // A timer that is not running must do nothing.
        link_.timerExpired(timer);
    }
    // The timer due first, as time passing would fire it.
    bool fireNext()
    {
        int next = 0;
        for (int t = 1; t <= TimerCount; ++t)
            if (timers_[t].running && (next == 0 || timers_[t].due < timers_[next].due))
                next = t;
        if (next == 0)
            return false;
        fire(next);
        return true;
    }

    // The line goes down; a vanished device cannot be opened again.
    void portFails(bool deviceGone)
    {
        deviceGone_ = deviceGone_ || deviceGone;
        if (!portOpen_)
            return; // the adapter reports only a failure of an open port
        closePort();
        link_.portFailed();
    }

    // Time runs on with no user: the link must come to rest.
    void runUntilRest()
    {
        for (int events = 0; events < RunOnEvents && !windowGone_; ++events) {
            if (task_.atRest(link_) && !link_.done())
                return;
            if (!onWire_.empty() && portOpen_)
                deliver(int(onWire_.size()));
            else if (!fireNext())
                break;
            check();
        }
        FUZZ_CHECK(windowGone_ || task_.atRest(link_), "the link did not come to rest");
    }

    void check()
    {
        if (windowGone_)
            return;
        for (int t = 1; t <= TimerCount; ++t)
            FUZZ_CHECK(link_.timerRunning(t) == timers_[t].running,
                       "the link's timers are not what it asked for");
        if (link_.busy())
            FUZZ_CHECK(timers_[SendTrigger].running || timers_[ReplyTimeout].running,
                       "busy with no timer to end it");
        if (link_.state() == RadioLink::State::RetryWait)
            FUZZ_CHECK(timers_[RetryDelay].running,
                       "waiting for a retry with no retry delay running");
        if (!link_.busy() && !task_.mayHoldPortAtRest(link_))
            FUZZ_CHECK(!portOpen_, "the port is open while no transfer is busy");
    }

    FuzzInput &input_;
    LinkFuzzCase &task_;
    RadioSimCore radio_;
    RadioLink link_;
    std::deque<OnWire> onWire_;
    LineLog attempt_;
    Timer timers_[TimerCount + 1];
    double now_ = 0;
    bool portOpen_ = false;
    bool deviceGone_ = false;
    bool windowGone_ = false;
    bool inMessage_ = false;
};

// The radio's faults, from the input's start.
SimFaults ChooseFaults(FuzzInput &input)
{
    SimFaults faults;
    const int which = input.byte() | input.byte() << 8;
    auto block = [&](int bit) { return which & (1 << bit) ? input.range(0, 255) : -1; };
    faults.silent = which & 1 && which & 2; // rarely: it ends everything early
    faults.wrongIdent = which & 4 && which & 8;
    faults.identOffset = input.range(0, 4);
    faults.identLength = std::max(faults.identOffset + 8, input.range(8, 24));
    faults.strayAfterIdent = which & 16 ? input.range(1, 30) : 0;
    faults.noReplyBlock = block(5);
    faults.shortReplyBlock = block(6);
    faults.strayBlock = block(7);
    faults.strayCount = input.range(1, 30);
    faults.nakBlock = block(8);
    faults.noAckBlock = block(9);
    faults.hangUpBlock = block(10);
    faults.hangUpAfterBlock = block(11);
    return faults;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const auto &cases = LinkFuzzCases();
    const int pick = input.byte();
    const bool runOn = pick & 0x80;
    // An entry's inputs keep their meaning when entries are added.
    const size_t entry = size_t(pick & 0x7F) < cases.size() ? size_t(pick & 0x7F)
                                                            : size_t(pick & 0x7F) % cases.size();
    const std::unique_ptr<LinkFuzzCase> task = cases[entry].make(input);
    const SimFaults faults = ChooseFaults(input);
    FuzzLine line(input, *task, faults);
    line.run(runOn);
    return 0;
}
