// The channel file reader against any bytes: a file is either read whole
// into the image or refused with a message, never both; a refusal leaves
// the image as it was; what it reads formats and reads back the same.
#include "ChannelFile.h"
#include "FuzzCheck.h"

#include <cstdint>
#include <memory>

namespace {

bool SameCells(const ImageTable &a, const ImageTable &b)
{
    for (int r = 0; r < ImageRows; ++r)
        for (int c = 0; c < ImageColumns; ++c)
            if (a[r][c] != b[r][c])
                return false;
    return true;
}

// An image held before the file: every cell a different value, out-of-file
// cells included, so any stray write shows.
const ImageTable &HeldImage()
{
    static const std::unique_ptr<ImageTable> image = [] {
        auto held = std::make_unique<ImageTable>();
        for (int r = 0; r < ImageRows; ++r)
            for (int c = 0; c < ImageColumns; ++c)
                (*held)[r][c] = int16_t((r * 37 + c * 11) % 300 - 20);
        return held;
    }();
    return *image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    auto image = std::make_unique<ImageTable>(HeldImage());
    ChannelFileError error;
    const bool read = ParseChannelFile(text, *image, &error);
    if (!read) {
        FUZZ_CHECK(error.kind != ChannelFileError::Kind::None, "a refusal without a kind");
        FUZZ_CHECK(!error.message.english.isEmpty() && !error.message.chinese.isEmpty(),
                   "a refusal without a message");
        FUZZ_CHECK(SameCells(*image, HeldImage()), "a refused file changed the image");
        return 0;
    }
    FUZZ_CHECK(error.kind == ChannelFileError::Kind::None && error.message.english.isEmpty()
                   && error.message.chinese.isEmpty(),
               "a file read with a refusal message");
    for (int r = 0; r < ImageRows; ++r)
        for (int c = 0; c < ImageColumns; ++c) {
            const bool inFile = r < UsedRows && c < BlockSize;
            if (inFile)
                FUZZ_CHECK((*image)[r][c] >= 0 && (*image)[r][c] <= 255,
                           "a value outside 0..255 was read");
            else
                FUZZ_CHECK((*image)[r][c] == HeldImage()[r][c],
                           "a cell outside the file's rows and columns changed");
        }

    // Format, then parse into another image that starts different.
    const QByteArray again = FormatChannelFile(*image);
    auto reread = std::make_unique<ImageTable>(HeldImage());
    ChannelFileError secondError;
    FUZZ_CHECK(ParseChannelFile(again, *reread, &secondError), "a formatted image was refused");
    FUZZ_CHECK(SameCells(*reread, *image), "parse, format, parse gave another image");
    return 0;
}
