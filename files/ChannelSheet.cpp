#include "ChannelSheet.h"

#include "BandChart.h"
#include "BandChartLayout.h"
#include "ChannelReport.h"
#include "Conversions.h"
#include "Globals.h"
#include "Language.h"
#include "RecordCodec.h"
#include "SettingsReport.h"

#include <QAbstractTextDocumentLayout>
#include <QDateTime>
#include <QFile>
#include <QFontMetricsF>
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

BandChart Chart(const ImageTable &image) { return LayOutBandChart(image, BandLowMHz, BandHighMHz); }

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

QFont LabelFont() { return SheetFont(7); }

QColor ColorOf(const BandChartMark &mark)
{
    return mark.outOfRange ? OutOfRangeColor : mark.sharesFrequency ? SharedColor : NormalColor;
}

const BandChartMark *MarkOf(const BandChart &chart, int channel)
{
    for (const BandChartMark &mark : chart.marks)
        if (mark.channel == channel)
            return &mark;
    return nullptr;
}

// A label takes the colour of its most telling channel: outside the range,
// then sharing a frequency.
QColor LabelColor(const BandChart &chart, const ChartLabel &label)
{
    if (label.channels.isEmpty())
        return Qt::black;
    QColor color = NormalColor;
    for (int channel : label.channels) {
        const BandChartMark *mark = MarkOf(chart, channel);
        if (!mark)
            continue;
        if (mark->outOfRange)
            return OutOfRangeColor;
        if (mark->sharesFrequency)
            color = SharedColor;
    }
    return color;
}

ChartMetrics MetricsFor(const QFontMetricsF &metrics, double width, double maxHeight)
{
    ChartMetrics m;
    m.width = width;
    m.maxHeight = maxHeight;
    m.lineHeight = metrics.height();
    m.textWidth = [metrics](const QString &text) { return metrics.horizontalAdvance(text); };
    return m;
}

void PaintRow(QPainter &painter, const BandChart &chart, const ChartRow &row, double unit)
{
    const double lh = row.axisY - row.markTop; // the marks' room is one line high
    painter.setPen(QPen(Qt::black, unit * 0.15));
    painter.drawLine(QPointF(row.left, row.axisY), QPointF(row.right, row.axisY));
    for (int i = 0; i < row.ticks.size(); ++i) {
        const double tx = row.x(row.ticks[i]);
        painter.drawLine(QPointF(tx, row.axisY), QPointF(tx, row.axisY + lh * 0.3));
        painter.drawText(row.tickBoxes[i], Qt::AlignCenter, row.tickTexts[i]);
    }
    if (!row.title.isEmpty())
        painter.drawText(row.titleBox, Qt::AlignLeft | Qt::AlignVCenter, row.title);
    // Spans drawn again below: a bracket over them.
    painter.setPen(QPen(Qt::darkGray, unit * 0.12));
    for (const ChartRow::Span &span : row.spans) {
        const double x1 = row.x(span.lowMHz) - lh * 0.15;
        const double x2 = row.x(span.highMHz) + lh * 0.15;
        const double y = row.markTop;
        painter.drawPolyline(QPolygonF{QPointF(x1, y + lh * 0.4), QPointF(x1, y), QPointF(x2, y),
                                       QPointF(x2, y + lh * 0.4)});
    }
    const double low = std::min(row.lowMHz, row.highMHz);
    const double high = std::max(row.lowMHz, row.highMHz);
    const bool first = row.parent < 0;
    for (int channel : row.channels) {
        const BandChartMark *mark = MarkOf(chart, channel);
        if (!mark)
            continue;
        const QColor color = ColorOf(*mark);
        const double rx = row.x(mark->rxMHz);
        const double tx = row.x(mark->txMHz);
        const bool txShown = first || (mark->txMHz >= low && mark->txMHz <= high);
        painter.setBrush(color);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(rx, row.axisY), unit * 0.45, unit * 0.45);
        if (mark->txMHz != mark->rxMHz) {
            // Beyond an enlarged row only a stub points the way, so that
            // the row's repeaters do not draw one line across it.
            const double to = txShown ? tx : rx + (tx > rx ? lh : -lh);
            painter.setPen(QPen(color, unit * 0.12, Qt::DashLine));
            painter.drawLine(QPointF(rx, row.axisY - lh * 0.6), QPointF(to, row.axisY - lh * 0.6));
        }
        if (txShown) {
            QPainterPath triangle;
            triangle.moveTo(tx, row.axisY - unit * 0.3);
            triangle.lineTo(tx - unit * 0.5, row.axisY - unit * 1.3);
            triangle.lineTo(tx + unit * 0.5, row.axisY - unit * 1.3);
            triangle.closeSubpath();
            painter.setPen(Qt::NoPen);
            painter.drawPath(triangle);
        }
    }
    painter.setBrush(Qt::NoBrush);
}

