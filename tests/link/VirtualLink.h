// Drives a RadioLink with its exchange in virtual time: its timers, a port
// that records what is written, and optionally a simulated radio whose
// answers arrive byte by byte at the line's pace. Nothing sleeps; advance()
// jumps from event to event. After every event it checks that a busy
// transfer has a timer that will end it and that a port left open between
// frames is watched: without that, a window could never close again. Like
// the read window, it stores a completed read into RadioData (unless told
// not to); like the power window, it stores the levels the radio reports.
#pragma once

#include "ImageChanges.h"
#include "PowerExchange.h"
#include "RadioLink.h"
#include "RadioSimCore.h"
#include "ReadExchange.h"
#include "WriteExchange.h"
#include "WritePreparation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

template<class Exchange> class VirtualLink : public LinkIo, public LinkView {
public:
    template<class... Arguments>
    explicit VirtualLink(Arguments &&...arguments)
        : exchange(std::forward<Arguments>(arguments)...), engine(exchange, *this, *this)
    { }

    // Attaches a radio; paced = 9600 baud on the wire, otherwise instant.
    void attachRadio(const RadioMemory &memory, SimFaults faults = {}, bool paced = true)
    {
        radio = std::make_unique<RadioSimCore>(memory, faults);
        byteMs = paced ? 10000.0 / 9600.0 : 0.0;
    }

    // Bytes from the radio, arriving now (one notification each).
    void deliver(const QByteArray &bytes)
    {
        engine.bytesArrived(bytes);
        checkBusyHasAnEnd();
    }

    // The line goes down now, as a pulled cable or a closed pty does: the
    // port closes and reports it. A gone device cannot be opened again.
    void hangUp(bool deviceGone = false)
    {
        portOpen = false;
        this->deviceGone = this->deviceGone || deviceGone;
        engine.portFailed();
        checkBusyHasAnEnd();
    }

    void checkBusyHasAnEnd()
    {
        if (engine.busy() && !timers[SendTrigger].running && !timers[ReplyTimeout].running)
            ADD_FAILURE() << "busy with no timer to end it at " << now << " ms";
        if (!engine.busy() && portOpen && !timers[ClosePoll].running)
            ADD_FAILURE() << "port left open unwatched at " << now << " ms";
    }

    // Runs every event due within the next ms milliseconds.
    void advance(double ms)
    {
        runUntil([] { return false; }, ms);
    }
    // Runs events until done() holds or limitMs pass; true when it held.
    bool runUntil(const std::function<bool()> &done, double limitMs)
    {
        const double end = now + limitMs;
        checkBusyHasAnEnd();
        while (!done()) {
            double next = end;
            int timer = 0;
            for (int t = 1; t <= TimerCount; ++t)
                if (timers[t].running
                    && (timers[t].due < next || (timer == 0 && timers[t].due <= next)))
                    next = timers[t].due, timer = t;
            const bool arrival = !arrivals.empty() && arrivals.begin()->first.first <= next;
            if (arrival)
                next = arrivals.begin()->first.first;
            if (!arrival && timer == 0) {
                now = end;
                return false;
            }
            now = next;
            if (arrival) {
                const Arrival event = arrivals.begin()->second;
                arrivals.erase(arrivals.begin());
                if (event.hangUp)
                    hangUp(true);
                else if (portOpen)
                    engine.bytesArrived(event.bytes);
            } else {
                timers[timer].due = now + timers[timer].interval;
                engine.timerExpired(timer);
            }
            checkBusyHasAnEnd();
        }
        return true;
    }

    QByteArray allSent() const
    {
        QByteArray all;
        for (const auto &w : writes)
            all += w.bytes;
        return all;
    }
    int countSent(const QByteArray &frame) const
    {
        int n = 0;
        for (const auto &w : writes)
            n += w.bytes == frame;
        return n;
    }

    // LinkIo
    PortOpenResult openPort(bool discardOutput) override
    {
        ++opens;
        lastOpenDiscardedOutput = discardOutput;
        if (openFails)
            return failure;
        if (deviceGone)
            return {false, QStringLiteral("/dev/virtual"),
                    QStringLiteral("No such file or directory"), false};
        portOpen = true;
        return {true, QStringLiteral("/dev/virtual"), {}, false};
    }
    void closePort() override { portOpen = false; }
    bool isPortOpen() const override { return portOpen; }
    void write(const QByteArray &bytes) override
    {
        writes.push_back({now, bytes});
        if (!radio)
            return;
        // Each byte reaches the radio after its own wire time.
        for (int i = 0; i < bytes.size(); ++i) {
            const double at = now + (i + 1) * byteMs;
            const bool wasHungUp = radio->hungUp();
            const auto reply = radio->feed(uint8_t(bytes.at(i)), qint64(at));
            double hangUpAt = at;
            if (reply) {
                double t = std::max(at + 2 * (byteMs > 0), lineFree);
                auto send = [&](const QByteArray &part) {
                    for (char b : part) {
                        t += byteMs;
                        arrivals.emplace(std::make_pair(t, sequence++),
                                         Arrival{QByteArray(1, b), false});
                    }
                };
                send(reply->bytes);
                if (!reply->afterPause.isEmpty())
                    t += reply->afterPauseMs;
                send(reply->afterPause);
                lineFree = t;
                hangUpAt = t + PauseAfterReplyMs;
            }
            if (!wasHungUp && radio->hungUp())
                arrivals.emplace(std::make_pair(hangUpAt, sequence++), Arrival{{}, true});
        }
    }
    void discardInput() override { ++discards; }
    void startTimer(int timer, int ms) override { timers[timer] = {true, double(ms), now + ms}; }
    void stopTimer(int timer) override { timers[timer].running = false; }

    // LinkView
    void showMessage(const PromptMessage &message) override
    {
        messages.push_back({now, message});
        // A message box runs the event loop until it is answered.
        if (auto whileShown = std::exchange(underNextMessage, nullptr))
            whileShown();
    }
    void setProgress(int percent) override { progress.push_back(percent); }
    void setStatus(const BilingualText &text) override { statuses.push_back(text); }
    void closeWindow() override { closeTimes.push_back(now); }
    void portOpenTried(bool opened) override { portOpenings.push_back(opened); }
    void linked() override
    {
        ++linkedCount;
        if (onLinked)
            onLinked();
    }
    void transferEnded(bool completed) override
    {
        endings.push_back(completed);
        if constexpr (std::is_same_v<Exchange, ReadExchange>)
            if (completed && storeReadInImage)
                ImageChanges::instance().apply(
                    ChangeKind::CompletedRead,
                    [this](ImageTable &image) { StoreBlocks(exchange.blocks(), image); });
    }

    struct Write {
        double at;
        QByteArray bytes;
    };
    struct Shown {
        double at;
        PromptMessage message;
    };
    struct Arrival {
        QByteArray bytes;
        bool hangUp = false;
    };
    struct Timer {
        bool running = false;
        double interval = 0;
        double due = 0;
    };

    Exchange exchange;
    RadioLink engine;
    bool storeReadInImage = true;
    std::unique_ptr<RadioSimCore> radio;
    double byteMs = 0;
    double lineFree = 0;
    double now = 0;
    bool portOpen = false;
    bool openFails = false;
    bool deviceGone = false;
    bool lastOpenDiscardedOutput = false;
    PortOpenResult failure;
    int opens = 0;
    int discards = 0;
    Timer timers[TimerCount + 1];
    std::map<std::pair<double, int>, Arrival> arrivals;
    int sequence = 0;
    std::vector<Write> writes;
    std::vector<Shown> messages;
    std::vector<int> progress;
    std::vector<BilingualText> statuses;
    std::vector<double> closeTimes;
    std::vector<bool> endings;
    std::vector<bool> portOpenings;
    int linkedCount = 0;
    std::function<void()> onLinked;
    // Runs once, while the next message is shown.
    std::function<void()> underNextMessage;
};

