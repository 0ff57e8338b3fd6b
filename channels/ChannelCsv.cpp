#include "ChannelCsv.h"

#include "ChannelTexts.h"
#include "Conversions.h"
#include "CsvText.h"
#include "NameFitting.h"
#include "RecordCodec.h"

#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <memory>

namespace {

const char *const FormatColumns[] = {
    "Location",  "Name",      "Frequency", "Duplex",       "Offset",     "Tone",
    "rToneFreq", "cToneFreq", "DtcsCode",  "DtcsPolarity", "RxDtcsCode", "CrossMode",
    "Mode",      "TStep",     "Skip",      "Power",        "Comment",    "URCALL",
    "RPT1CALL",  "RPT2CALL",  "DVCODE",    "Vox",          "BusyLock",   "TxStop"};

// What other programs write into tone columns a channel does not use.
const QString DefaultTone = QStringLiteral("88.5");
const QString DefaultDcs = QStringLiteral("023");

constexpr int Channels = 128;
constexpr qint64 HzPerMHz = 1000000;
// Eight BCD digits of 10 Hz: below 1000 MHz.
constexpr qint64 StorableHz = 1000 * HzPerMHz;

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

// Selector positions of the kinds of tone.
enum class ToneKind { Off, Ctcss, Dcs };
ToneKind KindOf(int position)
{
    if (position <= 0)
        return ToneKind::Off;
    return position <= ToneCtcssLast ? ToneKind::Ctcss : ToneKind::Dcs;
}
QString CtcssText(int position) { return ToneList[position].trimmed(); }
int DcsIndexOf(int position)
{
    return position > ToneDcsNormalLast ? position - ToneDcsNormalLast - 1
                                        : position - ToneCtcssLast - 1;
}
QString DcsText(int position)
{
    return ToneList[ToneCtcssLast + 1 + DcsIndexOf(position)].trimmed().mid(1, 3);
}
QChar Polarity(int position) { return position > ToneDcsNormalLast ? u'R' : u'N'; }

QString OnOff(int bit) { return bit ? QStringLiteral("On") : QStringLiteral("Off"); }

// One row's fields by column name; a column the file lacks reads as absent.
class RowFields {
public:
    RowFields(const QHash<QString, int> &columns, const CsvRecord &record)
        : columns_(columns), record_(record)
    { }
    bool has(const char *column) const { return columns_.contains(Key(column)); }
    QString raw(const char *column) const
    {
        const auto it = columns_.constFind(Key(column));
        return it == columns_.constEnd() ? QString() : record_.fields.value(*it);
    }
    QString value(const char *column) const { return raw(column).trimmed(); }
    static QString Key(const char *column) { return QString::fromLatin1(column).toLower(); }

private:
    const QHash<QString, int> &columns_;
    const CsvRecord &record_;
};

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
            f_.value(column).isEmpty() && !f_.has(column) ? DefaultTone : f_.value(column);
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
            text = f_.has("DtcsCode") ? f_.value("DtcsCode") : DefaultDcs;
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

// The names of all good rows fitted together, each stored as the grid
// stores a name, with what became of it in the row's report.
void StoreNames(QList<CsvRow> &rows)
{
    QList<CsvRow *> named;
    QStringList names;
    for (CsvRow &row : rows)
        if (row.channel) {
            named << &row;
            names << row.name;
        }
    const QList<FittedName> fitted = FitChannelNames(names);
    for (int i = 0; i < named.size(); ++i) {
        CsvRow &row = *named[i];
        const FittedName &f = fitted[i];
        const auto change = [&row](const BilingualText &reason) {
            row.issues << CsvIssue{row.line, QStringLiteral("Name"), CsvIssue::Kind::Changed,
                                   reason};
        };
        if (f.shortened)
            change(Arg(Bilingual("名称 %1 缩为 %2，以免与其他名称相同",
                                 "name %1 shortened to %2 to stay apart from the other names"),
                       Shown(row.name), Shown(NameFace(f.stored))));
        else if (f.cut)
            change(Arg(Bilingual("名称 %1 截为 %2", "name %1 cut to %2"), Shown(row.name),
                       Shown(NameFace(f.stored))));
        bool lower = false;
        bool outside = false;
        for (int k = 0; k < f.stored.size(); ++k) {
            const QChar ch = f.stored.at(k);
            lower = lower || (ch >= u'a' && ch <= u'z');
            const int code = CharToCode(QString(ch));
            outside = outside || (code == 11 && ch != u' ');
            row.channel->name[k] = int16_t(code);
        }
        if (lower)
            change(Bilingual("名称中的小写字母改为大写",
                             "lower-case letters of the name upper-cased"));
        if (outside)
            change(Bilingual("名称中字符集以外的字符改为空格",
                             "characters of the name outside the radio's alphabet became blanks"));
    }
}

QString StoredName(const std::array<int16_t, NameLength> &codes)
{
    QString name;
    for (const int16_t code : codes)
        name += CodeToChar(code);
    return name;
}

// Names the radio would show alike although they differ: among the placed
// rows, and with programmed channels the import leaves as they are.
void ReportNameClashes(CsvImportPlan &plan, const CsvFile &file, const ImageTable *image)
{
    struct Holder {
        int line; // 0: a channel of the image
        int channel;
        QString name; // as the file (or the image) has it
    };
    QHash<int, QString> nameOfLine;
    for (const CsvRow &row : file.rows)
        nameOfLine.insert(row.line, row.name);
    QMap<QString, QList<Holder>> byFace;
    QSet<int> replaced;
    for (const CsvImportPlan::Placed &placed : plan.placed) {
        replaced.insert(placed.channel);
        const QString face = NameFace(StoredName(placed.data.name));
        if (!face.isEmpty())
            byFace[face] << Holder{placed.line, placed.channel, nameOfLine.value(placed.line)};
    }
    if (image)
        for (int n = 1; n <= Channels; ++n) {
            if (replaced.contains(n) || IsChannelEmpty(*image, n))
                continue;
            const QString name = ChannelName(*image, n);
            const QString face = NameFace(name);
            if (byFace.contains(face)) // only names the import brings can clash anew
                byFace[face] << Holder{0, n, name};
        }
    for (auto it = byFace.cbegin(); it != byFace.cend(); ++it) {
        QSet<QString> distinct;
        for (const Holder &h : it.value())
            distinct.insert(NameFace(h.name));
        if (distinct.size() < 2)
            continue;
        QStringList chinese, english;
        for (const Holder &h : it.value()) {
            if (h.line > 0) {
                chinese << QStringLiteral("第 %1 行 %2").arg(h.line).arg(Shown(h.name));
                english << QStringLiteral("line %1 %2").arg(h.line).arg(Shown(h.name));
            } else {
                chinese << QStringLiteral("信道 %1 %2（保留）").arg(h.channel).arg(Shown(h.name));
                english << QStringLiteral("channel %1 %2 (kept)").arg(h.channel).arg(Shown(h.name));
            }
        }
        const BilingualText reason{QStringLiteral("对讲机上显示相同的名称 %1：%2")
                                       .arg(Shown(it.key()), chinese.join(QStringLiteral("，"))),
                                   QStringLiteral("names the radio shows alike as %1: %2")
                                       .arg(Shown(it.key()), english.join(QStringLiteral(", ")))};
        plan.report << CsvIssue{it.value().constFirst().line, QStringLiteral("Name"),
                                CsvIssue::Kind::Note, reason};
    }
}

CsvIssue RowIssue(int line, const BilingualText &reason)
{
    return {line, QString(), CsvIssue::Kind::Refused, reason};
}

} // namespace

