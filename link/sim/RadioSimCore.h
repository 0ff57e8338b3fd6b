// The radio's side of the cable protocol, without any I/O: bytes from the
// computer go in, the radio's answers come out. The pty simulator wraps it;
// tests can also use it in-process. It holds the radio's 4 KiB memory and
// can misbehave on purpose (SimFaults) so the link's failure handling can
// be exercised. Unexpected input is ignored, never trusted.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

constexpr int RadioMemorySize = 4096;
using RadioMemory = std::array<uint8_t, RadioMemorySize>;

// Every block number is -1 when the fault is off. "Once" faults disarm
// after they have struck.
struct SimFaults {
    bool silent = false; // never answers anything
    bool wrongIdent = false; // answers the handshake with another model
    int identOffset = 0; // filler bytes before "QL271"
    int identLength = 9; // total identification length (at least offset + 8)
    int strayAfterIdent = 0; // once: noise bytes a few ms after the identification
    int splitIdentMs = 0; // once: the identification in two parts, this far apart
    // The handshake (1 = the first) from which the identification faults
    // above strike: the wrong model from then on, the others once.
    int identFaultHandshake = 1;
    int silentFromBlock = -1; // falls silent for good at the request or frame for this block
    int noReplyBlock = -1; // once: ignore the read request or write frame for this block
    int shortReplyBlock = -1; // once: a 20-byte reply to this read request; a write
        // frame for it loses its last byte on the way in
    int strayBlock = -1; // once: line noise just before this block's reply or acknowledge
    int strayCount = 3;
    int nakBlock = -1; // once: answer this write or power (240) frame with NAK (15)
    int noAckBlock = -1; // once: no acknowledge to this write or power (240) frame
    int nakRequestBlock = -1; // once: answer this read request with NAK instead of the block
    int noAckReplyBlock = -1; // once: this block's reply lacks its leading acknowledge (20 bytes)
    int hangUpBlock = -1; // stop for good at this read or write block
    int hangUpAfterBlock = -1; // stop for good right after answering this block
    // Every write of this block is acknowledged but stores corruptValue
    // (or, when that is -1, the byte sent with its lowest bit flipped) in
    // column corruptColumn: a memory that takes something else than it was
    // given.
    int corruptBlock = -1;
    int corruptColumn = 0;
    int corruptValue = -1;
    // The power frame (1 = the first of the session) from which the block
    // faults above strike at block 240; earlier power frames are answered.
    int powerFaultFrame = 1;
};

constexpr int PauseAfterReplyMs = 3;

// What the radio sends back after a complete frame from the computer.
struct SimReply {
    QByteArray bytes;
    int requestLength = 0; // bytes of the frame it answers (its wire time)
    // After a pause of PauseAfterReplyMs (or afterPauseMs): bytes that come
    // late, then the line going down.
    QByteArray afterPause{};
    bool hangUpAfter = false;
    int afterPauseMs = PauseAfterReplyMs;
};

struct SimCounters {
    int handshakes = 0;
    int blocksRead = 0;
    int blocksWritten = 0;
    int powerFrames = 0;
    int writeEnds = 0; // "E" bytes after a write
    int leaves = 0; // "b" bytes from the power window
    int ignored = 0; // bytes that fit no frame
};

class RadioSimCore {
public:
    explicit RadioSimCore(const RadioMemory &memory, SimFaults faults = {});

    // Feeds one byte from the computer at nowMs (monotonic milliseconds).
    // A pause of more than 300 ms inside a frame abandons that frame.
    std::optional<SimReply> feed(uint8_t byte, qint64 nowMs);

    const RadioMemory &memory() const { return memory_; }
    const SimCounters &counters() const { return counters_; }
    bool hungUp() const { return hungUp_; }
    bool linked() const { return state_ == State::Linked; }
    // One line per protocol event, for the simulator's log.
    QString takeLog();

private:
    enum class State { Idle, Linked };
    std::optional<SimReply> onFrame();
    SimReply identification();
    std::optional<SimReply> readBlock(int block);
    std::optional<SimReply> writeBlock(int block, int length);
    bool hangUpAt(int block);
    bool fallsSilentAt(int block);
    void log(const QString &line);

    RadioMemory memory_;
    SimFaults faults_;
    SimCounters counters_;
    State state_ = State::Idle;
    QByteArray frame_;
    qint64 lastByteMs_ = 0;
    bool hungUp_ = false;
    int handshakes_ = 0;
    int powerFramesSeen_ = 0;
    bool hangUpOnNextByte_ = false;
    QString log_;
};

// The bytes with which the computer wakes the radio for programming.
const QByteArray &SimHandshake();

// The start-up image of the program as radio memory.
RadioMemory DefaultRadioMemory();
// The start-up image with eight programmed channels, for the demo.
RadioMemory SampleRadioMemory();
