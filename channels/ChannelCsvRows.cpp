#include "ChannelCsvRows.h"

#include "ChannelCsvFormat.h"
#include "Conversions.h"
#include "RecordCodec.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <optional>

namespace CsvRows {

BilingualText Arg(const BilingualText &caption, const QString &a) { return caption.arg(a); }

BilingualText Arg(const BilingualText &caption, const QString &a, const QString &b)
{
    return caption.arg(a).arg(b);
}

// A field's text in a message: no control characters, not overly long.
QString Shown(const QString &text)
{
    QString shown;
    for (const QChar ch : text.left(40))
        shown += ch.isPrint() || ch == u' ' ? ch : QChar(u'?');
    if (text.size() > 40)
        shown += QStringLiteral("...");
    return u'"' + shown + u'"';
}

namespace {

constexpr qint64 HzPerMHz = 1000000;
// Eight BCD digits of 10 Hz: below 1000 MHz.
constexpr qint64 StorableHz = 1000 * HzPerMHz;

QString MHzText(qint64 hz) { return QString::number(double(hz) / HzPerMHz, 'f', 6); }

// Stored text of a frequency in 10 Hz steps, as the grid stores one.
QString StoredText(qint64 hz)
{
    const qint64 steps = hz / 10;
    return QStringLiteral("%1.%2").arg(steps / 100000).arg(steps % 100000, 5, 10, QChar(u'0'));
}

struct Frequency {
    bool number = false;
    qint64 hz = 0;
    bool tenHzStep = false;
};

// "446.00625", "446.006250", "446": exact, no floating point on the way.
Frequency ParseFrequency(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\+?(\\d{1,4})(?:\\.(\\d*))?$"));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return {};
    QString fraction = m.captured(2);
    bool belowHz = false;
    if (fraction.size() > 6) {
        belowHz = fraction.mid(6).contains(QRegularExpression(QStringLiteral("[1-9]")));
        fraction.truncate(6);
    }
    const qint64 hz =
        m.captured(1).toLongLong() * HzPerMHz + fraction.leftJustified(6, u'0').toLongLong();
    return {true, hz, !belowHz && hz % 10 == 0};
}

std::optional<int> CtcssIndex(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\d{2,3}(\\.\\d+)?$"));
    const QString t = text.trimmed();
    if (!pattern.match(t).hasMatch())
        return std::nullopt;
    const double tenths = t.toDouble() * 10;
    for (int i = 0; i < ToneCtcssLast; ++i) {
        const double listed = ToneList[1 + i].trimmed().toDouble() * 10;
        if (std::abs(listed - tenths) < 1e-6)
            return i;
    }
    return std::nullopt;
}

std::optional<int> DcsIndex(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-7]{1,3}$"));
    const QString t = text.trimmed();
    if (!pattern.match(t).hasMatch())
        return std::nullopt;
    const QString code = t.rightJustified(3, u'0');
    for (int i = 0; i <= ToneDcsNormalLast - ToneCtcssLast - 1; ++i)
        if (ToneList[ToneCtcssLast + 1 + i].trimmed().mid(1, 3) == code)
            return i;
    return std::nullopt;
}

// Builds one channel from a row, collecting what it changes or refuses.
class RowReader {
public:
    RowReader(const RowFields &fields, CsvRow &row, FrequencyBand band, ImageTable &scratch,
              bool &wattsSeen, QList<CsvIssue> &notes)
        : f_(fields), row_(row), band_(band), image_(scratch), wattsSeen_(wattsSeen), notes_(notes)
    { }

    void read()
    {
        Record::Erase(image_, Row);
        readFrequencies();
        readTones();
        readFlags();
        row_.name = f_.raw("Name");
        if (refused_)
            return;
        CsvChannel channel;
        std::copy_n(image_[Row].begin(), BlockSize, channel.cells.begin());
        channel.name.fill(ErasedByte); // set once every row's name is known
        row_.channel = channel;
    }

private:
    static constexpr int Row = 1;