QStringList ChannelCsvHeader()
{
    QStringList header;
    for (const char *column : FormatColumns)
        header << QString::fromLatin1(column);
    return header;
}

QByteArray ExportChannelCsv(const ImageTable &image, const QList<int> &channels)
{
    QList<int> list = channels;
    if (list.isEmpty())
        for (int n = 1; n <= Channels; ++n)
            list << n;
    QByteArray text = CsvLine(ChannelCsvHeader());
    for (int n : list) {
        if (n < 1 || n > Channels || IsChannelEmpty(image, n))
            continue;
        const int shift = Record::ShiftDirection(image, n);
        // An unknown tone type shows nothing in the grid: no tone here.
        const int encode = std::max(0, Record::Encode.position(image, n));
        const int decode = std::max(0, Record::Decode.position(image, n));
        QString tone, rTone = DefaultTone, cTone = DefaultTone, code = DefaultDcs,
                      rxCode = DefaultDcs;
        QString cross = QStringLiteral("Tone->Tone");
        const ToneKind e = KindOf(encode);
        const ToneKind d = KindOf(decode);
        if (e == ToneKind::Off && d == ToneKind::Off) {
        } else if (e == ToneKind::Ctcss && d == ToneKind::Off) {
            tone = QStringLiteral("Tone");
            rTone = CtcssText(encode);
        } else if (e == ToneKind::Ctcss && encode == decode) {
            tone = QStringLiteral("TSQL");
            rTone = cTone = CtcssText(encode);
        } else if (e == ToneKind::Dcs && d == ToneKind::Dcs
                   && DcsIndexOf(encode) == DcsIndexOf(decode)) {
            tone = QStringLiteral("DTCS");
            code = rxCode = DcsText(encode);
        } else {
            tone = QStringLiteral("Cross");
            const auto side = [](ToneKind kind) {
                return kind == ToneKind::Ctcss ? QStringLiteral("Tone")
                       : kind == ToneKind::Dcs ? QStringLiteral("DTCS")
                                               : QString();
            };
            cross = side(e) + QStringLiteral("->") + side(d);
            if (e == ToneKind::Ctcss)
                rTone = CtcssText(encode);
            if (e == ToneKind::Dcs)
                code = DcsText(encode);
            if (d == ToneKind::Ctcss)
                cTone = CtcssText(decode);
            if (d == ToneKind::Dcs)
                rxCode = DcsText(decode);
        }
        const QString polarity = QString(e == ToneKind::Dcs ? Polarity(encode) : QChar(u'N'))
                                 + (d == ToneKind::Dcs ? Polarity(decode) : QChar(u'N'));
        const int power = Record::Power.get(image, n);
        const QStringList fields{
            QString::number(n),
            ChannelName(image, n),
            QString::number(Record::RxMHz(image, n), 'f', 6),
            shift == 1   ? QStringLiteral("+")
            : shift == 2 ? QStringLiteral("-")
                         : QString(),
            QString::number(Record::Offset.mhz(image, n), 'f', 6),
            tone,
            rTone,
            cTone,
            code,
            polarity,
            rxCode,
            cross,
            Record::Wide.get(image, n) ? QStringLiteral("FM") : QStringLiteral("NFM"),
            QStringLiteral("5.00"),
            Record::ScanAdd.get(image, n) ? QString() : QStringLiteral("S"),
            // Power bits 3 name no level; the grid's default stands in.
            power == 0   ? QStringLiteral("Low")
            : power == 1 ? QStringLiteral("Mid")
                         : QStringLiteral("High"),
            QString(),
            QString(),
            QString(),
            QString(),
            QString(),
            OnOff(Record::Vox.get(image, n)),
            OnOff(Record::BusyLock.get(image, n)),
            OnOff(Record::TxStop.get(image, n)),
        };
        text += CsvLine(fields);
    }
    return text;
}

