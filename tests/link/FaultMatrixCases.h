// The fault matrix's cases: every fault of the simulated radio at the first,
// a middle and the last block of every task, and what each must end in. The
// link engine runs them in virtual time, where attempts and times are exact
// (FaultMatrixEngineTests); ql540 runs them against the simulator process
// (cli_fault_matrix_tests), where a loaded machine may cost an attempt and
// stretch any time, so only the outcome and the bounds below are certain.
#pragma once

#include "Globals.h"
#include "PowerExchange.h"
#include "RadioSimCore.h"

#include <QtGlobal>

namespace FaultMatrix {

// The link's schedule (RadioLink): four attempts, each ended 1 s after an
// unanswered frame, 5 s apart, the failure 5 s after the last.
constexpr qint64 FullScheduleMs = 4 * 1000 + 4 * 5000;
constexpr qint64 OneRetryDelayMs = 5000;
// What a transfer of its own takes unpaced (240 or 254 frames, 15 ms apart),
// with room: the most a failure may come after its schedule in virtual time.
constexpr qint64 TransferMs = 4500;
// The power session has no retry cycle: the link watch closes it within
// 500 ms of the link going down, after an unanswered frame 1 s on.
constexpr qint64 PowerWatchMs = 500;
constexpr qint64 PowerFrameLostMs = 1000;

enum class TaskKind { Read, Write, Power };
struct Task {
    const char *name;
    TaskKind kind;
    int blocks[3]; // the first, a middle and the last block it sends or asks for
};
// Power: `ql540 power --set` sends two frames, both block 240. Its first
// position is the first frame (the radio's own values), the middle and the
// last are both the --set frame.
inline const Task Tasks[] = {
    {"read", TaskKind::Read, {0, 127, 253}},
    {"write", TaskKind::Write, {0, 120, 239}},
    {"power", TaskKind::Power, {CalibrationRow, CalibrationRow, CalibrationRow}},
};
inline const PowerLevels PowerSet{17, 34, 51};

enum class Fault {
    Silent,
    WrongIdent,
    SplitIdent,
    BytesAfterIdent,
    DroppedReply,
    ShortReply,
    StrayBeforeReply,
    Nak,
    MissingAck,
    HangUpAfterReply,
    PortGone,
};
inline const struct {
    Fault fault;
    const char *name;
} Faults[] = {
    {Fault::Silent, "silent radio"},
    {Fault::WrongIdent, "wrong identification"},
    {Fault::SplitIdent, "identification in two arrivals"},
    {Fault::BytesAfterIdent, "bytes right after the identification"},
    {Fault::DroppedReply, "dropped reply"},
    {Fault::ShortReply, "short reply"},
    {Fault::StrayBeforeReply, "stray bytes before a reply"},
    {Fault::Nak, "NAK"},
    {Fault::MissingAck, "missing acknowledge"},
    {Fault::HangUpAfterReply, "hang-up right after a reply"},
    {Fault::PortGone, "port disappears"},
};
inline const char *const Positions[] = {"first", "middle", "last"};

// The radio's faults for a case. A fault of the identification strikes
// where the handshake is: before the first block, or at the handshake of
// the retry that a reply dropped at the middle or last block brings about.
// A power session has one handshake: its faults strike there at every
// position, and its block faults at the --set frame from the middle on.
inline SimFaults FaultsFor(const Task &task, Fault fault, int position)
{
    const bool power = task.kind == TaskKind::Power;
    const bool read = task.kind == TaskKind::Read;
    const int block = task.blocks[position];
    SimFaults f;
    if (fault == Fault::WrongIdent || fault == Fault::SplitIdent
        || fault == Fault::BytesAfterIdent) {
        if (position > 0 && !power) {
            f.noReplyBlock = block;
            f.identFaultHandshake = 2;
        }
    } else if (power && position > 0) {
        f.powerFaultFrame = 2;
    }
    switch (fault) {
    case Fault::Silent:
        f.silentFromBlock = block;
        break;
    case Fault::WrongIdent:
        f.wrongIdent = true;
        break;
    case Fault::SplitIdent:
        f.splitIdentMs = 40;
        break;
    case Fault::BytesAfterIdent:
        f.strayAfterIdent = 21;
        break;
    case Fault::DroppedReply:
        f.noReplyBlock = block;
        break;
    case Fault::ShortReply:
        f.shortReplyBlock = block;
        break;
    case Fault::StrayBeforeReply:
        f.strayBlock = block;
        break;
    case Fault::Nak:
        (read ? f.nakRequestBlock : f.nakBlock) = block;
        break;
    case Fault::MissingAck:
        (read ? f.noAckReplyBlock : f.noAckBlock) = block;
        break;
    case Fault::HangUpAfterReply:
        f.hangUpAfterBlock = block;
        break;
    case Fault::PortGone:
        f.hangUpBlock = block;
        break;
    }
    return f;
}

enum class Outcome { Done, FailConnect, PortError };
struct Expected {
    Outcome outcome = Outcome::Done;
    // When it completes: the attempts it takes (the handshakes the radio
    // answers), exactly in virtual time.
    int handshakes = 1;
    // When it ends, from the start: never before minMs; in virtual time
    // never after maxMs.
    qint64 minMs = 0, maxMs = 0;
    // On a real line it may also end with the failure message (a race the
    // case cannot decide, see its comment); in virtual time it completes.
    bool mayFail = false;
};

inline Expected Expect(const Task &task, Fault fault, int position)
{
    const bool read = task.kind == TaskKind::Read;
    auto fails = [](Outcome outcome, qint64 scheduleMs, qint64 withinMs) {
        return Expected{outcome, 0, scheduleMs, scheduleMs + withinMs};
    };
    auto recovers = [](int handshakes) {
        return Expected{Outcome::Done, handshakes, handshakes > 1 ? OneRetryDelayMs : 0,
                        FullScheduleMs};
    };
    if (task.kind == TaskKind::Power) {
        // Whatever the radio does not acknowledge ends the session; what is
        // not an acknowledge is dropped while one is awaited. A lost line is
        // not opened again: the watch closes the session, as on every other
        // failure, with the same message.
        switch (fault) {
        case Fault::Silent:
        case Fault::DroppedReply:
        case Fault::ShortReply: // the radio still waits for the frame's last byte
        case Fault::Nak:
        case Fault::MissingAck:
            return fails(Outcome::FailConnect, PowerFrameLostMs, PowerWatchMs + 100);
        case Fault::WrongIdent:
            return fails(Outcome::FailConnect, PowerWatchMs, 100);
        case Fault::SplitIdent:
        case Fault::BytesAfterIdent:
        case Fault::StrayBeforeReply:
            return recovers(1);
        case Fault::HangUpAfterReply:
            // After the --set frame's acknowledge the values are in the
            // radio. A line dropped right after it can discard the
            // acknowledge unread, or be noticed before it: then the session
            // ends with the failure message, the safe side.
            if (position > 0) {
                Expected either = recovers(1);
                either.mayFail = true;
                return either;
            }
            return fails(Outcome::FailConnect, 0, PowerWatchMs + 100);
        case Fault::PortGone:
            return fails(Outcome::FailConnect, 0, PowerWatchMs + 100);
        }
    }
    switch (fault) {
    case Fault::Silent:
    case Fault::WrongIdent:
        return fails(Outcome::FailConnect, FullScheduleMs, TransferMs);
    case Fault::SplitIdent:
    case Fault::BytesAfterIdent:
        return recovers(position == 0 ? 1 : 2);
    case Fault::StrayBeforeReply:
        // The write drops what is not an acknowledge; the read's replies
        // have a fixed length, so the noise shifts one and costs a retry.
        return recovers(read ? 2 : 1);
    case Fault::DroppedReply:
    case Fault::ShortReply:
    case Fault::Nak:
    case Fault::MissingAck:
        return recovers(2);
    case Fault::HangUpAfterReply:
        // The last acknowledge completes a write; the line dropping after it
        // changes nothing. Nor does it in the read's quiet period after the
        // last block: a dropped line sends no byte.
        if (position == 2)
            return recovers(1);
        return fails(Outcome::PortError, OneRetryDelayMs, TransferMs);
    case Fault::PortGone:
        return fails(Outcome::PortError, OneRetryDelayMs, TransferMs);
    }
    return {};
}

// Row 240 as the power window leaves it after `--set`: the radio's values
// taken (the sliders start at 0), then the new ones set.
inline RadioBlock PowerRowAfterSet(const ImageTable &startUp, const PowerLevels &reported)
{
    ImageTable image = startUp;
    StorePowerLevels(image, reported, PowerLevels{});
    StorePowerLevels(image, PowerSet, reported);
    return CalibrationBlock(image);
}

} // namespace FaultMatrix
