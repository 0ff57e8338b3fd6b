#include "RadioLink.h"

#include "PortErrorText.h"

namespace {

constexpr int SendTriggerMs = 15;
constexpr int ReplyWhileSendingMs = 2000;
constexpr int ReplyAfterFrameMs = 1000;
constexpr int RetryDelayMs = 5000;
constexpr int Retries = 3;
constexpr int IdentLength = 9;
const QByteArray RadioIdent = QByteArrayLiteral("QL271");

BilingualText TransferInProgress()
{
    return Bilingual("正在与对讲机进行读写操作 ！", "Read-write operating with transceiver .");
}

} // namespace

RadioLink::RadioLink(LinkExchange &exchange, LinkIo &io, LinkView &view)
    : exchange_(exchange), io_(io), view_(view)
{ }

const QByteArray &RadioLink::Handshake()
{
    static const QByteArray handshake = QByteArrayLiteral("PROGRAM\x02");
    return handshake;
}

bool RadioLink::busy() const
{
    switch (state_) {
    case State::Handshake:
    case State::Identifying:
    case State::FrameQueued:
    case State::AwaitingReply:
    case State::Settling:
        return true;
    case State::Idle:
    case State::RetryWait:
    case State::Done:
    case State::Linked:
        break;
    }
    return false;
}

bool RadioLink::linkUp() const { return handshaken_ && io_.isPortOpen(); }

void RadioLink::enter(State next)
{
    state_ = next;
    switch (next) {
    case State::Handshake:
    case State::FrameQueued:
    case State::Settling:
        stopTimer(ReplyTimeout);
        stopTimer(RetryDelay);
        startTimer(SendTrigger, SendTriggerMs);
        break;
    case State::Identifying:
    case State::AwaitingReply:
        stopTimer(SendTrigger);
        startTimer(ReplyTimeout, ReplyAfterFrameMs);
        break;
    case State::RetryWait:
        stopTimer(SendTrigger);
        stopTimer(ReplyTimeout);
        startTimer(RetryDelay, RetryDelayMs);
        break;
    case State::Idle:
    case State::Done:
    case State::Linked:
        stopTimer(SendTrigger);
        stopTimer(ReplyTimeout);
        stopTimer(RetryDelay);
        break;
    }
}

void RadioLink::windowOpened()
{
    enter(State::Idle);
    // Connecting first: a port error is shown before the watch runs, so the
    // watch cannot close the window beneath its message.
    if (exchange_.rules().startOnOpening)
        startPressed();
    if (const int ms = exchange_.rules().closePollFromOpeningMs)
        startTimer(ClosePoll, ms);
    else
        stopTimer(ClosePoll);
}

void RadioLink::startPressed()
{
    // The transfer is complete and the close poll is about to unload the
    // window; a new attempt would make it refuse to close, again and again.
    if (done())
        return;
    if (busy()) {
        view_.showMessage({TransferInProgress()});
        return;
    }
    if (const auto refusal = exchange_.prepare()) {
        view_.showMessage({*refusal});
        return;
    }
    retriesLeft_ = Retries;
    StartAttempt();
    if (busy()) {
        view_.setProgress(0);
        view_.setStatus(Bilingual("正在与对讲机联络 ！", "Connecting with transceiver. "));
    }
}

bool RadioLink::closeRequested()
{
    if (busy() && !exchange_.rules().closesWhileBusy) {
        view_.showMessage({Bilingual("正在进行读写操作,请勿关窗口 ！,",
                                     "Read-write operating，don't close the window. ,")});
        return false;
    }
    leave();
    return true;
}

void RadioLink::leave()
{
    if (state_ != State::Done)
        enter(State::Idle);
    handshaken_ = false;
    stopTimer(ClosePoll);
    waiting_.clear();
    if (!io_.isPortOpen())
        return;
    if (const QByteArray bytes = exchange_.rules().leaveBytes; !bytes.isEmpty())
        io_.write(bytes);
    io_.closePort();
}

