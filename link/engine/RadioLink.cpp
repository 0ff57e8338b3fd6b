#include "RadioLink.h"

#include "Globals.h"
#include "PortErrorText.h"
#include "WritePreparation.h"

#include <cmath>

namespace {

constexpr int SendTriggerMs = 15;
constexpr int ReplyAfterByteMs = 2000;
constexpr int ReplyAfterFrameMs = 1000;
constexpr int RetryDelayMs = 5000;
constexpr int ReadPollMs = 200;
constexpr int WritePollMs = 500;
constexpr int Retries = 3;
constexpr int IdentLength = 9;
constexpr int ReplyLength = 21;
constexpr char Ack = 0x06;
constexpr char EndOfWrite = 0x45;
const QByteArray RadioIdent = QByteArrayLiteral("QL271");

// Integer part of part / whole * 100, computed the way the progress always
// has been (in floating point).
int Percent(int part, int whole) { return int(std::floor(double(part) / whole * 100.0)); }

QByteArray BlockAddress(char command, int block)
{
    QByteArray frame;
    frame.append(command);
    frame.append(char(block / 16));
    frame.append(char((block * 16) % 256));
    frame.append(char(0x10));
    return frame;
}

QByteArray BlockData(int block)
{
    QByteArray data;
    for (int c = 0; c < BlockSize; ++c)
        data.append(char(uint8_t(RadioData[block][c])));
    return data;
}

} // namespace

RadioLink::RadioLink(LinkMode mode, LinkIo &io, LinkView &view) : mode_(mode), io_(io), view_(view)
{
}

const QByteArray &RadioLink::Handshake()
{
    static const QByteArray handshake = QByteArrayLiteral("PROGRAM\x02");
    return handshake;
}

void RadioLink::windowOpened()
{
    done_ = false;
    if (mode_ == LinkMode::Read)
        startTimer(ClosePoll, ReadPollMs);
    else
        stopTimer(ClosePoll);
}

void RadioLink::startPressed()
{
    // The transfer is complete and the close poll is about to unload the
    // window; a new attempt would make it refuse to close, again and again.
    if (done_)
        return;
    if (busy_) {
        view_.showMessage({{QStringLiteral("正在与对讲机进行读写操作 ！"),
                            QStringLiteral("Read-write operating with transceiver .")}});
        return;
    }
    if (mode_ == LinkMode::Write) {
        if (const auto refusal = PrepareWrite()) {
            view_.showMessage({*refusal});
            return;
        }
    }
    // A retry still pending from an earlier transfer would stop this one's
    // reply timeout when it fires and leave it waiting for good.
    stopTimer(RetryDelay);
    retriesLeft_ = Retries;
    startAttempt();
    if (!PortErrorFlag) {
        view_.setProgress(0);
        setStatus("正在与对讲机联络 ！", "Connecting with transceiver. ");
    }
}

bool RadioLink::closeRequested()
{
    if (busy_) {
        view_.showMessage({{QStringLiteral("正在进行读写操作,请勿关窗口 ！,"),
                            QStringLiteral("Read-write operating，don't close the window. ,")}});
        return false;
    }
    for (int timer = 1; timer <= TimerCount; ++timer)
        stopTimer(timer);
    if (io_.isPortOpen())
        io_.closePort();
    return true;
}

void RadioLink::openPort()
{
    PortErrorFlag = false;
    const PortOpenResult result = io_.openPort(mode_ == LinkMode::Write);
    waiting_.clear();
    if (!result.ok) {
        PortErrorFlag = true;
        view_.showMessage({PortErrorText(result)});
    }
}

void RadioLink::startAttempt()
{
    if (busy_)
        return;
    if (!io_.isPortOpen()) {
        openPort();
        if (PortErrorFlag) {
            view_.transferEnded(false);
            return;
        }
    }
    handshaken_ = false;
    lastReplyTaken_ = false;
    discardInput();
    blockCounter_ = 0;
    lastBlock_ = mode_ == LinkMode::Read ? ReadBlockCount : WriteBlockCount;
    busy_ = true;
    sendFrame(Handshake());
}

void RadioLink::sendFrame(const QByteArray &frame)
{
    txFrame_ = frame;
    frameSent_ = false;
    startTimer(SendTrigger, SendTriggerMs);
}

void RadioLink::sendTriggerFired()
{
    if (!io_.isPortOpen()) {
        endAttempt();
        return;
    }
    if (lastReplyTaken_) {
        // The line stayed quiet after the last reply: it was not shifted.
        completeRead();
        return;
    }
    // Whatever came in since the last reply was handled (the tail of a long
    // identification, line noise) would shift the next reply: drop it.
    discardInput();
    betweenReplyAndRequest_ = false;
    // The whole frame leaves within this tick; the reply timeout covers the
    // sending (2000 ms) and then the answer (1000 ms after the last byte).
    startTimer(ReplyTimeout, ReplyAfterByteMs);
    io_.write(txFrame_);
    startTimer(ReplyTimeout, ReplyAfterFrameMs);
    stopTimer(SendTrigger);
    frameSent_ = true;
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
    if (handshaken_) {
        if (mode_ == LinkMode::Read)
            receiveBlockReply();
        else
            receiveAcknowledge();
        return;
    }
    checkIdentification();
}

