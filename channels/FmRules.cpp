#include "FmRules.h"

#include "Conversions.h"
#include "RecordCodec.h"

#include <optional>

namespace {

// The leading decimal number of a text as digits, blanks skipped, so that
// tenths are taken on the typed value and not on its binary neighbour.
struct Decimal {
    bool negative = false;
    QString whole; // without leading zeros
    QString fraction; // without trailing zeros
};

std::optional<Decimal> LeadingDecimal(const QString &text)
{
    Decimal number;
    bool sign = false, point = false, digit = false;
    for (const QChar ch : text) {
        if (ch == u' ' || ch == u'\t')
            continue;
        if (!sign && !digit && !point && (ch == u'+' || ch == u'-')) {
            sign = true;
            number.negative = ch == u'-';
        } else if (ch.isDigit() && ch.unicode() < 128) {
            digit = true;
            (point ? number.fraction : number.whole) += ch;
        } else if (ch == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digit)
        return std::nullopt;
    while (number.whole.startsWith(u'0'))
        number.whole.remove(0, 1);
    while (number.fraction.endsWith(u'0'))
        number.fraction.chop(1);
    return number;
}

// Tenths of the number, cut towards zero; nothing when it has more digits
// than any frequency of the band.
std::optional<int> Tenths(const Decimal &number)
{
    if (number.whole.size() > 4)
        return std::nullopt;
    const int whole = number.whole.isEmpty() ? 0 : number.whole.toInt();
    const int tenth = number.fraction.isEmpty() ? 0 : number.fraction.at(0).digitValue();
    return whole * 10 + tenth;
}

bool Inside(const Decimal &number)
{
    const std::optional<int> tenths = Tenths(number);
    if (!tenths || number.negative)
        return false;
    if (*tenths < FmRules::LowTenths || *tenths > FmRules::HighTenths)
        return false;
    // 108.0 is the last frequency: 108.01 is above it.
    return *tenths < FmRules::HighTenths || number.fraction.size() <= 1;
}

} // namespace

namespace FmRules {

QString StationText(int code)
{
    return FmPresets::IsEmpty(code) || code < 0 ? QString() : FmChannelText(code);
}

bool InsideFmBand(const QString &text)
{
    const std::optional<Decimal> number = LeadingDecimal(text);
    return number && Inside(*number);
}

int StationCode(const QString &text)
{
    const std::optional<Decimal> number = LeadingDecimal(text);
    if (!number || !Inside(*number))
        return EmptyCode;
    return *Tenths(*number) - LowTenths;
}

LeftCell LeaveCell(const QString &typed)
{
    if (!InsideFmBand(typed)) {
        QString blanksRemoved = typed;
        blanksRemoved.remove(u' ');
        if (blanksRemoved.isEmpty())
            return {QString(), false};
        return {QStringLiteral("87"), true};
    }
    if (typed.size() == 2 || typed.size() == 3)
        return {typed + QStringLiteral(".0"), false};
    return {typed, false};
}

bool EntryTooLong(const QString &typed) { return typed.size() > MaxEntryLength; }

QList<int> StationsTouched(const ImageChange &change)
{
    QList<int> stations;
    for (const RowChange &row : change.rows)
        for (int column : row.changedColumns()) {
            const int station = (row.row - FmRowFirst) * BlockSize + column;
            if (row.row >= FmRowFirst && station >= 0 && station < FmPresetCount)
                stations << station;
        }
    return stations;
}

} // namespace FmRules
