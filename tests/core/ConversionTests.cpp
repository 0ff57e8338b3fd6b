#include "Conversions.h"
#include "Globals.h"

#include <QLocale>
#include <QRegularExpression>
#include <clocale>
#include <gtest/gtest.h>

namespace {

struct Bcd {
    int b3, b2, b1, b0;
};
Bcd ToBcd(const QString &text)
{
    const BcdBytes code = TextToBcd(text);
    return {code.B3, code.B2, code.B1, code.B0};
}

class Conversions : public ::testing::Test {
protected:
    void SetUp() override { ResetGlobals(); }

    ImageTable image{};
};

} // namespace

TEST_F(Conversions, NumericValueTakesLongestLeadingDecimal)
{
    EXPECT_DOUBLE_EQ(NumericValue("446.1abc"), 446.1);
    EXPECT_DOUBLE_EQ(NumericValue("  145.5  "), 145.5);
    EXPECT_DOUBLE_EQ(NumericValue("4 46"), 446); // blanks are skipped
    EXPECT_DOUBLE_EQ(NumericValue("abc"), 0);
    EXPECT_DOUBLE_EQ(NumericValue(""), 0);
    EXPECT_DOUBLE_EQ(NumericValue("."), 0);
    EXPECT_DOUBLE_EQ(NumericValue("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(NumericValue("-7.5"), -7.5);
    EXPECT_DOUBLE_EQ(NumericValue("12,5"), 12); // comma is never a decimal point
}

TEST_F(Conversions, NumberTextRoundsTo15SignificantDigits)
{
    EXPECT_EQ(NumberText(438.5 + 7.6), "446.1"); // 446.09999999999997 in full
    EXPECT_EQ(NumberText(446.1 - 438.5), "7.60000000000002"); // 15 digits, not shortest
    EXPECT_EQ(NumberText(400), "400");
    EXPECT_EQ(NumberText(0.00001), "0.00001"); // plain, never 1e-05
    EXPECT_EQ(NumberText(-3.25), "-3.25");
    EXPECT_EQ(NumberText(0), "0");
    EXPECT_EQ(SignedNumberText(400), " 400");
    EXPECT_EQ(SignedNumberText(-1), "-1");
}

TEST_F(Conversions, NumberTextIgnoresTheUserLocale)
{
    QLocale::setDefault(QLocale(QLocale::German));
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    EXPECT_EQ(NumberText(446.00625), "446.00625");
    EXPECT_DOUBLE_EQ(NumericValue("446.5"), 446.5);
    EXPECT_EQ(BcdToText(0x25, 0x06, 0x60, 0x44), "446.00625");
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, "C");
}

TEST_F(Conversions, ToneListHasExactTextsAndSections)
{
    EXPECT_EQ(ToneList[0], "   OFF      ");
    EXPECT_EQ(ToneList[1], "   67.0    ");
    EXPECT_EQ(ToneList[9], "   88.5    ");
    EXPECT_EQ(ToneList[10], "  91.5    ");
    EXPECT_EQ(ToneList[12], "  97.4    ");
    EXPECT_EQ(ToneList[13], "  100.0   ");
    EXPECT_EQ(ToneList[50], "  254.1   ");
    EXPECT_EQ(ToneList[51], "  D017N   ");
    EXPECT_EQ(ToneList[101], "  D266N   ");
    EXPECT_EQ(ToneList[102], " D271N   ");
    EXPECT_EQ(ToneList[157], " D754N   ");
    EXPECT_EQ(ToneList[158], "D017I");
    EXPECT_EQ(ToneList[264], "D754I");
    EXPECT_TRUE(ToneList[265].isEmpty());
    // The table is written out: each section rises, and every inverted code
    // is its normal one.
    for (int k = 2; k <= ToneCtcssLast; ++k)
        EXPECT_LT(ToneList[k - 1].toDouble(), ToneList[k].toDouble()) << k;
    static const QRegularExpression normal(QStringLiteral("^ {1,2}D[0-7]{3}N {3}$"));
    for (int k = ToneCtcssLast + 1; k <= ToneDcsNormalLast; ++k) {
        EXPECT_TRUE(normal.match(ToneList[k]).hasMatch()) << k;
        if (k > ToneCtcssLast + 1)
            EXPECT_LT(ToneList[k - 1].trimmed(), ToneList[k].trimmed()) << k;
        EXPECT_EQ(ToneList[k + ToneDcsNormalLast - ToneCtcssLast],
                  ToneList[k].trimmed().chopped(1) + u'I')
            << k;
    }
    EXPECT_EQ(ToneCtcssLast, 50);
    EXPECT_EQ(ToneDcsNormalLast, 157);
    EXPECT_EQ(ToneDcsInvertLast, 264);
}

TEST_F(Conversions, TonePositionsMapBothWaysWithClamping)
{
    const struct {
        int position, type, index;
    } cases[] = {{0, 255, 255}, {1, 0, 0},   {50, 0, 49},  {51, 1, 0},
                 {157, 1, 106}, {158, 2, 0}, {264, 2, 106}};
    for (const auto &c : cases) {
        const ToneCode code = ToneFromPosition(c.position);
        EXPECT_EQ(code.type, c.type) << c.position;
        EXPECT_EQ(code.index, c.index) << c.position;
        EXPECT_EQ(TonePosition(c.type, c.index), c.position);
    }
    EXPECT_EQ(TonePosition(0, 60), 50);
    EXPECT_EQ(TonePosition(1, 200), 157);
    EXPECT_EQ(TonePosition(2, 200), 264);
    EXPECT_EQ(TonePosition(255, 3), 0);
    EXPECT_EQ(TonePosition(1, 255), 0);
    EXPECT_EQ(TonePosition(7, 0), -1);
}

TEST_F(Conversions, NameAlphabet)
{
    EXPECT_EQ(CharToCode("q"), 28);
    EXPECT_EQ(CharToCode("Q"), 28);
    EXPECT_EQ(CharToCode("0"), 0);
    EXPECT_EQ(CharToCode("-"), 10);
    EXPECT_EQ(CharToCode("_"), 38);
    EXPECT_EQ(CharToCode("+"), 39);
    EXPECT_EQ(CharToCode("*"), 40);
    EXPECT_EQ(CharToCode("#"), 11);
    EXPECT_EQ(CharToCode(""), 11);
    EXPECT_EQ(CharToCode("AB"), 11);
    EXPECT_EQ(CharToCode("é"), 11);
    EXPECT_EQ(CodeToChar(12), "A");
    EXPECT_EQ(CodeToChar(11), " ");
    EXPECT_EQ(CodeToChar(40), "*");
    EXPECT_EQ(CodeToChar(41), "");
    EXPECT_EQ(CodeToChar(255), "");
    EXPECT_EQ(CodeToChar(-1), "");
}

TEST_F(Conversions, TextToBcd)
{
    const Bcd a = ToBcd("446.00625");
    EXPECT_EQ(a.b3, 0x44);
    EXPECT_EQ(a.b2, 0x60);
    EXPECT_EQ(a.b1, 0x06);
    EXPECT_EQ(a.b0, 0x25);
    const Bcd b = ToBcd("136.0125");
    EXPECT_EQ(b.b3, 0x13);
    EXPECT_EQ(b.b2, 0x60);
    EXPECT_EQ(b.b1, 0x12);
    EXPECT_EQ(b.b0, 0x50);
    // The 10 Hz digit survives values whose binary form lies just below it.
    const Bcd c = ToBcd("145.00001");
    EXPECT_EQ(c.b1, 0x00);
    EXPECT_EQ(c.b0, 0x01);
    const Bcd d = ToBcd("462.01250");
    EXPECT_EQ(d.b3, 0x46);
    EXPECT_EQ(d.b2, 0x20);
    EXPECT_EQ(d.b1, 0x12);
    EXPECT_EQ(d.b0, 0x50);
    // The 1 Hz digit is dropped, not rounded.
    const Bcd e = ToBcd("446.006259");
    EXPECT_EQ(e.b0, 0x25);
    // Two-digit MHz.
    const Bcd f = ToBcd("88.5");
    EXPECT_EQ(f.b3, 0x08);
    EXPECT_EQ(f.b2, 0x85);
    EXPECT_EQ(f.b1, 0);
    EXPECT_EQ(f.b0, 0);
    const Bcd g = ToBcd("not a number");
    EXPECT_EQ(g.b3 | g.b2 | g.b1 | g.b0, 0);
}

// Eight BCD digits hold 0..999.99999 MHz: values outside are held at a
// limit, and a guard digit lifted to 10 carries, so no nibble exceeds 9.
TEST_F(Conversions, TextToBcdNeverPacksADigitAbove9)
{
    const struct {
        const char *text;
        Bcd code;
    } cases[] = {
        {"-5", {0, 0, 0, 0}},
        {"-0.00001", {0, 0, 0, 0}},
        {"1000", {0x99, 0x99, 0x99, 0x99}},
        {"123450000", {0x99, 0x99, 0x99, 0x99}},
        {"99999999999999999999999999", {0x99, 0x99, 0x99, 0x99}},
        {"446.9999999995", {0x44, 0x70, 0x00, 0x00}},
        {"999.9999999999", {0x99, 0x99, 0x99, 0x99}},
        {"9.9999999999", {0x01, 0x00, 0x00, 0x00}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const Bcd code = ToBcd(c.text);
        EXPECT_EQ(code.b3, c.code.b3);
        EXPECT_EQ(code.b2, c.code.b2);
        EXPECT_EQ(code.b1, c.code.b1);
        EXPECT_EQ(code.b0, c.code.b0);
    }
}

TEST_F(Conversions, BcdToText)
{
    EXPECT_EQ(BcdToText(0x25, 0x06, 0x60, 0x44), "446.00625");
    EXPECT_EQ(BcdToText(0x00, 0x00, 0x00, 0x40), "400.00000");
    EXPECT_EQ(BcdToText(0, 0, 0, 0), "0.00000");
    EXPECT_EQ(BcdToText(0x00, 0x00, 0x55, 0x14), "145.50000");
    EXPECT_EQ(BcdToText(0x00, 0x00, 0x80, 0x08), "88.00000"); // 2-digit MHz
    EXPECT_EQ(BcdToText(0x00, 0x00, 0x50, 0x00), "5.00000"); // 1-digit MHz
    EXPECT_EQ(BcdToText(0x00, 0x00, 0x05, 0x00), "0.50000");
    EXPECT_EQ(BcdToText(0x00, 0x00, 0x76, 0x00), "7.60000");
    // Nibbles above 9 are used as they are.
    EXPECT_EQ(BcdToText(0x00, 0x00, 0x0A, 0x00), "1.00000");
    EXPECT_EQ(BcdToText(255, 255, 255, 255), "1666.66665");
}

TEST_F(Conversions, StoreFrequencyReturnsTheNormalisedText)
{
    const QString typed = "  145.5  ";
    EXPECT_EQ(StoreFrequency(image, typed, 5, 0), "145.50000");
    EXPECT_EQ(typed, "  145.5  ");
    EXPECT_EQ(image[5][0], 0x00);
    EXPECT_EQ(image[5][1], 0x00);
    EXPECT_EQ(image[5][2], 0x55);
    EXPECT_EQ(image[5][3], 0x14);

    EXPECT_EQ(StoreFrequency(image, "446", 6, 4), "446.00000");
    EXPECT_EQ(image[6][7], 0x44);
    EXPECT_EQ(image[6][6], 0x60);

    EXPECT_EQ(StoreFrequency(image, "88.5", 7, 0), "88.500000");
    EXPECT_EQ(image[7][3], 0x08);
    EXPECT_EQ(image[7][2], 0x85);

    // A difference computed in doubles stores the digits the user expects.
    StoreFrequency(image, NumberText(446.1 - 438.5), 8, 4);
    EXPECT_EQ(image[8][4], 0x00);
    EXPECT_EQ(image[8][5], 0x00);
    EXPECT_EQ(image[8][6], 0x76);
    EXPECT_EQ(image[8][7], 0x00);
}

TEST_F(Conversions, FrequencyRoundTripsAt10Hz)
{
    // Every 10 Hz step of a sample of channels survives text -> BCD -> text.
    for (int step = 0; step < 100000; step += 37) {
        const double mhz = 400 + step * 0.00001 * 7;
        const QString expected = QString::number(mhz, 'f', 5);
        StoreFrequency(image, expected, 1, 0);
        EXPECT_EQ(BcdToText(image[1][0], image[1][1], image[1][2], image[1][3]), expected);
    }
}

TEST_F(Conversions, FmChannelText)
{
    EXPECT_EQ(FmChannelText(0), "87.0");
    EXPECT_EQ(FmChannelText(15), "88.5");
    EXPECT_EQ(FmChannelText(130), "100.0");
    EXPECT_EQ(FmChannelText(210), "108.0");
    EXPECT_EQ(FmChannelText(129), "99.9");
    EXPECT_EQ(FmChannelText(131), "100.1");
}
