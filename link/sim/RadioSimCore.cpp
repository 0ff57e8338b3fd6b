#include "RadioSimCore.h"

#include "Conversions.h"
#include "Globals.h"
#include "ImageRoutines.h"
#include "RecordCodec.h"

#include <memory>

namespace {

const QByteArray Handshake = QByteArrayLiteral("PROGRAM\x02");
constexpr qint64 FrameGapMs = 300;
constexpr int PowerAddress = 0xF00;
constexpr char Ack = 0x06;
constexpr char Nak = 0x15;
constexpr char Noise = char(0xA5);

int Address(const QByteArray &frame) { return (uint8_t(frame.at(1)) << 8) | uint8_t(frame.at(2)); }

} // namespace

namespace {

// Builds an image with the program's own routines, on an image of its own
// so the program's globals stay as they are.
RadioMemory BuildMemory(bool withChannels)
{
    auto image = std::make_unique<ImageTable>();
    ResetImage(*image);
    if (withChannels) {
        for (int n = 1; n <= 8; ++n) {
            Record::Rx.store(*image, n, QString::number(446.00625 + (n - 1) * 0.0125, 'f', 5));
            Record::Offset.fill(*image, n, 0);
            // Every other channel with CTCSS.
            const ToneCode tone = n % 2 == 0 ? ToneCode{0, n} : ToneCode{255, 255};
            Record::Decode.set(*image, n, tone);
            Record::Encode.set(*image, n, tone);
            // Simplex and scanned; high, then low power; some narrow.
            (*image)[n][12] = (*image)[n][13] = 0;
            Record::Power.set(*image, n, n <= 4 ? 2 : 0);
            Record::Wide.set(*image, n, n % 3 == 0 ? 0 : 1);
            const QString name = QStringLiteral("PMR%1").arg(n);
            for (int k = 0; k < NameLength; ++k)
                NameCell(n, k).set(*image, k < name.size() ? CharToCode(name.mid(k, 1)) : 255);
        }
        SetPowerOnChannel(*image);
        BuildChannelMap(*image);
    }
    RadioMemory memory{};
    for (int a = 0; a < RadioMemorySize; ++a)
        memory[a] = uint8_t((*image)[a / BlockSize][a % BlockSize]);
    return memory;
}

} // namespace

const QByteArray &SimHandshake() { return Handshake; }

RadioMemory DefaultRadioMemory() { return BuildMemory(false); }
RadioMemory SampleRadioMemory() { return BuildMemory(true); }

RadioSimCore::RadioSimCore(const RadioMemory &memory, SimFaults faults)
    : memory_(memory), faults_(faults)
{ }

QString RadioSimCore::takeLog()
{
    QString log;
    log.swap(log_);
    return log;
}

void RadioSimCore::log(const QString &line) { log_ += line + QLatin1Char('\n'); }

std::optional<SimReply> RadioSimCore::feed(uint8_t byte, qint64 nowMs)
{
    if (faults_.silent || hungUp_)
        return std::nullopt;
    if (hangUpOnNextByte_) {
        // The computer has taken the reply (this is its acknowledge) and
        // sends its next request only after a pause: the line drops now.
        hungUp_ = true;
        return std::nullopt;
    }
    if (!frame_.isEmpty() && nowMs - lastByteMs_ > FrameGapMs) {
        counters_.ignored += int(frame_.size());
        frame_.clear();
    }
    lastByteMs_ = nowMs;
    frame_.append(char(byte));

    if (state_ == State::Idle) {
        if (frame_.endsWith(Handshake)) {
            frame_.clear();
            return identification();
        }
        if (frame_.size() >= Handshake.size())
            frame_.remove(0, frame_.size() - Handshake.size() + 1);
        return std::nullopt;
    }
    return onFrame();
}

