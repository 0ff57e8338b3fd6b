// The number and frequency conversions against any text and any cell
// values: nothing crashes or overflows, a stored frequency is four bytes of
// packed BCD (no digit above 9) that read back as the normalised text's
// value (clamped to what eight digits hold, 10 Hz steps), and the texts
// of stored codes convert back to the same code; tone list positions and
// name codes store what they show.
#include "Conversions.h"
#include "FuzzCheck.h"
#include "FuzzInput.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

bool IsBcd(int byte) { return byte >= 0 && byte <= 0x99 && (byte & 0x0F) <= 9 && (byte >> 4) <= 9; }

std::string Quote(const QString &text) { return text.toStdString(); }

void CheckBcd(const BcdBytes &code, const QString &text)
{
    for (uint8_t byte : {code.B3, code.B2, code.B1, code.B0})
        FUZZ_CHECK(IsBcd(byte),
                   "TextToBcd(\"" + Quote(text) + "\") gave a byte that is no packed BCD");
}

void CheckStore(FuzzInput &input, const QString &text)
{
    const int row = input.range(0, ImageRows - 1);
    const int column = input.range(0, ImageColumns - 4);
    auto image = std::make_unique<ImageTable>();
    for (auto &r : *image)
        r.fill(-7);
    const QString normalised = StoreFrequency(*image, text, row, column);
    for (int r = 0; r < ImageRows; ++r)
        for (int c = 0; c < ImageColumns; ++c) {
            const bool stored = r == row && c >= column && c < column + 4;
            if (!stored) {
                FUZZ_CHECK((*image)[r][c] == -7, "StoreFrequency wrote outside its four cells");
                continue;
            }
            FUZZ_CHECK(IsBcd((*image)[r][c]), "StoreFrequency(\"" + Quote(text)
                                                  + "\") stored a byte that is no packed BCD");
        }
    // What it stored reads back as the normalised text's value, cut to
    // 10 Hz; values beyond the eight digits are held at their limits.
    const double wanted = NumericValue(normalised);
    const double limit = 999.99999;
    const double expected = !(wanted > 0) ? 0 : std::min(wanted, limit);
    const double back = CellsFrequency(*image, row, column);
    FUZZ_CHECK(back <= expected + 1e-8 && back >= expected - 0.00001 - 1e-8,
               "StoreFrequency(\"" + Quote(text) + "\") stored " + std::to_string(back) + " for "
                   + std::to_string(expected));
    // The text of stored bytes stores the same bytes again.
    const auto &cells = (*image)[row];
    const QString shown =
        BcdToText(cells[column], cells[column + 1], cells[column + 2], cells[column + 3]);
    auto again = std::make_unique<ImageTable>(*image);
    StoreFrequency(*again, shown, row, column);
    for (int c = column; c < column + 4; ++c)
        FUZZ_CHECK((*again)[row][c] == (*image)[row][c],
                   "the text " + Quote(shown) + " of a stored frequency stores other bytes");
}

// The tone lists and the name alphabet: what a list shows for stored codes
// stores those codes again, whatever bytes a file brought.
void CheckToneAndName(FuzzInput &input)
{
    const int type = input.range(0, 255);
    const int index = input.range(0, 255);
    const int position = TonePosition(type, index);
    FUZZ_CHECK(position >= -1 && position <= ToneDcsInvertLast,
               "TonePosition(" + std::to_string(type) + ", " + std::to_string(index)
                   + ") is outside the list");
    if (position >= 0) {
        FUZZ_CHECK(!ToneList[position].isEmpty(), "TonePosition chose an empty list entry");
        const ToneCode back = ToneFromPosition(position);
        FUZZ_CHECK(TonePosition(back.type, back.index) == position,
                   "the tone at position " + std::to_string(position) + " stores another position");
        FUZZ_CHECK(type == ErasedByte || index == ErasedByte || back.type == type,
                   "the tone list changed the tone type " + std::to_string(type));
    }
    const int chosen = input.range(-300, 600);
    const ToneCode code = ToneFromPosition(chosen);
    const int shown = TonePosition(code.type, code.index);
    FUZZ_CHECK(shown == std::clamp(chosen, 0, int(ToneDcsInvertLast)),
               "list position " + std::to_string(chosen) + " stores a tone shown at "
                   + std::to_string(shown));

    const QChar typed(char16_t(input.range(0, 0xFFFF)));
    const int nameCode = CharToCode(QString(typed));
    FUZZ_CHECK(nameCode >= 0 && nameCode <= 40, "CharToCode gave a code outside the alphabet");
    // A character of the alphabet, either case, gets its own code; any
    // other the blank's (11).
    int expected = 11;
    for (int k = 0; k <= 40; ++k)
        if (CodeToChar(k) == QString(typed.toUpper()))
            expected = k;
    FUZZ_CHECK(nameCode == expected, "the typed character U+" + std::to_string(typed.unicode())
                                         + " got name code " + std::to_string(nameCode) + ", not "
                                         + std::to_string(expected));
    const int stored = input.range(0, 40);
    FUZZ_CHECK(CharToCode(CodeToChar(stored)) == stored,
               "name code " + std::to_string(stored) + " reads back as another code");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const int mode = input.byte();
    const QByteArray raw = input.bytes(input.range(0, 64));
    const QString text = mode & 1 ? QString::fromLatin1(raw) : QString::fromUtf8(raw);

    const double value = NumericValue(text);
    FUZZ_CHECK(!std::isnan(value), "NumericValue gave NaN");
    const QString number = NumberText(value);
    FUZZ_CHECK(!number.isEmpty(), "NumberText gave nothing");
    // Within the range texts are typed in, the number text reads back.
    if (std::fabs(value) < 1e12 && value != 0) {
        const double back = NumericValue(number);
        FUZZ_CHECK(std::fabs(back - value) <= std::fabs(value) * 1e-14,
                   "NumberText does not read back");
    }
    SignedNumberText(value);
    CheckBcd(TextToBcd(text), text);
    CheckStore(input, text);

    // Any double at all: a raw bit pattern from the input.
    double any = 0;
    const QByteArray bits = input.bytes(8);
    std::memcpy(&any, bits.leftJustified(8, '\0').constData(), 8);
    NumberText(any);
    SignedNumberText(any);

    // Any cells, erased and out-of-range ones included.
    int cells[4];
    for (int &cell : cells)
        cell = int16_t(input.range(0, 0xFFFF));
    const QString shown = BcdToText(cells[0], cells[1], cells[2], cells[3]);
    FUZZ_CHECK(!shown.isEmpty(), "BcdToText gave nothing");
    CheckBcd(TextToBcd(shown), shown);

    FmChannelText(input.range(-40000, 40000));
    CheckToneAndName(input);
    return 0;
}