// Leaders first, then the labels on white over them.
void PaintLabels(QPainter &painter, const BandChart &chart, const BandChartLayout &layout,
                 double unit)
{
    for (const ChartLabel &label : layout.labels) {
        const ChartRow &row = layout.rows[label.row];
        const double lh = row.axisY - row.markTop;
        const double from = label.channels.isEmpty() ? row.markTop : row.axisY;
        painter.setPen(QPen(LabelColor(chart, label), unit * 0.1));
        painter.drawPolyline(QPolygonF{QPointF(label.anchorX, from),
                                       QPointF(label.anchorX, row.markTop - lh * 0.4),
                                       QPointF(label.box.center().x(), label.box.bottom())});
    }
    for (const ChartLabel &label : layout.labels) {
        painter.fillRect(label.box, Qt::white);
        painter.setPen(LabelColor(chart, label));
        painter.drawText(label.box, Qt::AlignCenter, label.lines.join(u'\n'));
    }
}

void PaintLegend(QPainter &painter, const QRectF &box, double unit)
{
    struct Entry {
        QColor color;
        QString text;
    };
    const Entry entries[] = {
        {NormalColor, Texts("● 接收  ▲ 发射（MHz）", "● RX  ▲ TX (MHz)")},
        {SharedColor, Texts("与其他信道同频", "shares a frequency")},
        {OutOfRangeColor, Texts("超出工作频段", "outside the working range")},
        {Qt::black, Texts("A、B…：下方放大的频段", "A, B...: span drawn enlarged below")},
    };
    double x = box.left();
    for (const Entry &entry : entries) {
        painter.setPen(entry.color);
        const QRectF part(x, box.top(), box.width() / 4, box.height());
        painter.drawText(part, Qt::AlignLeft | Qt::AlignVCenter, entry.text);
        x += box.width() / 4;
    }
    Q_UNUSED(unit);
}

// The chart's rows from its top left corner, and the legend below them.
void PaintChart(QPainter &painter, const QPointF &at, const BandChart &chart,
                const BandChartLayout &layout, double legendHeight)
{
    painter.save();
    painter.translate(at);
    painter.setFont(LabelFont());
    const double unit =
        layout.rows.isEmpty() ? 1 : (layout.rows[0].axisY - layout.rows[0].markTop) / 2.2;
    for (const ChartRow &row : layout.rows)
        PaintRow(painter, chart, row, unit);
    PaintLabels(painter, chart, layout, unit);
    const double width = layout.rows.isEmpty() ? 0 : layout.rows[0].area.width();
    PaintLegend(painter, QRectF(0, layout.height, width, legendHeight), unit);
    painter.restore();
}

