// The radio link engine: the cable protocol as a state machine. It does no
// I/O and keeps no time of its own; it is fed events (start, bytes arrived,
// a timer expired, close request) and asks its surroundings to act through
// LinkIo (port and timers) and LinkView (what the user sees). The read and
// write windows each own one, and so does the command-line tool.
#pragma once

#include "LinkText.h"

#include <QByteArray>
#include <array>
#include <cstdint>

// Why a port could not be opened, for the message the user acts on.
struct PortOpenResult {
    bool ok = false;
    QString device;      // the device the port number is bound to
    QString reason;      // the system's reason
    bool accessDenied = false;
};

// Timers of a transfer window.
enum LinkTimer {
    SendTrigger = 1,  // 15 ms: sends the prepared frame
    ReplyTimeout = 2, // 1000 ms after a frame, 2000 ms while sending
    RetryDelay = 3,   // 5000 ms between attempts
    ClosePoll = 4,    // unloads the window once the transfer is done
};
constexpr int TimerCount = 4;

class LinkIo {
public:
    virtual ~LinkIo() = default;
    // Opens the port of PortNumber at 9600 8N1 without flow control and
    // discards what is waiting in it (and pending output when asked).
    virtual PortOpenResult openPort(bool discardOutput) = 0;
    virtual void closePort() = 0;
    virtual bool isPortOpen() const = 0;
    virtual void write(const QByteArray &bytes) = 0;
    // Drops input the port holds but has not delivered yet.
    virtual void discardInput() = 0;
    // Timers repeat until stopped; starting a running timer restarts it.
    virtual void startTimer(int timer, int milliseconds) = 0;
    virtual void stopTimer(int timer) = 0;
};

class LinkView {
public:
    virtual ~LinkView() = default;
    // Modal: returns when the user has acknowledged the message.
    virtual void showMessage(const LinkMessage &message) = 0;
    virtual void setProgress(int percent) = 0;
    virtual void setStatus(const LinkText &status) = 0;
    // The close poll found the transfer done.
    virtual void closeWindow() = 0;
    // Every attempt has ended: true after a completed transfer.
    virtual void transferEnded(bool /*completed*/) {}
};

enum class LinkMode { Read, Write };

class RadioLink {
public:
    RadioLink(LinkMode mode, LinkIo &io, LinkView &view);

    // Events.
    void windowOpened();
    void startPressed();
    // Cancel button or window close: false (with a message) while an attempt
    // is busy; otherwise the port is closed and the window may go.
    bool closeRequested();
    void bytesArrived(const QByteArray &bytes);
    void timerExpired(int timer);
    // The port failed or the line hung up; the port is already closed. An
    // attempt in progress ends as if the radio had stopped answering.
    void portFailed();

    // State, for the windows and the tests.
    LinkMode mode() const { return mode_; }
    bool busy() const { return busy_; }
    bool done() const { return done_; }
    bool handshaken() const { return handshaken_; }
    int blockCounter() const { return blockCounter_; }
    int lastBlock() const { return lastBlock_; }
    int retriesLeft() const { return retriesLeft_; }
    bool timerRunning(int timer) const { return running_.at(timer); }
    const std::array<uint8_t, 2001> &rxBuffer() const { return rxBuffer_; }

    static const QByteArray &Handshake();

private:
    void openPort();
    void startAttempt();
    void sendFrame(const QByteArray &frame);
    void sendTriggerFired();
    void receive();
    void receiveBlockReply();
    void receiveAcknowledge();
    void checkIdentification();
    void identificationAccepted();
    void endAttempt();
    void retryDelayExpired();
    void completeRead();
    void completeWrite();
    void discardInput();
    void startTimer(int timer, int milliseconds);
    void stopTimer(int timer);
    void setStatus(const char *chinese, const char *english);

    LinkMode mode_;
    LinkIo &io_;
    LinkView &view_;

    QByteArray txFrame_;
    QByteArray waiting_; // received and not yet taken
    std::array<uint8_t, 2001> rxBuffer_{};
    int blockCounter_ = 0;
    int lastBlock_ = 0;
    int retriesLeft_ = 0;
    bool busy_ = false;
    bool handshaken_ = false;
    bool frameSent_ = false;
    bool done_ = false;
    // A block reply is complete and the next request has not left yet (or,
    // after the last block, the line has not been quiet for a send-trigger
    // period): any byte now means the replies are out of step.
    bool betweenReplyAndRequest_ = false;
    bool lastReplyTaken_ = false;
    int discards_ = 0; // bumped by each discard: the rest of a batch goes too
    std::array<bool, TimerCount + 1> running_{};
};