    void refuse(const char *column, const BilingualText &reason)
    {
        refused_ = true;
        const CsvIssue issue{row_.line, QString::fromLatin1(column), CsvIssue::Kind::Refused,
                             reason};
        // Both directions of a DTCS row read the same code and polarity:
        // one reason is enough.
        const bool known =
            std::any_of(row_.issues.begin(), row_.issues.end(), [&issue](const CsvIssue &seen) {
                return seen.column == issue.column && seen.reason == issue.reason;
            });
        if (!known)
            row_.issues << issue;
    }
    void change(const char *column, const BilingualText &reason)
    {
        row_.issues << CsvIssue{row_.line, QString::fromLatin1(column), CsvIssue::Kind::Changed,
                                reason};
    }

    // A frequency field as 10 Hz steps, or nothing (refused).
    std::optional<qint64> frequency(const char *column, const QString &text)
    {
        const Frequency parsed = ParseFrequency(text);
        if (!parsed.number) {
            refuse(column,
                   Arg(Bilingual("%1 不是以 MHz 为单位的频率", "%1 is not a frequency in MHz"),
                       Shown(text)));
            return std::nullopt;
        }
        if (!parsed.tenHzStep) {
            refuse(column,
                   Arg(Bilingual("%1 MHz 不是 10 Hz 的整数倍", "%1 MHz is not a multiple of 10 Hz"),
                       text.trimmed()));
            return std::nullopt;
        }
        return parsed.hz;
    }

    bool insideBand(const char *column, qint64 hz, const BilingualText &which)
    {
        if (hz > 0 && InsideBand(double(hz) / HzPerMHz, band_))
            return true;
        refuse(column, Arg(Arg(which, hz > 0 ? MHzText(hz) : QStringLiteral("0")),
                           NumberText(band_.lowMHz), NumberText(band_.highMHz)));
        return false;
    }

    void readFrequencies()
    {
        if (f_.value("Frequency").isEmpty()) {
            refuse("Frequency", Bilingual("没有接收频率", "no frequency"));
            return;
        }
        const auto rx = frequency("Frequency", f_.value("Frequency"));
        if (!rx)
            return;
        if (!insideBand("Frequency", *rx,
                        Bilingual("接收频率 %1 MHz 超出频段 %2..%3 MHz",
                                  "receive frequency %1 MHz lies outside the band %2..%3 MHz")))
            return;
        const QString duplex = f_.value("Duplex").toLower();
        qint64 offset = 0;
        if (!f_.value("Offset").isEmpty()) {
            const auto given = frequency("Offset", f_.value("Offset"));
            if (!given)
                return;
            offset = *given;
        }
        int shift = 0;
        if (duplex == QLatin1String("+") || duplex == QLatin1String("-")) {
            shift = duplex == QLatin1String("+") ? 1 : 2;
        } else if (duplex == QLatin1String("split")) {
            // Offset holds the transmit frequency itself.
            if (!insideBand(
                    "Offset", offset,
                    Bilingual("发射频率 %1 MHz 超出频段 %2..%3 MHz",
                              "transmit frequency %1 MHz lies outside the band %2..%3 MHz")))
                return;
            shift = offset == *rx ? 0 : offset > *rx ? 1 : 2;
            offset = offset == *rx ? 0 : std::abs(offset - *rx);
        } else if (duplex == QLatin1String("off")) {
            txStop_ = true;
        } else if (!duplex.isEmpty()) {
            refuse("Duplex", Arg(Bilingual("双工方式 %1 未知（可用：空、+、-、split、off）",
                                           "unknown duplex %1 (known: empty, +, -, split, off)"),
                                 Shown(f_.raw("Duplex"))));
            return;
        }
        if (shift != 0 && duplex != QLatin1String("split")) {
            const qint64 tx = shift == 1 ? *rx + offset : *rx - offset;
            if (!insideBand(
                    "Offset", tx,
                    Bilingual("发射频率 %1 MHz 超出频段 %2..%3 MHz",
                              "transmit frequency %1 MHz lies outside the band %2..%3 MHz")))
                return;
        }
        if (offset >= StorableHz) {
            refuse("Offset",
                   Arg(Bilingual("频差 %1 MHz 无法存储", "an offset of %1 MHz cannot be stored"),
                       MHzText(offset)));
            return;
        }
        Record::Rx.store(image_, Row, StoredText(*rx));
        Record::Offset.store(image_, Row, StoredText(offset));
        Record::Shift.set(image_, Row, shift);
    }

