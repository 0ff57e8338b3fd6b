// The FM broadcast station list: the text a station code shows, the code a
// cell's text stores, and what leaving a cell makes of a typed text. Qt
// Core only, so the rules can be checked as tables.
#pragma once

#include "ChannelMessages.h"
#include "ImageChanges.h"

#include <QList>
#include <QString>

namespace FmRules {

// The band the list accepts, both limits included.
constexpr int LowTenths = 870; // 87.0 MHz
constexpr int HighTenths = 1080; // 108.0 MHz
constexpr int EmptyCode = 255;
// An entry of more characters is refused at once.
constexpr int MaxEntryLength = 5;

// 87.0, 88.5, 100.0, 108.0; "" for a code above 210 (no station).
QString StationText(int code);

// Whether the leading number of the text lies in 87..108, compared on its
// decimal digits. Blanks are skipped; a text without a number is outside.
bool InsideFmBand(const QString &text);

// The code a cell's text stores: the whole tenths by which its decimal
// value exceeds 87.0 (87.15 -> 1, 99.95 -> 129, 108 -> 210); 255 for an
// empty cell or a value outside the band.
int StationCode(const QString &text);

// Leaving a cell with the editor's text: in the band, a text of two or
// three characters gets ".0" (88 -> 88.0); outside it, a text with a
// non-blank character becomes "87" with the FM message, and an empty one
// stays empty.
struct LeftCell {
    QString text;
    bool outOfRange = false;
};
LeftCell LeaveCell(const QString &typed);

bool EntryTooLong(const QString &typed);

// Stations 0..24 whose code changed, ascending.
QList<int> StationsTouched(const ImageChange &change);

} // namespace FmRules

namespace ChannelMessages {
inline const BilingualText FmOutOfRange{QStringLiteral("收音机频率超出范围 ！"),
                                        QStringLiteral("Over the range of FM frequency .")};
} // namespace ChannelMessages