void RadioLink::receiveBlockReply()
{
    if (betweenReplyAndRequest_) {
        // A reply is exactly 21 bytes; more means every following block
        // would be read shifted. End the attempt as a silent radio would.
        endAttempt();
        return;
    }
    if (!frameSent_) {
        // Before the first request has left: the tail of a long
        // identification or noise, never part of block 0's reply.
        waiting_.clear();
        return;
    }
    if (waiting_.size() < ReplyLength)
        return;
    stopTimer(ReplyTimeout);
    for (int i = 0; i < ReplyLength; ++i)
        RawBlocks[blockCounter_][i] = int16_t(uint8_t(waiting_.at(i)));
    // Bytes one at a time: nothing else is waiting here. Anything the port
    // still holds is left alone, so that it shows up as a framing error
    // instead of being flushed unseen.
    waiting_.clear();
    io_.write(QByteArray(1, Ack));
    if (blockCounter_ >= lastBlock_) {
        // Give late bytes the same time as after every other block.
        lastReplyTaken_ = true;
        betweenReplyAndRequest_ = true;
        startTimer(SendTrigger, SendTriggerMs);
        return;
    }
    sendFrame(BlockAddress('R', blockCounter_));
    ++blockCounter_;
    betweenReplyAndRequest_ = true;
    view_.setProgress(Percent(blockCounter_, 255));
    const QString n = QString::number(blockCounter_);
    view_.setStatus({QStringLiteral("正在读取 ") + n + QStringLiteral(" 数据块"),
                     QStringLiteral("Reading ") + n + QStringLiteral(" Data Block")});
}

void RadioLink::receiveAcknowledge()
{
    const char byte = waiting_.at(0);
    waiting_.remove(0, 1);
    rxBuffer_[0] = uint8_t(byte);
    if (byte != Ack || !frameSent_)
        return; // dropped; the reply timeout ends the attempt
    stopTimer(ReplyTimeout);
    if (blockCounter_ >= lastBlock_) {
        completeWrite();
        return;
    }
    view_.setProgress(Percent(blockCounter_, lastBlock_));
    const QString m = QString::number(blockCounter_ - 1);
    view_.setStatus({QStringLiteral("正在写入  ") + m + QStringLiteral("  数据块"),
                     QStringLiteral("Writing  ") + m + QStringLiteral("  Data Block")});
    const int block = blockCounter_;
    ++blockCounter_;
    sendFrame(BlockAddress('W', block) + BlockData(block));
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
        return;
    for (int i = 0; i <= 20; ++i)
        rxBuffer_[i] = rxBuffer_[found + i];
    identificationAccepted();
}

void RadioLink::identificationAccepted()
{
    handshaken_ = true;
    stopTimer(ReplyTimeout);
    stopTimer(RetryDelay);
    if (mode_ == LinkMode::Read) {
        blockCounter_ = 1;
        sendFrame(QByteArray(1, Ack) + BlockAddress('R', 0));
    } else {
        blockCounter_ = 1;
        discardInput();
        sendFrame(QByteArray(1, Ack) + BlockAddress('W', 0) + BlockData(0));
    }
    discardInput();
}

void RadioLink::endAttempt()
{
    stopTimer(SendTrigger);
    stopTimer(ReplyTimeout);
    if (!running_[RetryDelay])
        startTimer(RetryDelay, RetryDelayMs);
    if (io_.isPortOpen())
        io_.closePort();
    busy_ = false;
    betweenReplyAndRequest_ = false;
    lastReplyTaken_ = false;
    waiting_.clear();
}

void RadioLink::portFailed()
{
    if (busy_)
        endAttempt();
    else if (io_.isPortOpen())
        io_.closePort();
}

void RadioLink::retryDelayExpired()
{
    stopTimer(SendTrigger);
    stopTimer(ReplyTimeout);
    stopTimer(RetryDelay);
    if (retriesLeft_ < 1) {
        view_.showMessage({{QStringLiteral("与对讲机联络失败 ！"),
                            QStringLiteral("Fail connect with transceiver.")}});
        view_.setProgress(0);
        setStatus("与对讲机通讯故障 ！", "Communication fault.");
        view_.transferEnded(false);
        return;
    }
    --retriesLeft_;
    startAttempt();
}

void RadioLink::completeRead()
{
    lastReplyTaken_ = false;
    betweenReplyAndRequest_ = false;
    stopTimer(SendTrigger);
    stopTimer(ReplyTimeout);
    stopTimer(RetryDelay);
    busy_ = false;
    io_.closePort();
    for (int r = 1; r <= ReadBlockCount; ++r)
        for (int c = 5; c < ReplyLength; ++c)
            RadioData[r - 1][c - 5] = RawBlocks[r][c];
    view_.setProgress(100);
    setStatus("数据读出正常 ！", "Read Data in gear. ");
    view_.transferEnded(true);
    view_.showMessage({{QStringLiteral("从对讲机中读取数据完毕 ！"),
                        QStringLiteral("Complete reading the data from transceiver.")},
                       true});
    done_ = true;
}

void RadioLink::completeWrite()
{
    stopTimer(SendTrigger);
    stopTimer(ReplyTimeout);
    stopTimer(RetryDelay);
    startTimer(ClosePoll, WritePollMs);
    done_ = true;
    busy_ = false;
    io_.write(QByteArray(1, EndOfWrite));
    io_.closePort();
    setStatus("数据写入完毕 ！", "Complete writing Data ");
    view_.transferEnded(true);
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
        if (done_)
            view_.closeWindow();
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

void RadioLink::setStatus(const char *chinese, const char *english)
{
    view_.setStatus({QString::fromUtf8(chinese), QString::fromUtf8(english)});
}
