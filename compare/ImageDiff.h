// What differs between two radio images, as a user thinks of it: a channel
// and a field of the grid with the texts the grid shows, the VFO and the
// optional features by the captions of their window, the FM stations by
// their number, and any byte that none of these explains by its row and
// column. Verify (file against radio) and compare (memory against a file)
// both list their results through here; texts follow IsChinese.
#pragma once

#include "Globals.h"

#include <QJsonObject>
#include <QList>
#include <QString>

// The bits of one cell that a difference accounts for.
struct DiffCell {
    int row = 0;
    int column = 0;
    int mask = 0xFF;
};

struct ImageDifference {
    enum class Area { Channel, Vfo, Option, FmStation, Bytes };
    Area area = Area::Bytes;
    // Channel 1..128, FM station 0..24 or row 0..255 (Bytes); 0 otherwise.
    int index = 0;
    QString key; // stable field name for scripts: "tx", "squelch", "bytes"
    QString what; // "CH 12", "VFO", "Row 212"
    QString field; // "TX Frequency", a caption of the options window, "Columns 0, 3"
    QString left; // the field's text in the first image
    QString right; // ... and in the second
    QList<DiffCell> cells; // only cells where the images differ
};

// Rows first..last (columns 0..15) of a and b compared. A field is listed
// when its text differs; every differing bit that no listed field accounts
// for is listed by row, columns and byte values. Order: VFO, channels (with
// their names), FM stations, options, other bytes by row.
QList<ImageDifference> DiffImages(const ImageTable &a, const ImageTable &b, int firstRow = 0,
                                  int lastRow = UsedRows - 1);

// "CH 12  TX Frequency  446.10000 → 446.20000".
QString DifferenceLine(const ImageDifference &difference);
// {"same": bool, "count": n, "differences": [{"area", "key", "what", "field",
// leftName, rightName, and "channel"/"station"/"row" with "columns" where
// they apply}]}.
QJsonObject DifferencesJson(const QList<ImageDifference> &differences, const QString &leftName,
                            const QString &rightName);
// "No differences." / "3 differences." in the current language.
QString DifferenceSummary(qsizetype count);
// A field's text as a table or a line shows it: an empty one as "(empty)".
QString ShownDifferenceValue(const QString &text);