// One painter, pages laid out one after another: the first carries the
// heading, the chart and its notes; the text part flows over the rest.
int Paint(const ImageTable &image, QPagedPaintDevice &device, QPainter &painter)
{
    const QRectF page = QRectF(QPointF(0, 0), QSizeF(device.width(), device.height()));
    const BandChart chart = Chart(image);

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
    const QFontMetricsF labelMetrics(LabelFont(), &device);
    const double legendHeight = labelMetrics.height() * 2;
    // The chart may fill the first page but for a few lines of notes.
    const double room = page.height() - chartTop - legendHeight - labelMetrics.height() * 6;
    const BandChartLayout layout =
        LayOutChartLabels(chart, MetricsFor(labelMetrics, page.width(), room));
    PaintChart(painter, QPointF(0, chartTop), chart, layout, legendHeight);
    const double chartBottom = chartTop + layout.height + legendHeight;

    QString notesHtml;
    for (const QString &note : BandChartNotes(image, layout.unlabelled))
        notesHtml += QStringLiteral("<p>%1</p>").arg(note.toHtmlEscaped());
    QTextDocument notes;
    notes.documentLayout()->setPaintDevice(&device);
    notes.setDefaultFont(SheetFont(9));
    notes.setTextWidth(page.width());
    notes.setHtml(notesHtml);
    // Notes that do not fit under the chart open the next page instead of
    // being cut off.
    const double notesTop = chartBottom + page.height() * 0.01;
    const bool notesFit = notesTop + notes.size().height() <= page.height();
    if (notesFit) {
        painter.save();
        painter.translate(0, notesTop);
        notes.drawContents(&painter);
        painter.restore();
    }

    QTextDocument body;
    body.documentLayout()->setPaintDevice(&device);
    body.setDefaultFont(SheetFont(7));
    body.setPageSize(page.size());
    body.setHtml((notesFit ? QString() : notesHtml) + ChannelSheetHtml(image));
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

QStringList BandChartNotes(const ImageTable &image, const QList<int> &unlabelled)
{
    const BandChart chart = Chart(image);
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
    QStringList crowded;
    for (const BandChartMark &mark : chart.marks)
        if (unlabelled.contains(mark.channel))
            crowded
                << QStringLiteral("CH %1 (RX %2)").arg(mark.channel).arg(NumberText(mark.rxMHz));
    if (!crowded.isEmpty())
        notes << Texts("图中没有位置标注的信道：", "Channels the chart had no room to label: ")
                     + crowded.join(QStringLiteral("; "));
    return notes;
}

QString ChannelSheetHtml(const ImageTable &image)
{
    QList<QStringList> channels;
    for (int n = 1; n <= ChannelCount; ++n)
        if (!Record::IsEmpty(image, n))
            channels << ChannelRowCells(image, n);
    QString html = Heading(Texts("信道", "Channels"));
    html += channels.isEmpty() ? QStringLiteral("<p>%1</p>")
                                     .arg(Texts("没有已编程的信道。", "No channel is programmed."))
                               : Table(ChannelColumnTitles() + ChannelSwitchTitles(), channels);
    html += Heading(VfoTitle()) + ItemsTable(VfoItems(image));
    html += Heading(OptionsTitle()) + ItemsTable(OptionItems(image));

    QList<QStringList> stations;
    for (int i = 0; i < FmPresetCount; ++i) {
        const int code = FmPresets::Preset(i).get(image);
        if (!FmPresets::IsEmpty(code))
            stations << QStringList{QString::number(i + 1), FmChannelText(code)};
    }
    html += Heading(Texts("调频广播电台", "FM Radio Stations"));
    html += stations.isEmpty()
                ? QStringLiteral("<p>%1</p>").arg(Texts("没有电台。", "No station is stored."))
                : Table({Texts("序号", "No."), Texts("频率(MHZ)", "Frequency (MHz)")}, stations);
    return html;
}

int PaintChannelSheet(const ImageTable &image, QPagedPaintDevice &device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const int pages = Paint(image, device, painter);
    painter.end();
    return pages;
}

bool SaveChannelSheetPdf(const ImageTable &image, const QString &path, const QPageSize &pageSize,
                         QString *error)
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
    if (PaintChannelSheet(image, writer) == 0) {
        if (error)
            *error = Texts("无法生成 PDF。", "The PDF could not be made.");
        return false;
    }
    return true;
}
