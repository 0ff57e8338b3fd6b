#include "PortStation.h"

#include "IdentifyExchange.h"
#include "TaskRun.h"

PortStation::PortStation(const QString &device, PortJob job, bool productionLine, QObject *parent)
    : QObject(parent), job_(std::move(job)), line_(productionLine)
{
    record_.device = device;
    record_.task = job_.task;
    poll_.setSingleShot(true);
    connect(&poll_, &QTimer::timeout, this, [this] {
        if (state_ == State::WaitingForRadio)
            startTask(job_.exchange(), true);
        else if (state_ == State::WaitingForUnplug)
            startTask(std::make_unique<IdentifyExchange>(), true);
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
    if (line_) {
        enter(State::WaitingForRadio);
        startTask(job_.exchange(), true);
    } else {
        enter(State::Transferring);
        record_.outcome = PortOutcome::Running;
        startTask(job_.exchange(), false);
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
    state_ = State::Idle;
    start();
}

void PortStation::startTask(std::unique_ptr<LinkExchange> exchange, bool absentEnds)
{
    retire();
    run_ = new TaskRun(record_.device, std::move(exchange), absentEnds, this);
    connect(run_, &TaskRun::ended, this, [this](TaskRun::End end) { taskEnded(int(end)); });
    connect(run_, &TaskRun::changed, this, [this] {
        if (state_ == State::WaitingForRadio && run_->identified()) {
            // The next radio has answered: this one is being programmed.
            record_.outcome = PortOutcome::Running;
            enter(State::Transferring);
        }
        if (state_ == State::Transferring) {
            record_.percent = run_->percent();
            record_.status = run_->status();
            record_.attempts = run_->attempts();
            record_.elapsedMs = run_->elapsedMs();
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

void PortStation::taskEnded(int end)
{
    if (state_ == State::WaitingForUnplug)
        lookEnded(end);
    else
        transferEnded(end);
}

void PortStation::transferEnded(int end)
{
    if (TaskRun::End(end) == TaskRun::End::Absent) {
        // The line's poll found nobody; a port that would not open says why
        // while the line waits (a cable pulled out of the computer).
        record_.detail = run_ ? run_->error() : LinkText{};
        retire();
        if (stopping_) {
            enter(State::Stopped);
            return;
        }
        pollLater();
        emit changed();
        return;
    }
    record_.attempts = run_->attempts();
    record_.elapsedMs = run_->elapsedMs();
    record_.status = run_->status();
    record_.percent = run_->percent();
    if (TaskRun::End(end) == TaskRun::End::Completed) {
        record_.detail = {};
        record_.outcome = PortOutcome::Completed;
        if (job_.completed)
            job_.completed(run_->exchange(), record_);
    } else {
        record_.detail = run_->error();
        record_.outcome = PortOutcome::Failed;
    }
    retire();
    settle(record_.outcome);
}

// A radio has been dealt with: record it, then the line waits for it to go.
void PortStation::settle(PortOutcome outcome)
{
    record_.outcome = outcome;
    record_.finished = QDateTime::currentDateTime();
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
    enter(State::WaitingForUnplug);
    pollLater();
}

void PortStation::lookEnded(int end)
{
    retire();
    if (stopping_) {
        enter(State::Stopped);
        return;
    }
    if (TaskRun::End(end) == TaskRun::End::Absent) {
        if (++silentLooks_ >= UnplugSilentLooks) {
            // Gone: the next radio that answers is a new one.
            const PortRecord last = record_;
            record_ = PortRecord{};
            record_.device = last.device;
            record_.task = last.task;
            record_.number = count_ + 1;
            enter(State::WaitingForRadio);
        }
    } else {
        silentLooks_ = 0; // still there
    }
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
        if (run_ && !run_->identified()) {
            // A one-off transfer whose radio has not answered yet.
            poll_.stop();
            record_.attempts = run_->attempts();
            record_.elapsedMs = run_->elapsedMs();
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
    const bool midTransfer = state_ == State::Transferring ||
                             (state_ == State::WaitingForRadio && run_ && run_->identified());
    if (midTransfer && run_) {
        record_.attempts = run_->attempts();
        record_.elapsedMs = run_->elapsedMs();
        record_.percent = run_->percent();
        record_.status = run_->status();
        const bool identified = run_->identified();
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

LinkText StationStateText(const PortStation &station)
{
    const PortRecord &r = station.current();
    switch (station.state()) {
    case PortStation::State::Idle:
    case PortStation::State::WaitingForRadio:
        if (!r.detail.isEmpty())
            return {QStringLiteral("等待对讲机（") + r.detail.chinese.simplified() + QStringLiteral("）"),
                    QStringLiteral("waiting for a radio (") + r.detail.english.simplified() + u')'};
        return {QStringLiteral("等待对讲机"), QStringLiteral("waiting for a radio")};
    case PortStation::State::Transferring:
        return {r.status.chinese.trimmed(), r.status.english.trimmed()};
    case PortStation::State::WaitingForUnplug:
        return {QStringLiteral("请取下对讲机"), QStringLiteral("unplug the radio")};
    case PortStation::State::Done:
    case PortStation::State::Stopped:
        break;
    }
    return OutcomeText(r);
}
