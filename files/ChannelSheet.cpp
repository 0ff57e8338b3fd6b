#include "ChannelSheet.h"

#include "BandChart.h"
#include "ChannelReport.h"
#include "Conversions.h"
#include "Globals.h"
#include "Language.h"
#include "RecordCodec.h"
#include "SettingsReport.h"

#include <QAbstractTextDocumentLayout>
#include <QDateTime>
#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QTextDocument>

namespace {

const QColor NormalColor(0x1f, 0x5f, 0xa8);
const QColor SharedColor(0xd9, 0x82, 0x1e);
const QColor OutOfRangeColor(0xc0, 0x2b, 0x2b);

QFont SheetFont(double points)
{
    QFont font;
    // Latin first, then a CJK face for the Chinese texts; the PDF embeds
    // the glyphs it uses.
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Noto Sans CJK JP")});
    font.setPointSizeF(points);
    // No ligatures, so that text copied out of the PDF reads "Off", not "Oﬀ".
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QString Title() { return Texts("QL540 信道表", "QL540 Channel Sheet"); }

QString RangeText(const BandChart &chart)
{
    return QStringLiteral("%1 - %2 MHz").arg(NumberText(chart.lowMHz), NumberText(chart.highMHz));
}

BandChart Chart() { return LayOutBandChart(RadioData, BandLowMHz, BandHighMHz); }

QString Table(const QStringList &titles, const QList<QStringList> &rows)
{
    QString html = QStringLiteral(
        "<table border='1' cellspacing='0' cellpadding='3' width='100%'><thead><tr>");
    for (const QString &title : titles)
        html += QStringLiteral("<th>%1</th>").arg(title.toHtmlEscaped());
    html += QStringLiteral("</tr></thead>");
    for (const QStringList &row : rows) {
        html += QStringLiteral("<tr>");
        for (const QString &cell : row)
            html +=
                QStringLiteral("<td style='white-space:nowrap'>%1</td>").arg(cell.toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

QString ItemsTable(const QList<ReportItem> &items)
{
    QList<QStringList> rows;
    for (const ReportItem &item : items)
        rows << QStringList{item.label, item.value};
    return Table({Texts("项目", "Item"), Texts("设置", "Setting")}, rows);
}

QString Heading(const QString &text)
{
    return QStringLiteral("<h3>%1</h3>").arg(text.toHtmlEscaped());
}

void PaintChart(QPainter &painter, const QRectF &area, const BandChart &chart)
{
    const double unit = area.height() / 40.0; // everything scales with the chart
    const QRectF axisArea = area.adjusted(unit * 2, 0, -unit * 2, -unit * 5);
    const double axisY = axisArea.bottom();
    auto x = [&](double position) { return axisArea.left() + position * axisArea.width(); };

    painter.save();
    painter.setPen(QPen(Qt::black, unit * 0.15));
    painter.drawLine(QPointF(axisArea.left(), axisY), QPointF(axisArea.right(), axisY));
    painter.setFont(SheetFont(7));
    for (double tick : chart.ticks) {
        const double tx = x((tick - chart.lowMHz) / (chart.highMHz - chart.lowMHz));
        painter.drawLine(QPointF(tx, axisY), QPointF(tx, axisY + unit * 0.8));
        painter.drawText(QRectF(tx - unit * 4, axisY + unit, unit * 8, unit * 2.5),
                         Qt::AlignHCenter | Qt::AlignTop, NumberText(tick));
    }
    painter.drawText(QRectF(axisArea.right() - unit * 10, axisY + unit * 3, unit * 12, unit * 2),
                     Qt::AlignRight | Qt::AlignTop, QStringLiteral("MHz"));

    const int lanes = std::max(1, chart.laneCount);
    const double laneHeight = std::min(unit * 3.5, (axisArea.height() - unit * 2) / lanes);
    for (const BandChartMark &mark : chart.marks) {
        const QColor color = mark.outOfRange        ? OutOfRangeColor
                             : mark.sharesFrequency ? SharedColor
                                                    : NormalColor;
        const double rx = x(mark.rxPosition);
        const double tx = x(mark.txPosition);
        const double labelY = axisArea.top() + unit + mark.lane * laneHeight;
        painter.setPen(QPen(color, unit * 0.12));
        painter.drawLine(QPointF(rx, labelY + laneHeight * 0.7), QPointF(rx, axisY));
        painter.setBrush(color);
        painter.drawEllipse(QPointF(rx, axisY), unit * 0.45, unit * 0.45);
        if (std::abs(tx - rx) > unit * 0.2 || mark.txMHz != mark.rxMHz) {
            painter.setPen(QPen(color, unit * 0.12, Qt::DashLine));
            painter.drawLine(QPointF(rx, axisY - unit * 0.9), QPointF(tx, axisY - unit * 0.9));
        }
        QPainterPath triangle;
        triangle.moveTo(tx, axisY - unit * 0.3);
        triangle.lineTo(tx - unit * 0.5, axisY - unit * 1.3);
        triangle.lineTo(tx + unit * 0.5, axisY - unit * 1.3);
        triangle.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.drawPath(triangle);
    }
    // Labels last, on white, so that the lines of a crowded band pass behind them.
    painter.setFont(SheetFont(6.5));
    for (const BandChartMark &mark : chart.marks) {
        const QColor color = mark.outOfRange        ? OutOfRangeColor
                             : mark.sharesFrequency ? SharedColor
                                                    : NormalColor;
        const QRectF label(x(mark.rxPosition) - unit * 1.6,
                           axisArea.top() + unit + mark.lane * laneHeight, unit * 3.2,
                           laneHeight * 0.7);
        painter.fillRect(label, Qt::white);
        painter.setPen(color);
        painter.drawText(label, Qt::AlignCenter, QString::number(mark.channel));
    }
    // Legend
    painter.setPen(Qt::black);
    const double legendY = area.bottom() - unit * 1.8;
    struct Entry {
        QColor color;
        QString text;
    };
    const Entry entries[] = {
        {NormalColor, Texts("● 接收  ▲ 发射", "● RX  ▲ TX")},
        {SharedColor, Texts("与其他信道同频", "shares a frequency")},
        {OutOfRangeColor, Texts("超出工作频段", "outside the working range")},
    };
    double legendX = area.left() + unit * 2;
    for (const Entry &entry : entries) {
        painter.setPen(entry.color);
        const QRectF box(legendX, legendY, unit * 22, unit * 1.8);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, entry.text);
        legendX += unit * 22;
    }
    painter.restore();
}

// One painter, pages laid out one after another: the first carries the
// heading, the chart and its notes; the text part flows over the rest.
int Paint(QPagedPaintDevice &device, QPainter &painter)
{
    const QRectF page = QRectF(QPointF(0, 0), QSizeF(device.width(), device.height()));
    const BandChart chart = Chart();

    QTextDocument front;
    front.documentLayout()->setPaintDevice(&device);
    front.setDefaultFont(SheetFont(9));
    front.setTextWidth(page.width());
    QString frontHtml =
        QStringLiteral("<h2>%1</h2><p>%2</p><p>%3</p>")
            .arg(Title().toHtmlEscaped(),
                 (Texts("机型：", "Model: ") + ModelNames.at(std::clamp<int>(ModelIndex, 0, 6)))
                     .toHtmlEscaped(),
                 (Texts("工作频段：", "Working range: ") + RangeText(chart) + QStringLiteral("    ")
                  + Texts("打印日期：", "Printed: ")
                  + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")))
                     .toHtmlEscaped());
    front.setHtml(frontHtml);
    front.drawContents(&painter);
    const double chartTop = front.size().height() + page.height() * 0.01;
    const QRectF chartArea(0, chartTop, page.width(), page.height() * 0.42);
    PaintChart(painter, chartArea, chart);

    QTextDocument notes;
    notes.documentLayout()->setPaintDevice(&device);
    notes.setDefaultFont(SheetFont(9));
    notes.setTextWidth(page.width());
    QString notesHtml;
    for (const QString &note : BandChartNotes())
        notesHtml += QStringLiteral("<p>%1</p>").arg(note.toHtmlEscaped());
    notes.setHtml(notesHtml);
    painter.save();
    painter.translate(0, chartArea.bottom() + page.height() * 0.02);
    notes.drawContents(&painter, QRectF(0, 0, page.width(), page.bottom() - chartArea.bottom()));
    painter.restore();

    QTextDocument body;
    body.documentLayout()->setPaintDevice(&device);
    body.setDefaultFont(SheetFont(7));
    body.setPageSize(page.size());
    body.setHtml(ChannelSheetHtml());
    int pages = 1;
    for (int i = 0; i < body.pageCount(); ++i) {
        device.newPage();
        ++pages;
        painter.save();
        painter.translate(0, -i * page.height());
        body.drawContents(&painter, QRectF(0, i * page.height(), page.width(), page.height()));
        painter.restore();
    }
    return pages;
}

} // namespace

QStringList BandChartNotes()
{
    const BandChart chart = Chart();
    QStringList shared, outside;
    for (const BandChartMark &mark : chart.marks) {
        const QString entry = QStringLiteral("CH %1 (RX %2, TX %3)")
                                  .arg(mark.channel)
                                  .arg(NumberText(mark.rxMHz), NumberText(mark.txMHz));
        if (mark.sharesFrequency)
            shared << entry;
        if (mark.outOfRange)
            outside << entry;
    }
    QStringList notes;
    if (chart.marks.isEmpty())
        notes << Texts("没有已编程的信道。", "No channel is programmed.");
    if (!shared.isEmpty())
        notes << Texts("与其他信道同频：", "Sharing a frequency with another channel: ")
                     + shared.join(QStringLiteral("; "));
    if (!outside.isEmpty())
        notes << Texts("超出工作频段 %1：", "Outside the working range %1: ").arg(RangeText(chart))
                     + outside.join(QStringLiteral("; "));
    return notes;
}

QString ChannelSheetHtml()
{
    QList<QStringList> channels;
    for (int n = 1; n <= ChannelCount; ++n)
        if (!Record::IsEmpty(RadioData, n))
            channels << ChannelRowCells(RadioData, n);
    QString html = Heading(Texts("信道", "Channels"));
    html += channels.isEmpty() ? QStringLiteral("<p>%1</p>")
                                     .arg(Texts("没有已编程的信道。", "No channel is programmed."))
                               : Table(ChannelColumnTitles() + ChannelSwitchTitles(), channels);
    html += Heading(VfoTitle()) + ItemsTable(VfoItems());
    html += Heading(OptionsTitle()) + ItemsTable(OptionItems());

    QList<QStringList> stations;
    for (int i = 0; i < FmPresetCount; ++i) {
        const int code = FmPresets::Preset(i).get(RadioData);
        if (!FmPresets::IsEmpty(code))
            stations << QStringList{QString::number(i + 1), FmChannelText(code)};
    }
    html += Heading(Texts("调频广播电台", "FM Radio Stations"));
    html += stations.isEmpty()
                ? QStringLiteral("<p>%1</p>").arg(Texts("没有电台。", "No station is stored."))
                : Table({Texts("序号", "No."), Texts("频率(MHZ)", "Frequency (MHz)")}, stations);
    return html;
}

int PaintChannelSheet(QPagedPaintDevice &device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const int pages = Paint(device, painter);
    painter.end();
    return pages;
}

bool SaveChannelSheetPdf(const QString &path, const QPageSize &pageSize, QString *error)
{
    // QPdfWriter says nothing when it cannot write: find out first.
    {
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly)) {
            if (error)
                *error = probe.errorString();
            return false;
        }
    }
    QPdfWriter writer(path);
    writer.setPageSize(pageSize);
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(Title());
    writer.setCreator(QStringLiteral("QL540 CPS"));
    if (PaintChannelSheet(writer) == 0) {
        if (error)
            *error = Texts("无法生成 PDF。", "The PDF could not be made.");
        return false;
    }
    return true;
}
