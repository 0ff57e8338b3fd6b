// Comma-separated text as spreadsheets and other channel programs write
// it: quoted fields (with commas, quotes and line breaks inside), CRLF or
// LF line ends, a byte-order mark. Knows nothing of channels.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct CsvRecord {
    int line = 0; // 1-based line of the file on which the record starts
    QStringList fields;
};

// The records of a text, blank lines left out. The separator is the comma,
// unless the first record has none but a tab or a semicolon (text pasted
// from a spreadsheet, or saved by one set up for a decimal comma).
QList<CsvRecord> ReadCsvRecords(const QByteArray &bytes);

// One line of fields joined by commas, quoted where a field would
// otherwise be read differently, ended by CRLF.
QByteArray CsvLine(const QStringList &fields);
