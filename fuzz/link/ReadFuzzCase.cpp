// The read: requests for blocks 0..253 in order, each reply taken from
// the first 21 bytes that arrived after its request and nothing else on
// the line until the next request; only such a read is stored, and a
// failed one leaves the image alone.
#include "LinkFuzzCase.h"
#include "ReadExchange.h"

#include <memory>

namespace {

QByteArray Request(int block) { return BlockFrameHead('R', block); }

class ReadFuzzCase : public LinkFuzzCase {
public:
    ReadFuzzCase()
    {
        image_ = std::make_unique<ImageTable>();
        for (int r = 0; r < ImageRows; ++r)
            for (int c = 0; c < ImageColumns; ++c)
                (*image_)[r][c] = int16_t((r + 3 * c) % 256);
        before_ = std::make_unique<ImageTable>(*image_);
    }

    LinkExchange &exchange() override { return read_; }

    void checkWrite(const LineLog &attempt) override
    {
        const QByteArray &bytes = attempt.back().bytes;
        if (bytes == RadioLink::Handshake()) {
            requests_ = 0;
            return;
        }
        if (bytes.size() == 1 && bytes.at(0) == AckByte)
            return;
        // Requests go in order from block 0, each after the reply to the one before.
        const int expected = requests_++;
        const QByteArray wanted = expected == 0 ? FirstRequest() : Request(expected);
        FUZZ_CHECK(expected < ReadBlockCount && bytes == wanted,
                   "the read sent " + bytes.toHex(' ').toStdString() + " as request "
                       + std::to_string(expected));
    }

    void transferEnded(bool completed, const LineLog &attempt) override
    {
        if (!completed) {
            FUZZ_CHECK(*image_ == *before_, "a failed read changed the image");
            return;
        }
        // Every block's reply arrived after its request, whole, in order.
        std::vector<size_t> at;
        for (size_t i = 0; i < attempt.size(); ++i)
            if (attempt[i].written && isRequest(attempt[i].bytes))
                at.push_back(i);
        FUZZ_CHECK(at.size() == size_t(ReadBlockCount),
                   "a read completed after " + std::to_string(at.size()) + " requests");
        for (int k = 0; k < ReadBlockCount; ++k) {
            const size_t next = k + 1 < ReadBlockCount ? at[k + 1] : attempt.size();
            FUZZ_CHECK(ArrivedBetween(attempt, at[k], next) == 21,
                       "block " + std::to_string(k) + " of a completed read had "
                           + std::to_string(ArrivedBetween(attempt, at[k], next))
                           + " bytes on the line");
            const QByteArray reply = ArrivedAfter(attempt, at[k], 21);
            const RadioBlock &block = read_.blocks()[k];
            FUZZ_CHECK(reply.mid(5)
                           == QByteArray(reinterpret_cast<const char *>(block.data()), BlockSize),
                       "block " + std::to_string(k) + " is not the data of its reply");
        }
        StoreBlocks(read_.blocks(), *image_);
        *before_ = *image_;
    }

private:
    static const QByteArray &FirstRequest()
    {
        static const QByteArray first = QByteArray(1, AckByte) + Request(0);
        return first;
    }
    static bool isRequest(const QByteArray &bytes)
    {
        return bytes.size() == 4 ? bytes.at(0) == 'R' : bytes == FirstRequest();
    }

    ReadExchange read_;
    int requests_ = 0; // sent in this attempt
    // The image the read window stores into, and what it held before.
    std::unique_ptr<ImageTable> image_;
    std::unique_ptr<ImageTable> before_;
};

} // namespace

std::unique_ptr<LinkFuzzCase> MakeReadFuzzCase(FuzzInput &)
{
    return std::make_unique<ReadFuzzCase>();
}