    // A CTCSS tone of the radio's list, as a selector position.
    std::optional<int> ctcss(const char *column)
    {
        const QString text =
            f_.value(column).isEmpty() && !f_.has(column) ? CsvDefaultTone : f_.value(column);
        if (const auto index = CtcssIndex(text))
            return 1 + *index;
        refuse(column, Arg(Bilingual("亚音频 %1 不在对讲机的亚音表中",
                                     "tone %1 is not in the radio's tone list"),
                           Shown(text)));
        return std::nullopt;
    }

    // A DCS code of the radio's list with the polarity letter of its side.
    std::optional<int> dcs(const char *column, int side)
    {
        QString text = f_.value(column);
        // Older exports have one code for both directions.
        if (!f_.has(column))
            text = f_.has("DtcsCode") ? f_.value("DtcsCode") : CsvDefaultDcs;
        const auto index = DcsIndex(text);
        if (!index) {
            refuse(column, Arg(Bilingual("数字亚音 %1 不在对讲机的数字亚音表中",
                                         "DCS code %1 is not in the radio's DCS list"),
                               Shown(text)));
            return std::nullopt;
        }
        QString polarity = f_.value("DtcsPolarity").toUpper();
        if (polarity.isEmpty())
            polarity = QStringLiteral("NN");
        static const QRegularExpression valid(QStringLiteral("^[NR][NR]$"));
        if (!valid.match(polarity).hasMatch()) {
            refuse("DtcsPolarity", Arg(Bilingual("极性 %1 未知（可用：NN、NR、RN、RR）",
                                                 "unknown polarity %1 (known: NN, NR, RN, RR)"),
                                       Shown(f_.raw("DtcsPolarity"))));
            return std::nullopt;
        }
        const bool inverted = polarity.at(side) == u'R';
        return (inverted ? ToneDcsNormalLast + 1 : ToneCtcssLast + 1) + *index;
    }

    void readTones()
    {
        const QString mode = f_.value("Tone");
        std::optional<int> encode = 0; // transmit
        std::optional<int> decode = 0; // receive
        const auto is = [](const QString &a, const char *b) {
            return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
        };
        if (mode.isEmpty()) {
        } else if (is(mode, "Tone")) {
            encode = ctcss("rToneFreq");
        } else if (is(mode, "TSQL")) {
            encode = decode = ctcss("cToneFreq");
        } else if (is(mode, "DTCS")) {
            encode = dcs("DtcsCode", 0);
            decode = dcs("DtcsCode", 1);
        } else if (is(mode, "Cross")) {
            const QString cross =
                f_.has("CrossMode") ? f_.value("CrossMode") : QStringLiteral("Tone->Tone");
            const qsizetype arrow = cross.indexOf(QLatin1String("->"));
            const QString tx = arrow < 0 ? QString() : cross.left(arrow).trimmed();
            const QString rx = arrow < 0 ? QString() : cross.mid(arrow + 2).trimmed();
            const auto known = [&](const QString &side) {
                return side.isEmpty() || is(side, "Tone") || is(side, "DTCS");
            };
            if (arrow < 0 || !known(tx) || !known(rx) || (tx.isEmpty() && rx.isEmpty())) {
                refuse("CrossMode",
                       Arg(Bilingual("对讲机没有交叉亚音方式 %1", "the radio has no cross mode %1"),
                           Shown(f_.raw("CrossMode"))));
                return;
            }
            if (is(tx, "Tone"))
                encode = ctcss("rToneFreq");
            else if (is(tx, "DTCS"))
                encode = dcs("DtcsCode", 0);
            if (is(rx, "Tone"))
                decode = ctcss("cToneFreq");
            else if (is(rx, "DTCS"))
                decode = dcs("RxDtcsCode", 1);
        } else {
            refuse("Tone", Arg(Bilingual("对讲机没有亚音方式 %1", "the radio has no tone mode %1"),
                               Shown(f_.raw("Tone"))));
            return;
        }
        if (!encode || !decode)
            return;
        Record::Encode.setPosition(image_, Row, *encode);
        Record::Decode.setPosition(image_, Row, *decode);
    }

