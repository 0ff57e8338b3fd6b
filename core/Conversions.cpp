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

using namespace Qt::Literals::StringLiterals;

// The tone lists' items, as the selectors and the grid's cells show them.
const std::array<QString, 301> ToneList{
    // 0: no tone
    u"   OFF      "_s,
    // 1..50: CTCSS, the blanks differing by the width of the value
    u"   67.0    "_s, u"   69.3    "_s, u"   71.9    "_s, u"   74.4    "_s, u"   77.0    "_s,
    u"   79.7    "_s, u"   82.5    "_s, u"   85.4    "_s, u"   88.5    "_s, u"  91.5    "_s,
    u"  94.8    "_s, u"  97.4    "_s, u"  100.0   "_s, u"  103.5   "_s, u"  107.2   "_s,
    u"  110.9   "_s, u"  114.8   "_s, u"  118.8   "_s, u"  123.0   "_s, u"  127.3   "_s,
    u"  131.8   "_s, u"  136.5   "_s, u"  141.3   "_s, u"  146.2   "_s, u"  151.4   "_s,
    u"  156.7   "_s, u"  159.8   "_s, u"  162.2   "_s, u"  165.5   "_s, u"  167.9   "_s,
    u"  171.3   "_s, u"  173.8   "_s, u"  177.3   "_s, u"  179.9   "_s, u"  183.5   "_s,
    u"  186.2   "_s, u"  189.9   "_s, u"  192.8   "_s, u"  196.6   "_s, u"  199.5   "_s,
    u"  203.5   "_s, u"  206.5   "_s, u"  210.7   "_s, u"  218.1   "_s, u"  225.7   "_s,
    u"  229.1   "_s, u"  233.6   "_s, u"  241.8   "_s, u"  250.3   "_s, u"  254.1   "_s,
    // 51..157: DCS normal
    u"  D017N   "_s, u"  D023N   "_s, u"  D025N   "_s, u"  D026N   "_s, u"  D031N   "_s,
    u"  D032N   "_s, u"  D036N   "_s, u"  D043N   "_s, u"  D047N   "_s, u"  D050N   "_s,
    u"  D051N   "_s, u"  D053N   "_s, u"  D054N   "_s, u"  D065N   "_s, u"  D071N   "_s,
    u"  D072N   "_s, u"  D073N   "_s, u"  D074N   "_s, u"  D114N   "_s, u"  D115N   "_s,
    u"  D116N   "_s, u"  D122N   "_s, u"  D125N   "_s, u"  D131N   "_s, u"  D132N   "_s,
    u"  D134N   "_s, u"  D143N   "_s, u"  D145N   "_s, u"  D152N   "_s, u"  D155N   "_s,
    u"  D156N   "_s, u"  D162N   "_s, u"  D165N   "_s, u"  D172N   "_s, u"  D174N   "_s,
    u"  D205N   "_s, u"  D212N   "_s, u"  D223N   "_s, u"  D225N   "_s, u"  D226N   "_s,
    u"  D243N   "_s, u"  D244N   "_s, u"  D245N   "_s, u"  D246N   "_s, u"  D251N   "_s,
    u"  D252N   "_s, u"  D255N   "_s, u"  D261N   "_s, u"  D263N   "_s, u"  D265N   "_s,
    u"  D266N   "_s, u" D271N   "_s, u" D274N   "_s, u" D306N   "_s, u" D311N   "_s, u" D315N   "_s,
    u" D325N   "_s, u" D331N   "_s, u" D332N   "_s, u" D343N   "_s, u" D346N   "_s, u" D351N   "_s,
    u" D356N   "_s, u" D364N   "_s, u" D365N   "_s, u" D371N   "_s, u" D411N   "_s, u" D412N   "_s,
    u" D413N   "_s, u" D423N   "_s, u" D431N   "_s, u" D432N   "_s, u" D445N   "_s, u" D446N   "_s,
    u" D452N   "_s, u" D454N   "_s, u" D455N   "_s, u" D462N   "_s, u" D464N   "_s, u" D465N   "_s,
    u" D466N   "_s, u" D503N   "_s, u" D506N   "_s, u" D516N   "_s, u" D523N   "_s, u" D526N   "_s,
    u" D532N   "_s, u" D546N   "_s, u" D565N   "_s, u" D606N   "_s, u" D612N   "_s, u" D624N   "_s,
    u" D627N   "_s, u" D631N   "_s, u" D632N   "_s, u" D645N   "_s, u" D654N   "_s, u" D662N   "_s,
    u" D664N   "_s, u" D703N   "_s, u" D712N   "_s, u" D723N   "_s, u" D731N   "_s, u" D732N   "_s,
    u" D734N   "_s, u" D743N   "_s, u" D754N   "_s,
    // 158..264: DCS inverted
    u"D017I"_s, u"D023I"_s, u"D025I"_s, u"D026I"_s, u"D031I"_s, u"D032I"_s, u"D036I"_s, u"D043I"_s,
    u"D047I"_s, u"D050I"_s, u"D051I"_s, u"D053I"_s, u"D054I"_s, u"D065I"_s, u"D071I"_s, u"D072I"_s,
    u"D073I"_s, u"D074I"_s, u"D114I"_s, u"D115I"_s, u"D116I"_s, u"D122I"_s, u"D125I"_s, u"D131I"_s,
    u"D132I"_s, u"D134I"_s, u"D143I"_s, u"D145I"_s, u"D152I"_s, u"D155I"_s, u"D156I"_s, u"D162I"_s,
    u"D165I"_s, u"D172I"_s, u"D174I"_s, u"D205I"_s, u"D212I"_s, u"D223I"_s, u"D225I"_s, u"D226I"_s,
    u"D243I"_s, u"D244I"_s, u"D245I"_s, u"D246I"_s, u"D251I"_s, u"D252I"_s, u"D255I"_s, u"D261I"_s,
    u"D263I"_s, u"D265I"_s, u"D266I"_s, u"D271I"_s, u"D274I"_s, u"D306I"_s, u"D311I"_s, u"D315I"_s,
    u"D325I"_s, u"D331I"_s, u"D332I"_s, u"D343I"_s, u"D346I"_s, u"D351I"_s, u"D356I"_s, u"D364I"_s,
    u"D365I"_s, u"D371I"_s, u"D411I"_s, u"D412I"_s, u"D413I"_s, u"D423I"_s, u"D431I"_s, u"D432I"_s,
    u"D445I"_s, u"D446I"_s, u"D452I"_s, u"D454I"_s, u"D455I"_s, u"D462I"_s, u"D464I"_s, u"D465I"_s,
    u"D466I"_s, u"D503I"_s, u"D506I"_s, u"D516I"_s, u"D523I"_s, u"D526I"_s, u"D532I"_s, u"D546I"_s,
    u"D565I"_s, u"D606I"_s, u"D612I"_s, u"D624I"_s, u"D627I"_s, u"D631I"_s, u"D632I"_s, u"D645I"_s,
    u"D654I"_s, u"D662I"_s, u"D664I"_s, u"D703I"_s, u"D712I"_s, u"D723I"_s, u"D731I"_s, u"D732I"_s,
    u"D734I"_s, u"D743I"_s, u"D754I"_s};

namespace {

const QString NameAlphabet = QStringLiteral("0123456789- ABCDEFGHIJKLMNOPQRSTUVWXYZ_+*");

int HighNibble(int b) { return (b >> 4) & 0x0F; }
int LowNibble(int b) { return b & 0x0F; }

} // namespace

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

double CellsFrequency(const ImageTable &image, int row, int column)
{
    const auto &r = image[row];
    return NumericValue(BcdToText(r[column], r[column + 1], r[column + 2], r[column + 3]));
}

QString FmChannelText(int n)
{
    QString s = NumberText(87 + 0.1 * n);
    if (s.size() == 2 || s.size() == 3)
        s += u'.';
    return s.leftJustified(87 + 0.1 * n < 100 ? 4 : 5, u'0');
}
