#include "ChannelCsv.h"

#include "ChannelCsvFormat.h"
#include "ChannelTexts.h"
#include "CsvText.h"
#include "RecordCodec.h"

#include <algorithm>

namespace {

const char *const FormatColumns[] = {
    "Location",  "Name",      "Frequency", "Duplex",       "Offset",     "Tone",
    "rToneFreq", "cToneFreq", "DtcsCode",  "DtcsPolarity", "RxDtcsCode", "CrossMode",
    "Mode",      "TStep",     "Skip",      "Power",        "Comment",    "URCALL",
    "RPT1CALL",  "RPT2CALL",  "DVCODE",    "Vox",          "BusyLock",   "TxStop"};

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

// The format's tone columns of a channel; the columns its mode leaves
// unused hold what other programs write there.
struct ToneColumns {
    QString tone;
    QString rTone = CsvDefaultTone;
    QString cTone = CsvDefaultTone;
    QString code = CsvDefaultDcs;
    QString polarity;
    QString rxCode = CsvDefaultDcs;
    QString cross = QStringLiteral("Tone->Tone");
};

ToneColumns TonesOf(int encode, int decode)
{
    ToneColumns t;
    const ToneKind e = KindOf(encode);
    const ToneKind d = KindOf(decode);
    if (e == ToneKind::Off && d == ToneKind::Off) {
    } else if (e == ToneKind::Ctcss && d == ToneKind::Off) {
        t.tone = QStringLiteral("Tone");
        t.rTone = CtcssText(encode);
    } else if (e == ToneKind::Ctcss && encode == decode) {
        t.tone = QStringLiteral("TSQL");
        t.rTone = t.cTone = CtcssText(encode);
    } else if (e == ToneKind::Dcs && d == ToneKind::Dcs
               && DcsIndexOf(encode) == DcsIndexOf(decode)) {
        t.tone = QStringLiteral("DTCS");
        t.code = t.rxCode = DcsText(encode);
    } else {
        t.tone = QStringLiteral("Cross");
        const auto side = [](ToneKind kind) {
            return kind == ToneKind::Ctcss ? QStringLiteral("Tone")
                   : kind == ToneKind::Dcs ? QStringLiteral("DTCS")
                                           : QString();
        };
        t.cross = side(e) + QStringLiteral("->") + side(d);
        if (e == ToneKind::Ctcss)
            t.rTone = CtcssText(encode);
        if (e == ToneKind::Dcs)
            t.code = DcsText(encode);
        if (d == ToneKind::Ctcss)
            t.cTone = CtcssText(decode);
        if (d == ToneKind::Dcs)
            t.rxCode = DcsText(decode);
    }
    t.polarity = QString(e == ToneKind::Dcs ? Polarity(encode) : QChar(u'N'))
                 + (d == ToneKind::Dcs ? Polarity(decode) : QChar(u'N'));
    return t;
}

// The fields of channel n, a programmed one, in the order of the header.
QStringList ChannelFields(const ImageTable &image, int n)
{
    const int shift = Record::ShiftDirection(image, n);
    // An unknown tone type shows nothing in the grid: no tone here.
    const ToneColumns tones = TonesOf(std::max(0, Record::Encode.position(image, n)),
                                      std::max(0, Record::Decode.position(image, n)));
    const int power = Record::Power.get(image, n);
    return {
        QString::number(n),
        ChannelName(image, n),
        QString::number(Record::RxMHz(image, n), 'f', 6),
        shift == 1   ? QStringLiteral("+")
        : shift == 2 ? QStringLiteral("-")
                     : QString(),
        QString::number(Record::Offset.mhz(image, n), 'f', 6),
        tones.tone,
        tones.rTone,
        tones.cTone,
        tones.code,
        tones.polarity,
        tones.rxCode,
        tones.cross,
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
        for (int n = 1; n <= ChannelCount; ++n)
            list << n;
    QByteArray text = CsvLine(ChannelCsvHeader());
    for (int n : list)
        if (n >= 1 && n <= ChannelCount && !IsChannelEmpty(image, n))
            text += CsvLine(ChannelFields(image, n));
    return text;
}
