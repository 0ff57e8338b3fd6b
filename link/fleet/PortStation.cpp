#include "PortStation.h"

#include "IdentifyExchange.h"
#include "LinkExchange.h"
#include "TaskRun.h"

PortStation::PortStation(const QString &device, PortJob job, bool productionLine, QObject *parent)
    : QObject(parent), job_(std::move(job)), line_(productionLine)
{
    record_.device = device;
    record_.task = job_.task;
    poll_.setSingleShot(true);
    connect(&poll_, &QTimer::timeout, this, [this] {
        if (state_ == State::WaitingForRadio)
            startTask(job_.transfer.exchange(), TaskRun::Attempts::UntilAnswered);
        else if (state_ == State::WaitingForUnplug)
            startTask(std::make_unique<IdentifyExchange>(), TaskRun::Attempts::One);
    });
}

PortStation::~PortStation() { retire(); }

void PortStation::enter(State state)
{
    const bool wasFinished = finished();
    state_ = state;
    emit changed();
    if (finished() != wasFinished)
        emit finishedChanged();
}

void PortStation::start()
{
    if (state_ != State::Idle)
        return;
    record_.number = line_ ? count_ + 1 : 0;
    record_.verifyAfterWrite = job_.task == PortTask::Write && job_.verify.exchange;
    if (line_) {
        enter(State::WaitingForRadio);
        startTask(job_.transfer.exchange(), TaskRun::Attempts::UntilAnswered);
    } else {
        enter(State::Transferring);
        record_.outcome = PortOutcome::Running;
        startTask(job_.transfer.exchange(), TaskRun::Attempts::AsTheWindows);
    }
}

void PortStation::retry()
{
    if (line_ || state_ != State::Done || record_.outcome == PortOutcome::Completed)
        return;
    const QString device = record_.device;
    record_ = PortRecord{};
    record_.device = device;
    record_.task = job_.task;
    stopping_ = false;
    priorAttempts_ = 0;
    priorMs_ = 0;
    state_ = State::Idle;
    start();
}

void PortStation::startTask(std::unique_ptr<LinkExchange> exchange, TaskRun::Attempts attempts)
{
    retire();
    run_ = new TaskRun(record_.device, std::move(exchange), attempts, this);
    connect(run_, &TaskRun::ended, this, [this](TaskRun::End end) { taskEnded(end); });
    connect(run_, &TaskRun::changed, this, [this] {
        if (state_ == State::WaitingForRadio && run_->identified()) {
            // The next radio has answered: this one is being programmed.
            record_.outcome = PortOutcome::Running;
            enter(State::Transferring);
        }
        if (state_ == State::Transferring) {
            noteRun();
            emit changed();
        }
    });
    run_->start();
}

void PortStation::retire()
{
    if (!run_)
        return;
    run_->halt();
    run_->disconnect(this);
    run_->deleteLater();
    run_ = nullptr;
}

void PortStation::pollLater() { poll_.start(PollIntervalMs); }

// The running step's figures; a verify's attempts and time add to its write's.
void PortStation::noteRun()
{
    record_.percent = run_->percent();
    record_.status = run_->status();
    record_.attempts = priorAttempts_ + run_->attempts();
    record_.elapsedMs = priorMs_ + run_->elapsedMs();
}

void PortStation::taskEnded(TaskRun::End end)
{
    if (state_ == State::WaitingForUnplug)
        lookEnded(end);
    else
        transferEnded(end);
}

void PortStation::transferEnded(TaskRun::End end)
{
    if (end == TaskRun::End::Absent) {
        // The line's poll found nobody; a port that would not open says why
        // while the line waits (a cable pulled out of the computer).
        record_.detail = run_ ? run_->error() : BilingualText{};
        retire();
        if (stopping_) {
            enter(State::Stopped);
            return;
        }
        pollLater();
        emit changed();
        return;
    }
    noteRun();
    if (end == TaskRun::End::Completed) {
        const bool verifying = record_.written;
        const PortStep &step = verifying ? job_.verify : job_.transfer;
        record_.detail = {};
        record_.outcome = PortOutcome::Completed;
        if (step.completed)
            step.completed(run_->exchange(), record_);
        if (!verifying && record_.outcome == PortOutcome::Completed && startVerify())
            return;
    } else {
        record_.detail = run_->error();
        record_.outcome = PortOutcome::Failed;
    }
    retire();
    settle(record_.outcome);
}

// The write has completed: the same radio is read back before it counts as
// done. A first Ctrl+C lets the verify finish too (it writes nothing).
bool PortStation::startVerify()
{
    if (!record_.verifyAfterWrite)
        return false;
    record_.written = true;
    record_.outcome = PortOutcome::Running;
    // Attempts count tries: the verify's first opening is part of the job,
    // only its retries add.
    priorAttempts_ = record_.attempts - 1;
    priorMs_ = record_.elapsedMs;
    record_.percent = 0;
    record_.status = {};
    startTask(job_.verify.exchange(), TaskRun::Attempts::AsTheWindows);
    emit changed();
    return true;
}