    // On/Off columns of our own; absent or empty is Off.
    std::optional<int> onOff(const char *column)
    {
        const QString text = f_.value(column).toLower();
        if (text.isEmpty() || text == QLatin1String("off"))
            return 0;
        if (text == QLatin1String("on"))
            return 1;
        refuse(column, Arg(Bilingual("%1 应为 On 或 Off", "%1 should be On or Off"),
                           Shown(f_.raw(column))));
        return std::nullopt;
    }

    void readFlags()
    {
        const QString mode = f_.value("Mode").toUpper();
        int wide = 1;
        if (mode == QLatin1String("NFM"))
            wide = 0;
        else if (!mode.isEmpty() && mode != QLatin1String("FM"))
            refuse("Mode", Arg(Bilingual("对讲机只有 FM（宽带）和 NFM（窄带），没有 %1",
                                         "the radio has FM (wide) and NFM (narrow) only, not %1"),
                               Shown(f_.raw("Mode"))));

        const QString skip = f_.value("Skip").toUpper();
        int scanned = 1;
        if (skip == QLatin1String("S")) {
            scanned = 0;
        } else if (skip == QLatin1String("P")) {
            change("Skip", Bilingual("对讲机没有优先扫描：P 作为参与扫描",
                                     "the radio has no priority scan: P taken as scanned"));
        } else if (!skip.isEmpty()) {
            refuse("Skip", Arg(Bilingual("扫描跳过 %1 未知（可用：空、S、P）",
                                         "unknown skip %1 (known: empty, S, P)"),
                               Shown(f_.raw("Skip"))));
        }

        const int power = readPower();
        const auto vox = onOff("Vox");
        const auto busy = onOff("BusyLock");
        const auto stop = onOff("TxStop");
        if (refused_ || power < 0 || !vox || !busy || !stop)
            return;
        Record::Power.set(image_, Row, power);
        Record::ScanAdd.set(image_, Row, scanned);
        auto &r = image_[Row];
        r[12] = int16_t(r[12] & ~0x38); // bits the grid's new channel has clear
        r[13] = 0;
        Record::Wide.set(image_, Row, wide);
        Record::Vox.set(image_, Row, *vox);
        Record::BusyLock.set(image_, Row, *busy);
        Record::TxStop.set(image_, Row, (*stop || txStop_) ? 1 : 0);
    }

    // 0 Low, 1 Mid, 2 High; -1 refused.
    int readPower()
    {
        const QString text = f_.value("Power");
        if (text.isEmpty())
            return 2;
        const QString lower = text.toLower();
        if (lower == QLatin1String("high"))
            return 2;
        if (lower == QLatin1String("mid"))
            return 1;
        if (lower == QLatin1String("low"))
            return 0;
        static const QRegularExpression watts(QStringLiteral("^(\\d+(?:\\.\\d*)?)\\s*w$"));
        const QRegularExpressionMatch m = watts.match(lower);
        if (!m.hasMatch()) {
            refuse("Power", Arg(Bilingual("功率 %1 未知（可用：High、Mid、Low 或瓦数）",
                                          "unknown power %1 (known: High, Mid, Low or watts)"),
                                Shown(f_.raw("Power"))));
            return -1;
        }
        if (!wattsSeen_) {
            wattsSeen_ = true;
            notes_ << CsvIssue{
                row_.line, QStringLiteral("Power"), CsvIssue::Kind::Note,
                Bilingual(
                    "功率以瓦数给出：4 W 及以上为高，2 W 及以上为中，其余为低（本行及以后各行）",
                    "power given in watts: 4 W and more taken as High, 2 W and more as "
                    "Mid, less as Low (this row and all further ones)")};
        }
        const double w = m.captured(1).toDouble();
        return w >= 4 ? 2 : w >= 2 ? 1 : 0;
    }

    const RowFields &f_;
    CsvRow &row_;
    FrequencyBand band_;
    ImageTable &image_;
    bool &wattsSeen_;
    QList<CsvIssue> &notes_;
    bool refused_ = false;
    bool txStop_ = false;
};

} // namespace

void ReadRow(const RowFields &fields, CsvRow &row, FrequencyBand band, ImageTable &scratch,
             bool &wattsSeen, QList<CsvIssue> &notes)
{
    RowReader(fields, row, band, scratch, wattsSeen, notes).read();
}

} // namespace CsvRows
