#include "ChannelCsv.h"

#include "ChannelCsvRows.h"
#include "ChannelTexts.h"
#include "Conversions.h"
#include "CsvText.h"
#include "NameFitting.h"
#include "RecordCodec.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <algorithm>
#include <memory>

namespace {

using namespace CsvRows;

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
        for (int n = 1; n <= ChannelCount; ++n) {
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
        ReadRow(fields, row, band, *scratch, wattsSeen, file.notes);
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
            } else if (!row.location || *row.location < 1 || *row.location > ChannelCount) {
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
            if (channel > ChannelCount) {
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
