#include "PortRecord.h"

#include <QStringList>
#include <algorithm>

namespace {

// A message box's lines on one line of a table or a log.
QString OneLine(const QString &text)
{
    QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    for (QString &line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    return lines.join(u' ');
}

// Width on a terminal: CJK characters and full-width punctuation take two
// columns.
int DisplayWidth(const QString &text)
{
    int width = 0;
    for (const QChar ch : text)
        width +=
            ch.unicode() >= 0x1100 && (ch.unicode() <= 0x115F || ch.unicode() >= 0x2E80) ? 2 : 1;
    return width;
}

QString Pad(const QString &text, int width)
{
    return text + QString(std::max(0, width - DisplayWidth(text)), u' ');
}

int Severity(PortOutcome outcome)
{
    switch (outcome) {
    case PortOutcome::Completed:
        return 0;
    case PortOutcome::FileError:
        return 1;
    case PortOutcome::Different:
        return 2;
    case PortOutcome::Failed:
        return 3;
    case PortOutcome::Pending:
    case PortOutcome::Running:
    case PortOutcome::Stopped:
        return 4;
    case PortOutcome::Interrupted:
        return 5;
    }
    return 5;
}

// A verify's own results, and those of the verify after a write.
BilingualText VerifyOutcomeText(const PortRecord &record)
{
    const bool after = record.task == PortTask::Write;
    const int count = int(record.differences.size());
    switch (record.outcome) {
    case PortOutcome::Running:
        return after ? Bilingual("已写入，正在校验", "written, verifying")
                     : Bilingual("正在校验", "verifying");
    case PortOutcome::Completed:
        return after ? Bilingual("已写入，校验一致", "written and verified")
                     : Bilingual("与文件一致", "same as the file");
    case PortOutcome::Different:
        return after ? BilingualText{QStringLiteral("已写入，但校验发现 %1 处不同").arg(count),
                                     QStringLiteral("written, but the verify found %1 difference%2")
                                         .arg(count)
                                         .arg(count == 1 ? "" : "s")}
                     : BilingualText{
                         QStringLiteral("%1 处不同").arg(count),
                         QStringLiteral("%1 difference%2").arg(count).arg(count == 1 ? "" : "s")};
    case PortOutcome::Failed:
    case PortOutcome::FileError:
        return {
            (after ? QStringLiteral("已写入，校验失败：") : QStringLiteral("失败："))
                + OneLine(record.detail.chinese),
            (after ? QStringLiteral("written, the verify failed: ") : QStringLiteral("failed: "))
                + OneLine(record.detail.english)};
    case PortOutcome::Interrupted:
        return after ? Bilingual("已写入，校验被中断", "written, the verify was broken off")
                     : Bilingual("已中断", "interrupted");
    case PortOutcome::Pending:
    case PortOutcome::Stopped:
        break;
    }
    return {};
}

} // namespace

BilingualText OutcomeText(const PortRecord &record)
{
    if (record.task == PortTask::Verify || record.written) {
        if (const BilingualText text = VerifyOutcomeText(record); !text.isEmpty())
            return text;
    }
    const bool write = record.task == PortTask::Write;
    switch (record.outcome) {
    case PortOutcome::Pending:
        return Bilingual("等待对讲机", "waiting for a radio");
    case PortOutcome::Running:
        return write ? Bilingual("正在写入", "writing") : Bilingual("正在读取", "reading");
    case PortOutcome::Completed:
        if (!record.detail.isEmpty())
            return {QStringLiteral("已读取 → ") + record.detail.chinese,
                    QStringLiteral("read → ") + record.detail.english};
        return write ? Bilingual("已写入", "written") : Bilingual("已读取", "read");
    case PortOutcome::Different:
    case PortOutcome::Failed:
    case PortOutcome::FileError:
        return {QStringLiteral("失败：") + OneLine(record.detail.chinese),
                QStringLiteral("failed: ") + OneLine(record.detail.english)};
    case PortOutcome::Interrupted:
        if (write)
            return {QStringLiteral("已中断，只写入了一部分（%1%），请重新写入").arg(record.percent),
                    QStringLiteral("interrupted, HALF WRITTEN (%1%): write it again")
                        .arg(record.percent)};
        return Bilingual("已中断", "interrupted");
    case PortOutcome::Stopped:
        return Bilingual("已停止，未连接对讲机", "stopped before a radio answered");
    }
    return {};
}

QString ElapsedText(qint64 ms)
{
    return QString::number(double(ms) / 1000.0, 'f', 1) + QStringLiteral(" s");
}

QString SummaryTable(const QList<PortRecord> &records)
{
    const bool numbered = std::any_of(records.begin(), records.end(),
                                      [](const PortRecord &r) { return r.number > 0; });
    QList<QStringList> rows;
    QStringList header{Texts("端口", "Port")};
    if (numbered)
        header << QStringLiteral("#");
    header << Texts("结果", "Result") << Texts("用时", "Time") << Texts("尝试次数", "Attempts");
    rows << header;
    for (const PortRecord &r : records) {
        QStringList row{r.device};
        if (numbered)
            row << QString::number(r.number);
        row << OutcomeText(r).text() << ElapsedText(r.elapsedMs) << QString::number(r.attempts);
        rows << row;
    }
    // The result column goes last on screen when it is long, so align the
    // others and let it run on.
    const int resultColumn = numbered ? 2 : 1;
    QList<int> widths(header.size(), 0);
    for (const QStringList &row : rows)
        for (int c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], DisplayWidth(row.at(c)));
    QString table;
    for (const QStringList &row : rows) {
        QString line;
        for (int c = 0; c < row.size(); ++c) {
            if (c == resultColumn)
                continue;
            line += Pad(row.at(c), widths[c]) + QStringLiteral("  ");
        }
        line += row.at(resultColumn);
        table += line.trimmed() + u'\n';
    }
    return table;
}

int WorstExitCode(const QList<PortRecord> &records)
{
    int worst = 0;
    for (const PortRecord &r : records)
        worst = std::max(worst, Severity(r.outcome));
    switch (worst) {
    case 0:
        return 0;
    case 1:
        return 2;
    case 2:
        return 3;
    default:
        return 1;
    }
}

QString LogLine(const PortRecord &record)
{
    // The local time with its offset, so logs from several machines compare.
    const QDateTime time = record.finished.toOffsetFromUtc(record.finished.offsetFromUtc());
    return QStringList{time.toString(Qt::ISODate),     record.device,
                       QString::number(record.number), OutcomeText(record).english,
                       ElapsedText(record.elapsedMs),  QString::number(record.attempts)}
        .join(u'\t');
}