std::optional<SimReply> RadioSimCore::onFrame()
{
    const char command = frame_.at(0);
    auto complete = [this](int length) { return frame_.size() >= length; };
    switch (command) {
    case Ack: // acknowledges our last answer; it also leads some frames
        frame_.clear();
        return std::nullopt;
    case 'P':
        if (!Handshake.startsWith(frame_)) {
            counters_.ignored += int(frame_.size());
            frame_.clear();
            return std::nullopt;
        }
        if (frame_ != Handshake)
            return std::nullopt;
        frame_.clear();
        return identification();
    case 'R':
        if (!complete(4))
            return std::nullopt;
        {
            const int block = Address(frame_) / 16;
            frame_.clear();
            return readBlock(block);
        }
    case 'W':
    case 'g':
        if (!complete(20))
            return std::nullopt;
        {
            const int address = Address(frame_);
            return writeBlock(address / 16, 20);
        }
    case 'E':
        frame_.clear();
        state_ = State::Idle;
        ++counters_.writeEnds;
        log(QStringLiteral("end of write"));
        return std::nullopt;
    case 'b':
        frame_.clear();
        state_ = State::Idle;
        ++counters_.leaves;
        log(QStringLiteral("leave"));
        return std::nullopt;
    default:
        ++counters_.ignored;
        frame_.clear();
        return std::nullopt;
    }
}

SimReply RadioSimCore::identification()
{
    state_ = State::Linked;
    ++counters_.handshakes;
    ++handshakes_;
    log(QStringLiteral("handshake"));
    const bool faulty = handshakes_ >= faults_.identFaultHandshake;
    QByteArray reply(faults_.identOffset, '\0');
    reply += faults_.wrongIdent && faulty ? QByteArrayLiteral("QL999") : QByteArrayLiteral("QL271");
    for (int i = 0; i < 3; ++i)
        reply.append(char(memory_[PowerAddress + i]));
    while (reply.size() < faults_.identLength)
        reply.append('\0');
    SimReply answer{reply, int(Handshake.size())};
    if (!faulty)
        return answer;
    if (faults_.splitIdentMs > 0) {
        answer.bytes = reply.left(4);
        answer.afterPause = reply.mid(4);
        answer.afterPauseMs = faults_.splitIdentMs;
        log(QStringLiteral("fault: identification split, the rest %1 ms later")
                .arg(faults_.splitIdentMs));
        faults_.splitIdentMs = 0;
    } else if (faults_.strayAfterIdent > 0) {
        answer.afterPause = QByteArray(faults_.strayAfterIdent, Noise);
        log(QStringLiteral("fault: %1 stray bytes after the identification")
                .arg(faults_.strayAfterIdent));
        faults_.strayAfterIdent = 0;
    }
    return answer;
}

bool RadioSimCore::fallsSilentAt(int block)
{
    if (faults_.silentFromBlock != block)
        return false;
    faults_.silent = true;
    log(QStringLiteral("fault: silent from block %1").arg(block));
    return true;
}

bool RadioSimCore::hangUpAt(int block)
{
    if (faults_.hangUpBlock != block)
        return false;
    hungUp_ = true;
    log(QStringLiteral("fault: hang-up at block %1").arg(block));
    return true;
}

std::optional<SimReply> RadioSimCore::readBlock(int block)
{
    if (block < 0 || block >= RadioMemorySize / 16 || hangUpAt(block) || fallsSilentAt(block))
        return std::nullopt;
    if (faults_.noReplyBlock == block) {
        faults_.noReplyBlock = -1;
        log(QStringLiteral("fault: no reply to block %1").arg(block));
        return std::nullopt;
    }
    if (faults_.nakRequestBlock == block) {
        faults_.nakRequestBlock = -1;
        log(QStringLiteral("fault: NAK to the request for block %1").arg(block));
        return SimReply{QByteArray(1, Nak), 4};
    }
    QByteArray reply;
    reply.append(Ack);
    reply.append('W');
    reply.append(char(block / 16));
    reply.append(char(block * 16 % 256));
    reply.append(char(0x10));
    for (int i = 0; i < 16; ++i)
        reply.append(char(memory_[block * 16 + i]));
    if (faults_.shortReplyBlock == block) {
        faults_.shortReplyBlock = -1;
        reply.chop(1);
        log(QStringLiteral("fault: short reply to block %1").arg(block));
    }
    if (faults_.noAckReplyBlock == block) {
        faults_.noAckReplyBlock = -1;
        reply.remove(0, 1);
        log(QStringLiteral("fault: reply to block %1 without its acknowledge").arg(block));
    }
    if (faults_.strayBlock == block) {
        faults_.strayBlock = -1;
        reply.prepend(QByteArray(faults_.strayCount, Noise));
        log(QStringLiteral("fault: %1 stray bytes before block %2")
                .arg(faults_.strayCount)
                .arg(block));
    }
    ++counters_.blocksRead;
    log(QStringLiteral("read block %1").arg(block));
    if (faults_.hangUpAfterBlock == block) {
        hangUpOnNextByte_ = true;
        log(QStringLiteral("fault: hang-up after block %1").arg(block));
    }
    return SimReply{reply, 4};
}