using VirtualRead = VirtualLink<ReadExchange>;

// Prepares and sends RadioData as the write window does.
class VirtualWrite : public VirtualLink<WriteExchange> {
public:
    VirtualWrite() : VirtualLink<WriteExchange>(PrepareWriteBlocks) { }
};

// The power session as the power window runs it on RadioData: the levels
// the radio reports are stored as its sliders (starting at 0) load them.
class VirtualPower : public VirtualLink<PowerExchange> {
public:
    VirtualPower()
        : VirtualLink<PowerExchange>(
            PowerExchange::Owner{[this](const PowerLevels &levels) {
                                     reports.push_back(levels);
                                     ImageChanges::instance().apply(
                                         ChangeKind::PowerCalibration, [&](ImageTable &image) {
                                             StorePowerLevels(image, levels, PowerLevels{});
                                         });
                                 },
                                 [] { return CalibrationBlock(RadioData); }})
    { }

    // The power frames sent, in order.
    std::vector<QByteArray> powerFrames() const
    {
        std::vector<QByteArray> frames;
        for (const auto &w : writes)
            if (w.bytes.size() == 21 && w.bytes.startsWith(QByteArray("\x06\x67\x0F\x00\x10", 5)))
                frames.push_back(w.bytes);
        return frames;
    }

    std::vector<PowerLevels> reports;
};
