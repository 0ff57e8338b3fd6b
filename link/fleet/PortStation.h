// One port of a run over several ports. Either one transfer (a write or a
// read, with the retries of the windows), or the production line: wait for
// a radio, program it, record it, wait until it is unplugged, and again.
//
// How the line tells radios apart. A radio has no serial number the
// protocol could read, and a programmed radio that stays on its cable
// answers exactly like the next one. So a radio counts as unplugged only
// when the line has gone silent: UnplugSilentLooks looks in a row, each a
// handshake without an identification (the first PollIntervalMs after the
// last answer, the next at once). Only after that is the next radio that
// identifies itself programmed. A radio that
// keeps answering is looked at again and again and never programmed twice.
// A look is a handshake and a read of block 0, as a read begins; it writes
// nothing. A write with a verify reads the radio back before it counts as
// done, so the line waits for the unplug only after the verify.
#pragma once

#include "PortRecord.h"
#include "TaskRun.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class LinkExchange;

// One transfer of a job: a fresh exchange each time it runs, and what
// follows when it completes (the record may be amended: a read saves its
// file here and says where, or fails with FileError; a verify compares).
struct PortStep {
    std::function<std::unique_ptr<LinkExchange>()> exchange;
    std::function<void(LinkExchange &exchange, PortRecord &record)> completed;
};

struct PortJob {
    PortTask task = PortTask::Write;
    PortStep transfer;
    // A write may be followed by a verify on the same radio (no exchange:
    // none). The radio counts as done only when both have ended.
    PortStep verify;
};

class PortStation;
// What a port is doing, as its line on the console or its row in the
// window says it: waiting, the link's status, unplug, or the result.
BilingualText StationStateText(const PortStation &station);

class PortStation : public QObject {
    Q_OBJECT
public:
    enum class State {
        Idle,
        WaitingForRadio, // the line polls for a radio
        Transferring, // a radio identified itself: programming it
        WaitingForUnplug,
        Done, // one transfer ended (not a line)
        Stopped, // told to stop: nothing more happens here
    };

    static constexpr int PollIntervalMs = 1000;
    static constexpr int UnplugSilentLooks = 2;

    PortStation(const QString &device, PortJob job, bool productionLine, QObject *parent = nullptr);
    ~PortStation() override;

    const QString &device() const { return record_.device; }
    State state() const { return state_; }
    bool productionLine() const { return line_; }
    // The radio being worked on now, or the last result.
    const PortRecord &current() const { return record_; }
    // Radios the line has finished on this port (either way).
    int count() const { return count_; }
    bool finished() const { return state_ == State::Done || state_ == State::Stopped; }

    void start();
    // A one-off transfer that failed runs again (the window's retry).
    void retry();
    // Ctrl+C: a radio being programmed is finished, nothing new begins;
    // waiting stops at once.
    void finishAndStop();
    // A second Ctrl+C: everything stops now; a radio being programmed is
    // recorded as interrupted.
    void abort();

signals:
    void changed();
    // A radio has been dealt with; record.outcome says how.
    void recorded(const PortRecord &record);
    // Nothing more will happen here (Done or Stopped).
    void finishedChanged();

private:
    void startTask(std::unique_ptr<LinkExchange> exchange, TaskRun::Attempts attempts);
    void taskEnded(TaskRun::End end);
    void transferEnded(TaskRun::End end);
    bool startVerify();
    void noteRun();
    void lookEnded(TaskRun::End end);
    void settle(PortOutcome outcome);
    void enter(State state);
    void retire();
    void pollLater();

    PortJob job_;
    bool line_;
    State state_ = State::Idle;
    PortRecord record_;
    TaskRun *run_ = nullptr;
    QTimer poll_;
    int count_ = 0;
    int silentLooks_ = 0;
    int brokenLooks_ = 0; // looks in a row that were answered, then broke off
    bool stopping_ = false;
    // Attempts and time of the step before the one running: a verify adds
    // to its write's.
    int priorAttempts_ = 0;
    qint64 priorMs_ = 0;
};