void RadioLink::sendNow()
{
    if (!linkUp())
        return;
    switch (state_) {
    case State::Linked:
    case State::FrameQueued:
    case State::AwaitingReply:
        break;
    default:
        return; // the identification is not through yet, or the attempt has ended
    }
    const QByteArray frame = exchange_.requestedFrame();
    if (frame.isEmpty())
        return;
    // A frame that has not left yet goes with the newer contents, on the
    // trigger already running: moves in quick succession cannot hold it back.
    if (state_ == State::FrameQueued) {
        txFrame_ = frame;
        return;
    }
    afterReply_ = false;
    SendFrame(frame);
}

bool RadioLink::OpenPort()
{
    const PortOpenResult result = io_.openPort(exchange_.rules().discardOutputOnOpen);
    waiting_.clear();
    if (!result.ok) {
        // Rest first: the message box runs the event loop, and a retry
        // delay still running would start an attempt beneath it that the
        // end of this one then abandons with the port open.
        enter(State::Idle);
        if (result.heldHere) {
            // Another of our windows talks to the radio: nothing is wrong
            // with the port setting, so the port flag stays as it is.
            view_.showMessage({TransferInProgress()});
            return false;
        }
        view_.showMessage({PortErrorText(result)});
    }
    view_.portOpenTried(result.ok);
    return result.ok;
}

void RadioLink::StartAttempt()
{
    if (busy())
        return;
    if (!io_.isPortOpen() && !OpenPort()) {
        enter(State::Idle);
        view_.transferEnded(false);
        return;
    }
    handshaken_ = false;
    afterReply_ = false;
    discardInput();
    exchange_.restart();
    txFrame_ = Handshake();
    enter(State::Handshake);
}

void RadioLink::SendFrame(const QByteArray &frame)
{
    txFrame_ = frame;
    enter(State::FrameQueued);
}

void RadioLink::sendTriggerFired()
{
    if (state_ == State::Settling) {
        // The line stayed quiet after the last reply: it was not shifted. A
        // line that dropped meanwhile sent no byte either.
        complete();
        return;
    }
    if (!io_.isPortOpen()) {
        endAttempt();
        return;
    }
    // Whatever came in since the last reply was handled (the tail of a long
    // identification, line noise) would shift the next reply: drop it.
    discardInput();
    // The whole frame leaves within this tick; the reply timeout covers the
    // sending (2000 ms) and then the answer (1000 ms after the last byte).
    startTimer(ReplyTimeout, ReplyWhileSendingMs);
    io_.write(txFrame_);
    enter(state_ == State::Handshake ? State::Identifying : State::AwaitingReply);
}

void RadioLink::bytesArrived(const QByteArray &bytes)
{
    // One receive notification per byte, as the port delivers them. The
    // bytes of this batch behind the current one are already waiting: when
    // a handler discards the waiting input, they go with it.
    const int discardsBefore = discards_;
    for (char byte : bytes) {
        if (!io_.isPortOpen() || discards_ != discardsBefore)
            return;
        waiting_.append(byte);
        receive();
    }
}

void RadioLink::receive()
{
    switch (state_) {
    case State::Handshake:
    case State::Identifying:
        checkIdentification();
        break;
    case State::FrameQueued:
        // Nothing that comes before a frame has left is part of its reply.
        if (afterReply_ && exchange_.rules().strictFraming)
            endAttempt();
        else
            waiting_.clear();
        break;
    case State::AwaitingReply:
        takeReply();
        break;
    case State::Settling:
        endAttempt();
        break;
    case State::Idle:
    case State::RetryWait:
    case State::Done:
    case State::Linked:
        waiting_.clear();
        break;
    }
}

