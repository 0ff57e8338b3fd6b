// What the radio link asks of its surroundings: a port and four timers
// (LinkIo), and what the user sees (LinkView). The windows bind them to a
// serial port and widgets, the command-line tool to the console, the tests
// to virtual time.
#pragma once

#include "Language.h"
#include "PortInventory.h"

#include <QByteArray>
#include <QString>

// Why a port could not be opened, for the message the user acts on.
struct PortOpenResult {
    bool ok = false;
    QString device; // the device the port number is bound to
    QString reason; // the system's reason
    bool accessDenied = false;
    bool notFound = false; // no such device
    bool inUse = false; // another program holds the device
    QString lockFile{}; // in use: the lock file naming the holder, where known
    QString holder{}; // in use: the holder's process, where known
    // Another window of this program has the device: a read, a write or a
    // power adjustment is in progress. Not a port fault.
    bool heldHere = false;
    // The port number (1..8) the device was reached by; 0 when it was named
    // directly (the command-line tool's --port DEVICE, a batch row).
    int option = 0;
    // Not found: the one USB serial cable present, where there is exactly
    // one (and it is not the device asked for).
    std::optional<PortEntry> soleCable{};
};

// Timers of a transfer window.
enum LinkTimer {
    SendTrigger = 1, // 15 ms: sends the prepared frame
    ReplyTimeout = 2, // 1000 ms after a frame, 2000 ms while sending
    RetryDelay = 3, // 5000 ms between attempts
    ClosePoll = 4, // unloads the window once the transfer is done, or
    // watches a link that stays up
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
    virtual void showMessage(const PromptMessage &message) = 0;
    virtual void setProgress(int percent) = 0;
    virtual void setStatus(const BilingualText &status) = 0;
    // The close poll found the transfer done.
    virtual void closeWindow() = 0;
    // Every opening of the port reports here (the windows keep the shared
    // flag that the port setup window looks at); a failure has been shown.
    virtual void portOpenTried(bool /*opened*/) { }
    // Every attempt has ended: true after a completed transfer. A read's
    // blocks are to be taken now, before its completion message.
    virtual void transferEnded(bool /*completed*/) { }
    // A frame was answered and the link stays up with nothing in flight; a
    // frame may be asked for (RadioLink::sendNow) from here.
    virtual void linked() { }
};