CsvFile ParseChannelCsv(const QByteArray &text, FrequencyBand band)
{
    CsvFile file;
    const QList<CsvRecord> records = ReadCsvRecords(text);
    if (records.isEmpty()) {
        file.error = Bilingual("文件是空的。", "The file is empty.");
        return file;
    }
    QHash<QString, int> columns;
    const CsvRecord &header = records.constFirst();
    for (int i = 0; i < header.fields.size(); ++i) {
        const QString key = header.fields.at(i).trimmed().toLower();
        if (!key.isEmpty() && !columns.contains(key))
            columns.insert(key, i);
    }
    if (!columns.contains(RowFields::Key("Frequency"))) {
        file.error = Arg(
            Bilingual("第 %1 行不是信道列表的表头：缺少 Frequency 列。",
                      "Line %1 is not the header of a channel list: it has no Frequency column."),
            QString::number(header.line));
        return file;
    }
    file.hasLocation = columns.contains(RowFields::Key("Location"));
    auto scratch = std::make_unique<ImageTable>();
    bool wattsSeen = false;
    for (qsizetype i = 1; i < records.size(); ++i) {
        const CsvRecord &record = records.at(i);
        CsvRow row;
        row.line = record.line;
        const RowFields fields(columns, record);
        bool ok = false;
        const int location = fields.value("Location").toInt(&ok);
        if (ok)
            row.location = location;
        RowReader(fields, row, band, *scratch, wattsSeen, file.notes).read();
        file.rows << row;
    }
    StoreNames(file.rows);
    return file;
}