void RadioLink::checkIdentification()
{
    if (waiting_.size() < IdentLength)
        return;
    for (int i = 0; i < IdentLength; ++i)
        rxBuffer_[i] = uint8_t(waiting_.at(i));
    // The search runs past the 9 fresh bytes into what earlier replies left
    // in the buffer; only a start below 10 counts.
    int found = -1;
    for (int p = 0; p <= 20 && found < 0; ++p) {
        bool match = true;
        for (int k = 0; k < RadioIdent.size() && match; ++k)
            match = rxBuffer_[p + k] == uint8_t(RadioIdent.at(k));
        if (match)
            found = p;
    }
    discardInput();
    if (found < 0 || found >= 10)
        return; // the reply timeout ends the attempt
    for (int i = 0; i <= 20; ++i)
        rxBuffer_[i] = rxBuffer_[found + i];
    // The exchange takes the identification while the flag is still clear:
    // what its owner does with it asks for no frame yet.
    const QByteArray first = exchange_.begin(rxBuffer_);
    handshaken_ = true;
    afterReply_ = false;
    SendFrame(first);
    discardInput();
}

void RadioLink::takeReply()
{
    const ReplyStep step = exchange_.takeReply(waiting_);
    if (step.kind == ReplyStep::Incomplete)
        return;
    // Anything the port still holds is left alone, so that it shows up as a
    // framing error instead of being flushed unseen.
    if (!step.answer.isEmpty())
        io_.write(step.answer);
    if (step.kind == ReplyStep::Answered) {
        enter(State::Linked);
        view_.linked();
        return;
    }
    if (step.kind == ReplyStep::Last) {
        // Late bytes get the same time as after every other reply.
        if (exchange_.rules().strictFraming)
            enter(State::Settling);
        else
            complete();
        return;
    }
    afterReply_ = true;
    SendFrame(exchange_.nextFrame(view_));
}

void RadioLink::endAttempt()
{
    enter(State::RetryWait);
    if (io_.isPortOpen())
        io_.closePort();
    waiting_.clear();
}

void RadioLink::portFailed()
{
    // Every reply is in and acknowledged; the quiet period only looks for
    // extra bytes, and a dropped line brings none.
    if (state_ == State::Settling)
        complete();
    else if (busy())
        endAttempt();
    else if (state_ == State::Linked)
        enter(State::Idle); // the watch finds the link down
}

void RadioLink::retryDelayExpired()
{
    if (retriesLeft_ < 1) {
        enter(State::Idle);
        view_.showMessage({Bilingual("与对讲机联络失败 ！", "Fail connect with transceiver.")});
        view_.setProgress(0);
        view_.setStatus(Bilingual("与对讲机通讯故障 ！", "Communication fault."));
        view_.transferEnded(false);
        return;
    }
    --retriesLeft_;
    enter(State::Idle);
    StartAttempt();
}

void RadioLink::complete()
{
    enter(State::Idle);
    const Completion completion = exchange_.complete(view_);
    if (!completion.finalBytes.isEmpty())
        io_.write(completion.finalBytes);
    io_.closePort();
    view_.transferEnded(true);
    // Done only once the message is acknowledged: the close poll keeps
    // running under it and would unload the window beneath it.
    if (completion.message)
        view_.showMessage(*completion.message);
    enter(State::Done);
    if (const int ms = exchange_.rules().closePollAfterCompletionMs)
        startTimer(ClosePoll, ms);
}

void RadioLink::timerExpired(int timer)
{
    if (timer < 1 || timer > TimerCount || !running_[timer])
        return;
    switch (timer) {
    case SendTrigger:
        sendTriggerFired();
        break;
    case ReplyTimeout:
        endAttempt();
        break;
    case RetryDelay:
        retryDelayExpired();
        break;
    case ClosePoll:
        if (done()) {
            view_.closeWindow();
        } else if (exchange_.rules().watchLink && !linkUp()) {
            leave();
            view_.closeWindow();
        }
        break;
    }
}

void RadioLink::discardInput()
{
    ++discards_;
    waiting_.clear();
    io_.discardInput();
}

void RadioLink::startTimer(int timer, int milliseconds)
{
    running_[timer] = true;
    io_.startTimer(timer, milliseconds);
}

void RadioLink::stopTimer(int timer)
{
    running_[timer] = false;
    io_.stopTimer(timer);
}
