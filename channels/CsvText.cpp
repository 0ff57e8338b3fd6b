#include "CsvText.h"

#include <algorithm>

namespace {

QChar Separator(const QString &text)
{
    // The first line, outside quotes, decides.
    bool quoted = false;
    bool tab = false;
    bool semicolon = false;
    for (const QChar ch : text) {
        if (ch == u'"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (ch == u',')
            return u',';
        else if (ch == u'\n' || ch == u'\r')
            break;
        else if (ch == u'\t')
            tab = true;
        else if (ch == u';')
            semicolon = true;
    }
    return tab ? u'\t' : semicolon ? u';' : u',';
}

// Spreadsheets end a sheet with lines of bare separators; they hold no row.
bool IsBlank(const CsvRecord &record)
{
    return std::all_of(record.fields.begin(), record.fields.end(),
                       [](const QString &field) { return field.trimmed().isEmpty(); });
}

} // namespace

QList<CsvRecord> ReadCsvRecords(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QChar separator = Separator(text);

    QList<CsvRecord> records;
    CsvRecord record{1, {}};
    QString field;
    bool quoted = false; // inside a quoted part of a field
    int line = 1;
    auto endField = [&] {
        record.fields << field;
        field.clear();
    };
    auto endRecord = [&] {
        endField();
        if (!IsBlank(record))
            records << record;
        record = CsvRecord{line, {}};
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (quoted) {
            if (ch == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (ch == u'\n')
                    ++line;
                field += ch;
            }
            continue;
        }
        if (ch == u'"') {
            quoted = true;
        } else if (ch == separator) {
            endField();
        } else if (ch == u'\r' || ch == u'\n') {
            if (ch == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            ++line;
            endRecord();
        } else {
            field += ch;
        }
    }
    if (!field.isEmpty() || !record.fields.isEmpty())
        endRecord();
    return records;
}

QByteArray CsvLine(const QStringList &fields)
{
    QStringList out;
    for (const QString &field : fields) {
        // Blanks at either end are quoted too: a name's blanks are part of it.
        const bool quote =
            field.contains(u',') || field.contains(u'"') || field.contains(u'\n')
            || field.contains(u'\r')
            || (!field.isEmpty() && (field.front().isSpace() || field.back().isSpace()));
        if (quote)
            out << u'"' + QString(field).replace(u'"', QLatin1String("\"\"")) + u'"';
        else
            out << field;
    }
    return out.join(u',').toUtf8() + "\r\n";
}