CsvImportPlan PlanCsvImport(const CsvFile &file, const CsvPlacement &placement,
                            const ImageTable *image)
{
    CsvImportPlan plan;
    plan.report = file.notes;
    CsvPlacement::Mode mode = placement.mode;
    std::optional<int> lowest;
    if (mode == CsvPlacement::Mode::Relative) {
        for (const CsvRow &row : file.rows) {
            if (!row.location) {
                mode = CsvPlacement::Mode::FileOrder; // nothing to keep the gaps by
                break;
            }
            if (row.channel)
                lowest = std::min(*row.location, lowest.value_or(*row.location));
        }
    }
    QHash<int, int> lineOfChannel;
    int next = placement.firstChannel;
    for (const CsvRow &row : file.rows) {
        ++plan.rowCount;
        plan.report << row.issues;
        if (!row.channel) {
            ++plan.refusedCount;
            continue;
        }
        int channel = 0;
        if (mode == CsvPlacement::Mode::FileNumbers) {
            if (!file.hasLocation) {
                plan.report << RowIssue(
                    row.line,
                    Bilingual("文件没有 Location 列：请按文件顺序放置",
                              "the file has no Location column: place the rows in file order"));
            } else if (!row.location || *row.location < 1 || *row.location > Channels) {
                plan.report << CsvIssue{
                    row.line, QStringLiteral("Location"), CsvIssue::Kind::Refused,
                    Bilingual("信道号应为 1..128", "the channel number should be 1..128")};
            } else {
                channel = *row.location;
            }
        } else {
            channel = mode == CsvPlacement::Mode::FileOrder
                          ? next++
                          : placement.firstChannel + (*row.location - *lowest);
            if (channel > Channels) {
                plan.report << RowIssue(row.line,
                                        Arg(Bilingual("将落在信道 %1，超过了信道 128",
                                                      "would go to channel %1, past channel 128"),
                                            QString::number(channel)));
                channel = 0;
            }
        }
        if (channel > 0 && lineOfChannel.contains(channel)) {
            plan.report << RowIssue(
                row.line,
                Arg(Bilingual("信道 %1 已由第 %2 行给出", "channel %1 is already given by line %2"),
                    QString::number(channel), QString::number(lineOfChannel.value(channel))));
            channel = 0;
        }
        if (channel == 0) {
            ++plan.refusedCount;
            continue;
        }
        lineOfChannel.insert(channel, row.line);
        plan.placed << CsvImportPlan::Placed{row.line, channel, *row.channel};
        if (std::any_of(row.issues.begin(), row.issues.end(), [](const CsvIssue &issue) {
                return issue.kind == CsvIssue::Kind::Changed;
            }))
            ++plan.changedCount;
    }
    ReportNameClashes(plan, file, image);
    std::stable_sort(plan.report.begin(), plan.report.end(),
                     [](const CsvIssue &a, const CsvIssue &b) { return a.line < b.line; });
    return plan;
}

void ApplyCsvImport(ImageTable &image, const CsvImportPlan &plan)
{
    for (const CsvImportPlan::Placed &placed : plan.placed) {
        std::copy_n(placed.data.cells.begin(), BlockSize, image[placed.channel].begin());
        for (int k = 0; k < NameLength; ++k)
            NameCell(placed.channel, k).set(image, placed.data.name[k]);
    }
}

QString CsvIssueText(const CsvIssue &issue)
{
    const QString kind = issue.kind == CsvIssue::Kind::Refused   ? Texts("拒绝", "refused")
                         : issue.kind == CsvIssue::Kind::Changed ? Texts("已更改", "changed")
                                                                 : Texts("说明", "note");
    const QString where =
        issue.column.isEmpty()
            ? Texts("第 %1 行", "Line %1").arg(issue.line)
            : Texts("第 %1 行，%2", "Line %1, %2").arg(issue.line).arg(issue.column);
    return Texts("%1：%2：%3", "%1: %2: %3").arg(where, kind, issue.reason.text());
}

QString CsvPlanSummary(const CsvImportPlan &plan)
{
    return Texts("共 %1 行：写入 %2 行（其中 %3 行有更改），拒绝 %4 行。",
                 plan.rowCount == 1 ? "%1 row: %2 applied (%3 of them changed), %4 refused."
                                    : "%1 rows: %2 applied (%3 of them changed), %4 refused.")
        .arg(plan.rowCount)
        .arg(plan.placed.size())
        .arg(plan.changedCount)
        .arg(plan.refusedCount);
}
