// Reading one row of a channel list into a channel, field by field: the
// part of the import that checks what each column holds. Where the rows
// go is ChannelCsvImport.cpp's.
#pragma once

#include "ChannelCsv.h"
#include "CsvText.h"

#include <QHash>
#include <QList>
#include <QString>

namespace CsvRows {

// QString::arg on both texts of a caption.
BilingualText Arg(const BilingualText &caption, const QString &a);
BilingualText Arg(const BilingualText &caption, const QString &a, const QString &b);
// A field's text in a message: no control characters, not overly long.
QString Shown(const QString &text);

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

// Reads one row into row.channel, or leaves it empty when a field refuses
// the row; what it changed or refused goes to row.issues, what is said once
// for the file (wattsSeen: watts taken as power levels) to notes. scratch is
// an image the reading may use as it likes.
void ReadRow(const RowFields &fields, CsvRow &row, FrequencyBand band, ImageTable &scratch,
             bool &wattsSeen, QList<CsvIssue> &notes);

} // namespace CsvRows
