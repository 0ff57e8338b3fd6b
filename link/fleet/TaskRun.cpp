#include "TaskRun.h"

#include "SerialLink.h"

// The serial adapter with what the run needs to see: each opening of the
// port (an attempt) and each retry delay (an attempt has ended); once
// halted it starts no timer and opens nothing.
class TaskRun::Link : public SerialLink {
public:
    Link(TaskRun &run, LinkExchange &exchange) : SerialLink(exchange, run, &run), run_(run) { }

    PortOpenResult openPort(bool discardOutput) override
    {
        if (run_.halted_)
            return {};
        ++run_.attempts_;
        return SerialLink::openPort(discardOutput);
    }
    void startTimer(int timer, int milliseconds) override
    {
        if (run_.halted_)
            return;
        if (timer == RetryDelay) {
            run_.noteIdentified();
            if (run_.mode_ == Attempts::One) {
                run_.finish(run_.identified_ ? End::Failed : End::Absent);
                return;
            }
            if (run_.mode_ == Attempts::UntilAnswered && !run_.identified_) {
                // Nobody there: no retries, the owner polls again later.
                run_.finish(End::Absent);
                return;
            }
        }
        SerialLink::startTimer(timer, milliseconds);
    }

private:
    TaskRun &run_;
};

TaskRun::TaskRun(const QString &device, std::unique_ptr<LinkExchange> exchange, Attempts attempts,
                 QObject *parent)
    : QObject(parent),
      device_(device),
      exchange_(std::move(exchange)),
      mode_(attempts),
      link_(new Link(*this, *exchange_))
{
    link_->setDevice(device);
}

// The link goes first: its port and timers must not outlive the exchange.
TaskRun::~TaskRun()
{
    halted_ = true;
    delete link_;
}

void TaskRun::start()
{
    clock_.start();
    link_->engine().windowOpened();
    link_->engine().startPressed();
    // Refused by the exchange's preparation before anything was opened.
    if (!finished_ && !link_->engine().busy() && !halted_)
        finish(End::Failed);
}

void TaskRun::halt()
{
    noteIdentified();
    halted_ = true;
    link_->halt();
    finished_ = true;
}

bool TaskRun::identified() const
{
    return identified_ || (!halted_ && link_->engine().handshaken());
}

bool TaskRun::busy() const { return !finished_ && !halted_; }

void TaskRun::noteIdentified()
{
    if (!halted_ && link_->engine().handshaken())
        identified_ = true;
}

void TaskRun::finish(End end)
{
    if (finished_)
        return;
    noteIdentified();
    finished_ = true;
    halted_ = true;
    link_->halt();
    // Told from the event loop: the engine is still inside the call that
    // ended the run, and the owner may delete this run.
    QMetaObject::invokeMethod(
        this, [this, end] { emit ended(end); }, Qt::QueuedConnection);
}

void TaskRun::showMessage(const PromptMessage &message)
{
    // After a completed transfer a message is its completion notice.
    if (!completed_)
        error_ = message.text;
}

void TaskRun::setProgress(int percent)
{
    noteIdentified();
    percent_ = percent;
    // The engine always sets the status next: one notice for both.
}

void TaskRun::setStatus(const BilingualText &status)
{
    noteIdentified();
    status_ = status;
    emit changed();
}

void TaskRun::transferEnded(bool completed)
{
    noteIdentified();
    completed_ = completed;
    if (completed) {
        percent_ = 100;
        finish(End::Completed);
    } else {
        finish(mode_ != Attempts::AsTheWindows && !identified_ ? End::Absent : End::Failed);
    }
}