// A radio has been dealt with: record it, then the line waits for it to go.
void PortStation::settle(PortOutcome outcome)
{
    record_.outcome = outcome;
    record_.finished = QDateTime::currentDateTime();
    priorAttempts_ = 0;
    priorMs_ = 0;
    if (line_)
        ++count_;
    emit recorded(record_);
    if (!line_) {
        enter(stopping_ && outcome != PortOutcome::Completed ? State::Stopped : State::Done);
        return;
    }
    if (stopping_) {
        enter(State::Stopped);
        return;
    }
    silentLooks_ = 0;
    brokenLooks_ = 0;
    enter(State::WaitingForUnplug);
    pollLater();
}

void PortStation::lookEnded(TaskRun::End end)
{
    retire();
    if (stopping_) {
        enter(State::Stopped);
        return;
    }
    if (end == TaskRun::End::Absent) {
        if (++silentLooks_ >= UnplugSilentLooks) {
            // Gone: the next radio that answers is a new one.
            const PortRecord last = record_;
            record_ = PortRecord{};
            record_.device = last.device;
            record_.task = last.task;
            record_.verifyAfterWrite = last.verifyAfterWrite;
            record_.number = count_ + 1;
            enter(State::WaitingForRadio);
        } else {
            brokenLooks_ = 0;
            // Silent once: confirmed by a look straight away, so a short
            // empty spell between two radios is enough to tell them apart.
            startTask(std::make_unique<IdentifyExchange>(), TaskRun::Attempts::One);
            return;
        }
    } else if (end == TaskRun::End::Failed) {
        // It answered, then broke off: pulled out mid-look, or a bad line.
        // The next look tells which, straight away the first time (a radio
        // that keeps breaking off is looked at at the usual pace).
        if (++brokenLooks_ == 1) {
            startTask(std::make_unique<IdentifyExchange>(), TaskRun::Attempts::One);
            return;
        }
    } else {
        silentLooks_ = 0; // still there
    }
    if (end != TaskRun::End::Failed)
        brokenLooks_ = 0;
    pollLater();
}

void PortStation::finishAndStop()
{
    stopping_ = true;
    switch (state_) {
    case State::Idle:
    case State::Done:
        enter(State::Stopped);
        break;
    case State::WaitingForRadio:
    case State::WaitingForUnplug:
        if (run_ && run_->identified() && state_ == State::WaitingForRadio) {
            record_.outcome = PortOutcome::Running;
            enter(State::Transferring);
            break; // it has just begun: finish it
        }
        poll_.stop();
        retire();
        enter(State::Stopped);
        break;
    case State::Transferring:
        if (run_ && !run_->identified() && !record_.written) {
            // A one-off transfer whose radio has not answered yet.
            poll_.stop();
            noteRun();
            retire();
            settle(PortOutcome::Stopped);
        }
        break;
    case State::Stopped:
        break;
    }
}

void PortStation::abort()
{
    stopping_ = true;
    poll_.stop();
    const bool midTransfer = state_ == State::Transferring
                             || (state_ == State::WaitingForRadio && run_ && run_->identified());
    if (midTransfer && run_) {
        noteRun();
        // A verify broken off has a written radio, answered or not.
        const bool identified = run_->identified() || record_.written;
        retire();
        settle(identified ? PortOutcome::Interrupted : PortOutcome::Stopped);
        if (state_ != State::Stopped)
            enter(State::Stopped);
        return;
    }
    retire();
    if (state_ != State::Stopped)
        enter(State::Stopped);
}

BilingualText StationStateText(const PortStation &station)
{
    const PortRecord &r = station.current();
    switch (station.state()) {
    case PortStation::State::Idle:
    case PortStation::State::WaitingForRadio:
        if (!r.detail.isEmpty())
            return {QStringLiteral("等待对讲机（") + r.detail.chinese.simplified()
                        + QStringLiteral("）"),
                    QStringLiteral("waiting for a radio (") + r.detail.english.simplified() + u')'};
        return {QStringLiteral("等待对讲机"), QStringLiteral("waiting for a radio")};
    case PortStation::State::Transferring:
        if (r.written) // the write is done; the radio is being read back
            return {QStringLiteral("校验：") + r.status.chinese.trimmed(),
                    QStringLiteral("verify: ") + r.status.english.trimmed()};
        return {r.status.chinese.trimmed(), r.status.english.trimmed()};
    case PortStation::State::WaitingForUnplug:
        return {QStringLiteral("请取下对讲机"), QStringLiteral("unplug the radio")};
    case PortStation::State::Done:
    case PortStation::State::Stopped:
        break;
    }
    return OutcomeText(r);
}
