// The radio link: one connection to the radio, whatever the task. It owns
// the port, the handshake and identification, the send trigger, the reply
// timeout, the retry cycle and the busy and close rules; the frames sent
// once the radio has identified itself are the exchange's (LinkExchange).
// It does no I/O and keeps no time of its own: it is fed events (start,
// bytes arrived, a timer expired, the port failed, a frame asked for, close
// request) and asks LinkIo and LinkView to act. It writes no shared global.
// Every change of state goes through enter(), which also sets the timers of
// the new state, so a busy link always has a timer running that will end
// it; a link that stays up between frames (Linked) is watched by the poll.
#pragma once

#include "LinkExchange.h"
#include "LinkIo.h"

#include <array>

class RadioLink {
public:
    enum class State {
        Idle, // nothing in progress, also after a failed transfer
        RetryWait, // an attempt has ended; the retry delay runs
        Handshake, // the handshake waits for the send trigger
        Identifying, // the handshake has left; the identification is due
        FrameQueued, // the next frame waits for the send trigger
        AwaitingReply, // a frame has left; its reply is due
        Settling, // the last reply is in; the line must stay quiet
        Done, // completed; the close poll may unload the window
        Linked, // a frame was answered; the port stays open for the next
    };

    RadioLink(LinkExchange &exchange, LinkIo &io, LinkView &view);

    // Events.
    void windowOpened();
    void startPressed();
    // Cancel button or window close: false (with a message) while an attempt
    // is busy, unless the exchange closes any time; otherwise the leave
    // bytes go out on an open port, the port is closed and the window may go.
    bool closeRequested();
    // The owner has a frame for the radio now (a power slider moved). It
    // leaves only while the link is up and the radio has identified itself;
    // a frame not yet sent is replaced, one awaiting its reply is followed
    // at once.
    void sendNow();
    void bytesArrived(const QByteArray &bytes);
    void timerExpired(int timer);
    // The port failed or the line hung up; the port is already closed. An
    // attempt in progress ends as if the radio had stopped answering.
    void portFailed();

    // State, for the windows and the tests.
    State state() const { return state_; }
    bool busy() const;
    bool done() const { return state_ == State::Done; }
    bool handshaken() const { return handshaken_; }
    // The port is open and the radio has identified itself.
    bool linkUp() const;
    int retriesLeft() const { return retriesLeft_; }
    bool timerRunning(int timer) const { return running_.at(timer); }
    const ReceiveBuffer &rxBuffer() const { return rxBuffer_; }

    static const QByteArray &Handshake();

private:
    bool OpenPort();
    void StartAttempt();
    void SendFrame(const QByteArray &frame);
    void enter(State next);
    void sendTriggerFired();
    void receive();
    void checkIdentification();
    void takeReply();
    void endAttempt();
    void retryDelayExpired();
    void complete();
    void leave();
    void discardInput();
    void startTimer(int timer, int milliseconds);
    void stopTimer(int timer);

    LinkExchange &exchange_;
    LinkIo &io_;
    LinkView &view_;

    State state_ = State::Idle;
    QByteArray txFrame_;
    QByteArray waiting_; // received and not yet taken
    ReceiveBuffer rxBuffer_{};
    int retriesLeft_ = 0;
    bool handshaken_ = false;
    // The queued frame follows a reply, not the identification: with strict
    // framing a byte before it leaves means the replies are out of step.
    bool afterReply_ = false;
    int discards_ = 0; // bumped by each discard: the rest of a batch goes too
    std::array<bool, TimerCount + 1> running_{};
};
