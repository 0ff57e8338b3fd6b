#include "Conversions.h"

#include "Globals.h"

#include <algorithm>
#include <cmath>

double NumericValue(const QString &text)
{
    QString number;
    bool seenDigit = false;
    bool seenPoint = false;
    for (const QChar ch : text) {
        if (ch == u' ' || ch == u'\t')
            continue;
        if (number.isEmpty() && !seenDigit && (ch == u'+' || ch == u'-')) {
            number += ch;
        } else if (ch.isDigit() && ch.unicode() < 128) {
            number += ch;
            seenDigit = true;
        } else if (ch == u'.' && !seenPoint) {
            number += ch;
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!seenDigit)
        return 0;
    if (number.endsWith(u'.'))
        number.chop(1);
    return number.toDouble();
}

QString NumberText(double value)
{
    if (value == 0 || !std::isfinite(value))
        return QStringLiteral("0");
    // Decimals that leave 15 significant digits, then drop trailing zeros.
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::max(0, 14 - magnitude);
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

QString SignedNumberText(double value)
{
    const QString text = NumberText(value);
    return text.startsWith(u'-') ? text : u' ' + text;
}

namespace {

const char *const CtcssTones[50] = {
    "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
    "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
    "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9",
    "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.5",
    "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1"};

const char *const DcsCodes[107] = {
    "017", "023", "025", "026", "031", "032", "036", "043", "047", "050", "051", "053",
    "054", "065", "071", "072", "073", "074", "114", "115", "116", "122", "125", "131",
    "132", "134", "143", "145", "152", "155", "156", "162", "165", "172", "174", "205",
    "212", "223", "225", "226", "243", "244", "245", "246", "251", "252", "255", "261",
    "263", "265", "266", "271", "274", "306", "311", "315", "325", "331", "332", "343",
    "346", "351", "356", "364", "365", "371", "411", "412", "413", "423", "431", "432",
    "445", "446", "452", "454", "455", "462", "464", "465", "466", "503", "506", "516",
    "523", "526", "532", "546", "565", "606", "612", "624", "627", "631", "632", "645",
    "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754"};

const QString NameAlphabet = QStringLiteral("0123456789- ABCDEFGHIJKLMNOPQRSTUVWXYZ_+*");

int HighNibble(int b) { return (b >> 4) & 0x0F; }
int LowNibble(int b) { return b & 0x0F; }

} // namespace

void BuildToneList()
{
    for (QString &entry : ToneList)
        entry.clear();
    ToneList[0] = QStringLiteral("   OFF      ");
    // The blanks differ by the width of the value; the lists show them as is.
    for (int k = 1; k <= 50; ++k) {
        const QString value = QLatin1String(CtcssTones[k - 1]);
        ToneList[k] = k <= 9    ? QStringLiteral("   %1    ").arg(value)
                      : k <= 12 ? QStringLiteral("  %1    ").arg(value)
                                : QStringLiteral("  %1   ").arg(value);
    }
    for (int k = 51; k <= 157; ++k) {
        const QString code = QLatin1String(DcsCodes[k - 51]);
        ToneList[k] =
            k <= 101 ? QStringLiteral("  D%1N   ").arg(code) : QStringLiteral(" D%1N   ").arg(code);
    }
    for (int k = 51; k <= 157; ++k)
        ToneList[k + 107] = ToneList[k].trimmed().left(4) + u'I';
}

ToneCode ToneFromPosition(int position)
{
    if (position <= 0)
        return {ErasedByte, ErasedByte};
    if (position <= ToneCtcssLast)
        return {0, position - 1};
    if (position <= ToneDcsNormalLast)
        return {1, position - (ToneCtcssLast + 1)};
    return {2, std::min(position, int(ToneDcsInvertLast)) - (ToneDcsNormalLast + 1)};
}

int TonePosition(int type, int index)
{
    if (type == ErasedByte || index == ErasedByte)
        return 0;
    switch (type) {
    case 0:
        return 1 + std::min(index, 49);
    case 1:
        return std::min(index + 51, int(ToneDcsNormalLast));
    case 2:
        return std::min(index + 158, int(ToneDcsInvertLast));
    default:
        return -1;
    }
}

int CharToCode(const QString &text)
{
    if (text.size() != 1)
        return 11;
    const int code = NameAlphabet.indexOf(text.at(0).toUpper());
    // The blank is code 11 anyway, and so is everything outside the alphabet.
    return code < 0 ? 11 : code;
}

QString CodeToChar(int code)
{
    if (code < 0 || code > 40)
        return QString();
    return NameAlphabet.at(code);
}

BcdBytes TextToBcd(const QString &text)
{
    const double f = NumericValue(text);
    // Eight digits hold 0..999.99999 MHz. A value beyond them (the editors
    // never pass one) is held at the nearest limit instead of spilling into
    // nibbles above 9, which no radio reads as a frequency.
    if (!(f > 0))
        return {};
    if (f >= 1000)
        return {0x99, 0x99, 0x99, 0x99};
    const double d2 = std::floor(f / 100);
    const double d1 = std::floor((f - 100 * d2) / 10);
    const double d0 = std::floor(f - 100 * d2 - 10 * d1);
    // The 1e-9 guards keep x.xxx5 from falling to the digit below.
    const double t = (f - std::floor(f) + 0.000000001) * 1000;
    const double k2 = std::floor(t / 100);
    const double k1 = std::floor((t - 100 * k2) / 10);
    const double k0 = std::floor(t - 100 * k2 - 10 * k1);
    const double u = (t - std::floor(t) + 0.000000001) * 1000;
    const double h2 = std::floor(u / 100);
    const double h1 = std::floor((u - 100 * h2) / 10);
    // A guard can lift a digit to 10 (446.9999999999): summed as one count
    // of 10 Hz steps, it carries into the digit above.
    long long steps = 0;
    for (double digit : {d2, d1, d0, k2, k1, k0, h2, h1})
        steps = steps * 10 + static_cast<long long>(digit);
    steps = std::clamp(steps, 0LL, 99999999LL);
    uint8_t packed[4];
    for (int i = 3; i >= 0; --i) {
        packed[i] = uint8_t((steps / 10 % 10) * 16 + steps % 10);
        steps /= 100;
    }
    return {packed[0], packed[1], packed[2], packed[3]};
}

QString BcdToText(int b0, int b1, int b2, int b3)
{
    const double value = 100.0 * HighNibble(b3) + 10.0 * LowNibble(b3) + HighNibble(b2)
                         + 0.1 * LowNibble(b2) + 0.01 * HighNibble(b1) + 0.001 * LowNibble(b1)
                         + 0.0001 * HighNibble(b0) + 0.00001 * LowNibble(b0);
    QString s = NumberText(value);
    if (value >= 1 && value == std::floor(value))
        s += u'.';
    if (s.size() < 9) {
        if (value == 0)
            s = QStringLiteral("0.00000");
        else if (value < 1)
            s = QString::number(value, 'f', 5);
        else if (value < 10)
            s = s.leftJustified(7, u'0');
        else if (value < 100)
            s = s.leftJustified(8, u'0');
        else if (value < 1000)
            s = s.leftJustified(9, u'0');
    }
    return s;
}

QString StoreFrequency(ImageTable &image, const QString &text, int row, int column)
{
    QString normalised = text.trimmed();
    if (normalised.size() >= 1 && normalised.size() <= 3)
        normalised += u'.';
    if (normalised.size() < 9)
        normalised = normalised.leftJustified(9, u'0');
    const BcdBytes code = TextToBcd(normalised);
    image[row][column] = code.B0;
    image[row][column + 1] = code.B1;
    image[row][column + 2] = code.B2;
    image[row][column + 3] = code.B3;
    return normalised;
}

QString StoreFrequency(const QString &text, int row, int column)
{
    return StoreFrequency(RadioData, text, row, column);
}

double CellsFrequency(const ImageTable &image, int row, int column)
{
    const auto &r = image[row];
    return NumericValue(BcdToText(r[column], r[column + 1], r[column + 2], r[column + 3]));
}

double CellsFrequency(int row, int column) { return CellsFrequency(RadioData, row, column); }

QString FmChannelText(int n)
{
    QString s = NumberText(87 + 0.1 * n);
    if (s.size() == 2 || s.size() == 3)
        s += u'.';
    return s.leftJustified(87 + 0.1 * n < 100 ? 4 : 5, u'0');
}
