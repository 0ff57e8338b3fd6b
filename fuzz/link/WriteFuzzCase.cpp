// The write: every frame carries the prepared image's block for the
// address it names, frames go in order from block 0, each after an
// acknowledge of the one before, and the end byte only after the last.
#include "LinkFuzzCase.h"
#include "WriteExchange.h"

#include <memory>
#include <optional>

namespace {

class WriteFuzzCase : public LinkFuzzCase {
public:
    explicit WriteFuzzCase(FuzzInput &input)
        : refusals_(input.byte()),
          seed_(input.byte()),
          write_([this](WriteBlocks &blocks) { return prepare(blocks); })
    { }

    LinkExchange &exchange() override { return write_; }

    void checkWrite(const LineLog &attempt) override
    {
        const QByteArray &bytes = attempt.back().bytes;
        if (bytes == RadioLink::Handshake()) {
            frames_ = 0;
            return;
        }
        if (isFrame(bytes))
            ++frames_;
        const int sent = frames_; // this write included when it is a frame
        if (bytes == QByteArray(1, 0x45)) {
            FUZZ_CHECK(sent == WriteBlockCount && ackedLast(attempt),
                       "the end byte before every block was acknowledged");
            return;
        }
        const int block = sent - 1;
        const QByteArray wanted = (block == 0 ? QByteArray(1, AckByte) : QByteArray())
                                  + BlockFrameHead('W', block) + prepared(block);
        FUZZ_CHECK(block < WriteBlockCount && bytes == wanted,
                   "the write sent " + bytes.toHex(' ').toStdString() + " as frame "
                       + std::to_string(block));
        if (block > 0)
            FUZZ_CHECK(ackedLast(attempt), "frame " + std::to_string(block)
                                               + " before the acknowledge of the one before");
    }

    void transferEnded(bool completed, const LineLog &attempt) override
    {
        FUZZ_CHECK(!completed
                       || (frames_ == WriteBlockCount && attempt.back().written
                           && attempt.back().bytes == QByteArray(1, 0x45)),
                   "a write completed without every frame and the end byte");
    }

private:
    // Refuses the first few starts, as a band check would.
    std::optional<BilingualText> prepare(WriteBlocks &blocks)
    {
        if (refusals_ % 4 > starts_++)
            return BilingualText{QStringLiteral("拒绝"), QStringLiteral("refused")};
        for (int k = 0; k < WriteBlockCount; ++k)
            for (int i = 0; i < BlockSize; ++i)
                blocks[k][i] = uint8_t(prepared(k).at(i));
        return std::nullopt;
    }
    QByteArray prepared(int block) const
    {
        QByteArray data;
        for (int i = 0; i < BlockSize; ++i)
            data.append(char((block * 31 + i * 7 + seed_) % 256));
        return data;
    }
    static bool isFrame(const QByteArray &bytes)
    {
        return bytes.size() >= 20 && bytes.at(bytes.size() - 17) == 0x10;
    }
    // An acknowledge arrived after the last frame before the newest write.
    static bool ackedLast(const LineLog &attempt)
    {
        for (size_t i = attempt.size() - 1; i-- > 0;) {
            if (attempt[i].written && isFrame(attempt[i].bytes))
                return false;
            if (!attempt[i].written && attempt[i].bytes.contains(AckByte))
                return true;
        }
        return false;
    }

    int refusals_;
    int seed_;
    int starts_ = 0;
    int frames_ = 0; // sent in this attempt
    WriteExchange write_;
};

} // namespace

std::unique_ptr<LinkFuzzCase> MakeWriteFuzzCase(FuzzInput &input)
{
    return std::make_unique<WriteFuzzCase>(input);
}
