// One task of the radio link as the link fuzzer drives it: its exchange,
// the window's own actions and what must hold of the frames it sends and
// of how it ends. The cases form a table (LinkFuzzCases), one entry per
// exchange; the fuzzer picks one per input.
#pragma once

#include "../FuzzCheck.h"
#include "../FuzzInput.h"
#include "RadioLink.h"
#include "RadioSimCore.h"

#include <QByteArray>
#include <memory>
#include <vector>

// What went over the line in the current attempt, in order: the link's
// writes and the batches of bytes it was handed. An attempt starts with
// the handshake.
struct LineEvent {
    bool written = false; // false: bytes that arrived
    QByteArray bytes;
};
using LineLog = std::vector<LineEvent>;

class LinkFuzzCase {
public:
    virtual ~LinkFuzzCase() = default;

    virtual LinkExchange &exchange() = 0;
    // What the simulated radio holds.
    virtual RadioMemory radioMemory() const { return SampleRadioMemory(); }
    // The window opens.
    virtual void opened(RadioLink &link) { link.windowOpened(); }
    // An action of the window's own beyond start and close (the power
    // window's sliders); reads what it needs from the input.
    virtual void userAction(FuzzInput &, RadioLink &) { }
    // The link has just written attempt.back(): fails unless the task may
    // send it at this point of the attempt.
    virtual void checkWrite(const LineLog &attempt) = 0;
    // The open port has just been closed, by the link or by a failure.
    virtual void portClosed() { }
    // The link reported the end of a transfer; attempt is the last one.
    virtual void transferEnded(bool completed, const LineLog &attempt) = 0;
    // Whether the port may stay open while no attempt is busy.
    virtual bool mayHoldPortAtRest(const RadioLink &) const { return false; }
    // Whether the link has come to rest: nothing more happens without the
    // user.
    virtual bool atRest(const RadioLink &link) const
    {
        return !link.busy() && link.state() != RadioLink::State::RetryWait;
    }
};

struct LinkFuzzCaseEntry {
    const char *name;
    std::unique_ptr<LinkFuzzCase> (*make)(FuzzInput &input);
};
const std::vector<LinkFuzzCaseEntry> &LinkFuzzCases();

// Helpers for the checks.
// Bytes that arrived between event first (exclusive) and last (exclusive).
int ArrivedBetween(const LineLog &log, size_t first, size_t last);
// The first count bytes that arrived after event index.
QByteArray ArrivedAfter(const LineLog &log, size_t index, int count);