std::optional<SimReply> RadioSimCore::writeBlock(int block, int length)
{
    const bool power = frame_.at(0) == 'g';
    // A power frame before the one the faults wait for is answered as is.
    const bool armed = !power || ++powerFramesSeen_ >= faults_.powerFaultFrame;
    if (armed && faults_.shortReplyBlock == block) {
        // The frame's last byte was lost on the way: the radio still waits
        // for it (until the pause of a new frame abandons it).
        faults_.shortReplyBlock = -1;
        frame_.chop(1);
        log(QStringLiteral("fault: frame for block %1 cut short").arg(block));
        return std::nullopt;
    }
    const QByteArray data = frame_.mid(4, 16);
    frame_.clear();
    if (block < 0 || block >= RadioMemorySize / 16
        || (armed && (hangUpAt(block) || fallsSilentAt(block))))
        return std::nullopt;
    if (armed && faults_.noReplyBlock == block) {
        faults_.noReplyBlock = -1;
        log(QStringLiteral("fault: frame for block %1 ignored").arg(block));
        return std::nullopt;
    }
    if (armed && faults_.nakBlock == block) {
        faults_.nakBlock = -1;
        log(QStringLiteral("fault: NAK to block %1").arg(block));
        return SimReply{QByteArray(1, Nak), length};
    }
    for (int i = 0; i < 16; ++i)
        memory_[block * 16 + i] = uint8_t(data.at(i));
    if (!power && faults_.corruptBlock == block) {
        uint8_t &cell = memory_[block * 16 + faults_.corruptColumn];
        const uint8_t sent = cell;
        cell = faults_.corruptValue >= 0 ? uint8_t(faults_.corruptValue) : uint8_t(sent ^ 0x01);
        log(QStringLiteral("fault: block %1 column %2 stored as %3 instead of %4")
                .arg(block)
                .arg(faults_.corruptColumn)
                .arg(cell)
                .arg(sent));
    }
    if (armed && faults_.noAckBlock == block) {
        faults_.noAckBlock = -1;
        log(QStringLiteral("fault: no acknowledge to block %1").arg(block));
        return std::nullopt;
    }
    if (power) {
        ++counters_.powerFrames;
        log(QStringLiteral("power %1 %2 %3")
                .arg(memory_[block * 16])
                .arg(memory_[block * 16 + 1])
                .arg(memory_[block * 16 + 2]));
    } else {
        ++counters_.blocksWritten;
        log(QStringLiteral("write block %1").arg(block));
    }
    QByteArray ack(1, Ack);
    if (armed && faults_.strayBlock == block) {
        faults_.strayBlock = -1;
        ack.prepend(QByteArray(faults_.strayCount, Noise));
        log(QStringLiteral("fault: %1 stray bytes before the acknowledge of block %2")
                .arg(faults_.strayCount)
                .arg(block));
    }
    if (armed && faults_.hangUpAfterBlock == block) {
        // Nothing comes from the computer until its next frame; the line
        // drops while it waits to send that.
        hungUp_ = true;
        log(QStringLiteral("fault: hang-up after block %1").arg(block));
        return SimReply{ack, length, {}, true};
    }
    return SimReply{ack, length};
}
