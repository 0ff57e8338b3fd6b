#include "ImageReport.h"

#include "ChannelReport.h"
#include "ChannelTexts.h"
#include "Globals.h"
#include "RecordCodec.h"
#include "SettingsReport.h"

#include <QJsonArray>
#include <algorithm>

namespace {

// Tone texts carry the blanks of the tone list, which a script has no use for.
QString ToneCell(const std::optional<QString> &tone) { return tone.value_or(QString()).trimmed(); }

bool IsWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF)
           || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF)
           || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60)
           || (c >= 0xFFE0 && c <= 0xFFE6);
}

QString Pad(const QString &text, int width)
{
    return text + QString(std::max(0, width - DisplayWidth(text)), u' ');
}

QString AlignedRows(const QList<QStringList> &rows)
{
    QList<int> widths;
    for (const QStringList &row : rows)
        for (int c = 0; c < row.size(); ++c) {
            if (widths.size() <= c)
                widths << 0;
            widths[c] = std::max(widths[c], DisplayWidth(row.at(c)));
        }
    QString text;
    for (const QStringList &row : rows) {
        QString line;
        for (int c = 0; c < row.size(); ++c)
            line += c + 1 < row.size() ? Pad(row.at(c), widths[c] + 2) : row.at(c);
        while (line.endsWith(u' '))
            line.chop(1);
        text += line + u'\n';
    }
    return text;
}

QString ItemsText(const QString &title, const QList<ReportItem> &items)
{
    QList<QStringList> rows;
    for (const ReportItem &item : items)
        rows << QStringList{QStringLiteral("  ") + item.label, item.value};
    return title + u'\n' + AlignedRows(rows);
}

QJsonObject ItemsJson(const QList<ReportItem> &items)
{
    QJsonObject object;
    for (const ReportItem &item : items)
        object.insert(item.key, item.value);
    return object;
}

} // namespace

int DisplayWidth(const QString &text)
{
    int width = 0;
    for (char32_t c : text.toUcs4())
        width += IsWide(c) ? 2 : 1;
    return width;
}

QString ImageReportText(const ImageTable &image, bool all)
{
    QList<QStringList> rows{ChannelColumnTitles() + ChannelSwitchTitles()};
    for (int n = 1; n <= ChannelCount; ++n) {
        const ChannelRowTexts texts = ChannelTextsOf(image, n);
        if (texts.empty && !all)
            continue;
        rows << (texts.empty ? QStringList{QString::number(n)} : ChannelRowCells(image, n));
    }
    return AlignedRows(rows) + u'\n' + ItemsText(VfoTitle(), VfoItems(image)) + u'\n'
           + ItemsText(OptionsTitle(), OptionItems(image));
}

QJsonObject ImageReportJson(const ImageTable &image, bool all)
{
    QJsonArray channels;
    for (int n = 1; n <= ChannelCount; ++n) {
        const ChannelRowTexts t = ChannelTextsOf(image, n);
        if (t.empty && !all)
            continue;
        QJsonObject channel{{QStringLiteral("channel"), n}, {QStringLiteral("empty"), t.empty}};
        if (!t.empty) {
            channel.insert(QStringLiteral("rx"), t.receive);
            channel.insert(QStringLiteral("tx"), t.transmit);
            channel.insert(QStringLiteral("decode"), ToneCell(t.decode));
            channel.insert(QStringLiteral("encode"), ToneCell(t.encode));
            channel.insert(QStringLiteral("power"), t.power.value_or(QString()));
            channel.insert(QStringLiteral("bandwidth"), t.bandwidth);
            channel.insert(QStringLiteral("name"), t.name);
            for (const ChannelSwitchState &s : ChannelSwitchStates(image, n))
                channel.insert(s.key, s.on);
        }
        channels.append(channel);
    }
    return {{QStringLiteral("channels"), channels},
            {QStringLiteral("vfo"), ItemsJson(VfoItems(image))},
            {QStringLiteral("options"), ItemsJson(OptionItems(image))}};
}

QString TextTable(const QList<QStringList> &rows) { return AlignedRows(rows); }
