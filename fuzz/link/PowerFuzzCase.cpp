// The power session: nothing goes out before the identification has been
// taken but the handshake; after it every frame is exactly the power frame
// of the block the owner holds at that moment, however the sliders moved;
// the leave byte goes only as the open port closes; the port stays open at
// rest only while the link is up; and a session never completes.
#include "LinkFuzzCase.h"
#include "PowerExchange.h"

#include <memory>

namespace {

class PowerFuzzCase : public LinkFuzzCase {
public:
    explicit PowerFuzzCase(FuzzInput &input)
        : power_({[this](const PowerLevels &) { identified_ = true; }, [this] { return block_; }})
    {
        const uint8_t seed = input.byte();
        for (int i = 0; i < BlockSize; ++i)
            block_[size_t(i)] = uint8_t(seed + 13 * i);
    }

    LinkExchange &exchange() override { return power_; }

    // A slider moves: one byte of the block changes, and the owner asks for
    // the frame at once, whatever the link is doing.
    void userAction(FuzzInput &input, RadioLink &link) override
    {
        const int column = input.range(0, BlockSize - 1);
        block_[size_t(column)] = input.byte();
        link.sendNow();
    }

    void checkWrite(const LineLog &attempt) override
    {
        const QByteArray &bytes = attempt.back().bytes;
        FUZZ_CHECK(!leaving_, "written after the leave byte before the port closed: "
                                  + bytes.toHex(' ').toStdString());
        if (bytes == RadioLink::Handshake()) {
            identified_ = false;
            return;
        }
        if (bytes == QByteArray(1, 'b')) {
            leaving_ = true;
            return;
        }
        FUZZ_CHECK(identified_, "sent " + bytes.toHex(' ').toStdString()
                                    + " before the identification was taken");
        FUZZ_CHECK(bytes == PowerFrame(block_),
                   "sent " + bytes.toHex(' ').toStdString()
                       + ", not the power frame of the block held now");
    }

    void portClosed() override { leaving_ = false; }

    void transferEnded(bool completed, const LineLog &) override
    {
        FUZZ_CHECK(!completed, "a power session reported a completed transfer");
    }

    bool mayHoldPortAtRest(const RadioLink &link) const override
    {
        return link.state() == RadioLink::State::Linked;
    }

private:
    RadioBlock block_{};
    bool identified_ = false; // in this attempt
    bool leaving_ = false; // the leave byte went out; the port must close next
    PowerExchange power_;
};

} // namespace

std::unique_ptr<LinkFuzzCase> MakePowerFuzzCase(FuzzInput &input)
{
    return std::make_unique<PowerFuzzCase>(input);
}
