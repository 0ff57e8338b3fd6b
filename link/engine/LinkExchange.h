// One task carried out over the radio link once the radio has identified
// itself: the read, the write and the power adjustment. The link
// (RadioLink) owns the port, the handshake, the timers, the retries and
// every change of state; an exchange says which frames go out, when a reply
// is complete and what it means, and what the user sees of its progress.
#pragma once

#include "Globals.h"
#include "LinkIo.h"

#include <array>
#include <cstdint>
#include <optional>

// Receive scratch: never cleared, so bytes beyond those just read keep
// what earlier replies left (the identification search looks at them).
using ReceiveBuffer = std::array<uint8_t, 2001>;

constexpr char AckByte = 0x06;

// One 16-byte block of radio memory.
using RadioBlock = std::array<uint8_t, BlockSize>;

// How a task uses the line and the window.
struct ExchangeRules {
    bool discardOutputOnOpen = false;
    // Replies have a fixed length: a byte outside one means the replies are
    // out of step, and ends the attempt. Otherwise such bytes are dropped.
    bool strictFraming = false;
    int closePollFromOpeningMs = 0; // 0: not from the window's opening
    int closePollAfterCompletionMs = 0; // 0: not started at completion
    // The window connects as it opens; there is no start button.
    bool startOnOpening = false;
    // The poll from the opening watches the link: whenever the port is
    // closed or the radio has not identified itself, the link is left and
    // the window closes.
    bool watchLink = false;
    // Closing is never refused, not even with a frame in flight.
    bool closesWhileBusy = false;
    // Sent before the port closes when the window closes with it open, so
    // the radio leaves the programming mode.
    QByteArray leaveBytes{};
};

struct ReplyStep {
    // Answered: the frame is answered and nothing follows on its own; the
    // port stays open (Linked) until the owner asks for a frame (sendNow).
    enum Kind { Incomplete, Taken, Last, Answered } kind = Incomplete;
    QByteArray answer; // written at once (the read acknowledges each block)
};

struct Completion {
    QByteArray finalBytes; // sent before the port closes
    std::optional<PromptMessage> message;
};

class LinkExchange {
public:
    virtual ~LinkExchange() = default;

    virtual ExchangeRules rules() const = 0;
    // The start button, with no attempt busy: a text refuses the transfer
    // before the port is opened.
    virtual std::optional<BilingualText> prepare() { return std::nullopt; }
    // A new attempt begins from the handshake; nothing of an interrupted
    // one carries over.
    virtual void restart() = 0;
    // The identification is accepted; it starts at position 0 of the
    // buffer, the bytes after it follow. Returns the first frame.
    virtual QByteArray begin(const ReceiveBuffer &identification) = 0;
    // A frame has left; waiting holds what has come since. Takes what it
    // uses from the front.
    virtual ReplyStep takeReply(QByteArray &waiting) = 0;
    // The frame after a reply that was not the last.
    virtual QByteArray nextFrame(LinkView &view) = 0;
    // A frame the owner asks for while the link is up (sendNow); empty when
    // the task sends nothing outside its own sequence.
    virtual QByteArray requestedFrame() { return {}; }
    // The last reply is in: the task's end as the user sees it.
    virtual Completion complete(LinkView &view) = 0;
};

// command AH AL 10: the frame head that addresses block k (16 bytes).
QByteArray BlockFrameHead(char command, int block);
// Integer part of part / whole * 100, computed the way the progress always
// has been (in floating point).
int Percent(int part, int whole);
