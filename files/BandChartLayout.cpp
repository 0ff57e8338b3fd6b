#include "BandChartLayout.h"

#include "BandChartParts.h"
#include "Conversions.h"

#include <QHash>
#include <QMap>
#include <algorithm>
#include <cmath>
#include <deque>

namespace {

using namespace BandChartParts;

qint64 Steps(double mhz) { return std::llround(mhz * 100000.0); }

QString RowName(int index)
{
    QString name;
    for (int i = index; i >= 0; i = i / 26 - 1)
        name.prepend(QChar(u'A' + i % 26));
    return name;
}

class Placer {
public:
    Placer(const BandChart &chart, const ChartMetrics &metrics) : chart_(chart), m_(metrics)
    {
        lh_ = m_.lineHeight;
        pad_ = lh_ * 0.4;
        gap_ = lh_ * 0.3;
        letterWidth_ = width(QStringLiteral("WW")) + pad_;
        unit_ = width(QStringLiteral("888")) + pad_;
        maxShift_ = 1.5 * unit_;
        for (const BandChartMark &mark : chart_.marks)
            markOf_.insert(mark.channel, &mark);
    }

    BandChartLayout run()
    {
        PendingRow first;
        first.lowMHz = chart_.lowMHz;
        first.highMHz = chart_.highMHz;
        for (const BandChartMark &mark : chart_.marks)
            first.channels << mark.channel;
        const AxisPlan main = planAxis(first, 0, m_.width);
        commit(main, 0);
        double y = main.height;
        // The enlarged rows, level by level; rows that need little room
        // share a band side by side.
        while (!queue_.empty()) {
            QList<PendingRow> band;
            QList<double> needs;
            double total = 0;
            while (!queue_.empty()) {
                const double need = neededWidth(queue_.front());
                if (!band.isEmpty() && total + need > m_.width)
                    break;
                band << queue_.front();
                needs << need;
                total += need;
                queue_.pop_front();
            }
            QList<AxisPlan> plans;
            double x = 0;
            double height = 0;
            for (int i = 0; i < band.size(); ++i) {
                const double w = i + 1 == band.size()
                                     ? m_.width - x
                                     : needs[i] + (m_.width - total) * needs[i] / total;
                plans << planAxis(band[i], x, x + w);
                x += w;
                height = std::max(height, plans.last().height);
            }
            if (y + height > m_.maxHeight) {
                // No room left: these spans' channels are listed instead.
                for (const PendingRow &pending : band)
                    out_.unlabelled += pending.channels;
                continue;
            }
            for (const AxisPlan &plan : plans)
                commit(plan, y);
            y += height;
        }
        // Letters of spans whose row found no room.
        for (ChartLabel &label : out_.labels)
            if (label.channels.isEmpty())
                label.lines = {label.zoomRow >= 0 ? out_.rows[label.zoomRow].name
                                                  : QStringLiteral("*")};
        std::sort(out_.unlabelled.begin(), out_.unlabelled.end());
        out_.height = y;
        return out_;
    }

private:
    double width(const QString &text) const { return m_.textWidth ? m_.textWidth(text) : 0; }

    // "12,15,18" in lines no wider than maxWidth.
    QStringList Lines(const QList<int> &channels, double maxWidth) const
    {
        QStringList lines{QString()};
        for (int i = 0; i < channels.size(); ++i) {
            QString token = QString::number(channels[i]);
            if (i + 1 < channels.size())
                token += u',';
            if (!lines.last().isEmpty() && width(lines.last() + token) + pad_ > maxWidth)
                lines << QString();
            lines.last() += token;
        }
        return lines;
    }

    double labelWidth(const QStringList &lines) const
    {
        double w = 0;
        for (const QString &line : lines)
            w = std::max(w, width(line));
        return w + pad_;
    }

    // Labels as wide as an eighth of the chart at most, and as the axis:
    // a long list of channels on one point goes into lines.
    double maxLabelWidth(double x0, double x1) const
    {
        return std::max(unit_, std::min(m_.width / 8, (x1 - x0) * 0.9));
    }

    QString title(const QString &name, const PendingRow &pending) const
    {
        return QStringLiteral("%1  %2 - %3 MHz")
            .arg(name, NumberText(pending.shownLowMHz), NumberText(pending.shownHighMHz));
    }

    // Room a span's row wants: what its labels take side by side, with
    // some air, when it has the whole width (what crowds there goes to
    // rows of its own anyway), its title, its end ticks.
    double neededWidth(const PendingRow &pending) const
    {
        const AxisPlan whole = planAxis(pending, 0, m_.width);
        double labels = 0;
        for (const ChartLabel &label : whole.labels)
            labels += label.box.width() + gap_;
        const double ends = width(NumberText(pending.highMHz)) + pad_ * 2;
        const double need =
            std::max({labels * 1.3 + ends, width(title(QStringLiteral("WW"), pending)) + pad_ * 2,
                      m_.width / 6});
        return std::min(need, m_.width);
    }

    // Ticks whose texts do not overlap, and the axis ends that keep the
    // outer texts within x0..x1.
    void layOutTicks(ChartRow &row, double x0, double x1) const
    {
        for (int most = 10; most >= 1; --most) {
            row.ticks = ChartTicks(row.lowMHz, row.highMHz, most);
            row.tickTexts.clear();
            double margin = lh_ * 0.5;
            for (double t : row.ticks) {
                row.tickTexts << NumberText(t);
                margin = std::max(margin, (width(row.tickTexts.last()) + pad_) / 2);
            }
            row.left = x0 + margin;
            row.right = std::max(row.left + 1, x1 - margin);
            bool clear = true;
            for (int i = 1; i < row.ticks.size() && clear; ++i)
                clear =
                    row.x(row.ticks[i]) - row.x(row.ticks[i - 1])
                    >= (width(row.tickTexts[i]) + width(row.tickTexts[i - 1])) / 2 + pad_ + gap_;
            if (clear && row.right - row.left > 1)
                return;
        }
        // Not even one fits: the title tells the range.
        row.ticks.clear();
        row.tickTexts.clear();
        row.left = x0 + lh_ * 0.5;
        row.right = std::max(row.left + 1, x1 - lh_ * 0.5);
    }

    QList<Group> groupsOf(const ChartRow &row, const QList<int> &channels) const
    {
        QMap<qint64, Group> byPoint;
        for (int channel : channels) {
            const BandChartMark *mark = markOf_.value(channel);
            const double at = std::clamp(mark->rxMHz, row.lowMHz, row.highMHz);
            Group &g = byPoint[Steps(at)];
            g.mhz = at;
            g.channels << channel;
        }
        QList<Group> groups = byPoint.values();
        for (Group &g : groups)
            std::sort(g.channels.begin(), g.channels.end());
        return groups;
    }

    // The groups of one crowded block in pieces small enough for a row of
    // their own and clearly narrower than the row they come from.
    QList<QList<int>> pieces(QList<int> members, const QList<Group> &groups,
                             const ChartRow &row) const
    {
        std::sort(members.begin(), members.end(),
                  [&groups](int a, int b) { return groups[a].mhz < groups[b].mhz; });
        // Too wide for the row it would get, or not clearly narrower than
        // this one. Parting a piece too full for one row only pays where its
        // halves lie apart on this axis; otherwise their letters would crowd
        // just the same, and the enlarged row parts it with room to spare.
        const auto tooWide = [&](const QList<int> &piece) {
            return groups[piece.last()].mhz - groups[piece.first()].mhz
                   >= (row.highMHz - row.lowMHz) * 0.6;
        };
        const auto tooFull = [&](const QList<int> &piece) {
            double total = 0;
            for (int g : piece)
                total += labelWidth(Lines(groups[g].channels, m_.width / 8)) + gap_;
            return total > m_.width * 0.85;
        };
        QList<QList<int>> done;
        QList<QList<int>> todo{members};
        while (!todo.isEmpty()) {
            QList<int> piece = todo.takeFirst();
            if (piece.size() < 2 || (!tooWide(piece) && !tooFull(piece))) {
                done << piece;
                continue;
            }
            // At the widest gap; of equal ones, the one nearest the middle.
            int cut = 1;
            double widest = -1;
            for (int i = 1; i < piece.size(); ++i) {
                const double gapMHz = groups[piece[i]].mhz - groups[piece[i - 1]].mhz;
                const bool nearer =
                    std::abs(i - piece.size() / 2.0) < std::abs(cut - piece.size() / 2.0);
                if (gapMHz > widest * (1 + 1e-9) || (gapMHz >= widest * (1 - 1e-9) && nearer)) {
                    widest = gapMHz;
                    cut = i;
                }
            }
            // Each part's letter needs room over its part, or between them.
            const auto reach = [&](const QList<int> &part) {
                return row.x(groups[part.last()].mhz) - row.x(groups[part.first()].mhz);
            };
            const double apart = row.x(groups[piece[cut]].mhz) - row.x(groups[piece[cut - 1]].mhz);
            const bool roomy = apart >= 2 * letterWidth_
                               || (reach(piece.first(cut)) >= letterWidth_
                                   && reach(piece.mid(cut)) >= letterWidth_);
            if (!tooWide(piece) && !roomy) {
                done << piece;
                continue;
            }
            todo.prepend(piece.mid(cut));
            todo.prepend(piece.first(cut));
        }
        return done;
    }

    // A crowded block's groups as spans to enlarge; a group left alone in
    // its piece keeps its label on this row.
    QList<Span> spansOf(const QList<int> &members, const QList<Group> &groups,
                        const ChartRow &row) const
    {
        QList<Span> spans;
        for (const QList<int> &piece : pieces(members, groups, row))
            if (piece.size() >= 2)
                spans << Span{groups[piece.first()].mhz, groups[piece.last()].mhz, piece};
        return spans;
    }

    static bool sameSpans(const QList<Span> &a, const QList<Span> &b)
    {
        if (a.size() != b.size())
            return false;
        for (int i = 0; i < a.size(); ++i)
            if (a[i].lowMHz != b[i].lowMHz || a[i].highMHz != b[i].highMHz)
                return false;
        return true;
    }

    QList<Item> items(const ChartRow &row, const QList<Group> &groups, const QList<Span> &spans,
                      double maxWidth) const
    {
        QList<bool> inSpan(groups.size(), false);
        for (const Span &s : spans)
            for (int g : s.groups)
                inSpan[g] = true;
        QList<Item> list;
        for (int g = 0; g < groups.size(); ++g)
            if (!inSpan[g]) {
                const QStringList lines = Lines(groups[g].channels, maxWidth);
                const double at = row.x(groups[g].mhz);
                list << Item{at, labelWidth(lines), lh_ * lines.size(), g, -1, at, at};
            }
        for (int s = 0; s < spans.size(); ++s)
            list << Item{row.x((spans[s].lowMHz + spans[s].highMHz) / 2),
                         letterWidth_,
                         lh_,
                         -1,
                         s,
                         row.x(spans[s].lowMHz),
                         row.x(spans[s].highMHz)};
        std::stable_sort(list.begin(), list.end(),
                         [](const Item &a, const Item &b) { return a.anchor < b.anchor; });
        return list;
    }

    // Spans of a row sharing frequencies become one; every group within a
    // span's extent belongs to it.
    static void mergeSpans(QList<Span> &spans, const QList<Group> &groups)
    {
        std::sort(spans.begin(), spans.end(),
                  [](const Span &a, const Span &b) { return a.lowMHz < b.lowMHz; });
        QList<Span> merged;
        for (const Span &s : spans) {
            if (!merged.isEmpty() && s.lowMHz <= merged.last().highMHz) {
                merged.last().highMHz = std::max(merged.last().highMHz, s.highMHz);
                merged.last().groups += s.groups;
            } else {
                merged << s;
            }
        }
        for (Span &s : merged) {
            s.groups.clear();
            for (int g = 0; g < groups.size(); ++g)
                if (groups[g].mhz >= s.lowMHz && groups[g].mhz <= s.highMHz)
                    s.groups << g;
        }
        spans = merged;
    }

    // One row's axis from x0 to x1 with its labels, as if its band began at 0.
    AxisPlan planAxis(const PendingRow &pending, double x0, double x1) const
    {
        AxisPlan plan;
        plan.parentSpan = pending.parentSpan;
        ChartRow &row = plan.row;
        row.lowMHz = pending.lowMHz;
        row.highMHz = pending.highMHz;
        row.parent = pending.parent;
        row.channels = pending.channels;
        layOutTicks(row, x0, x1);
        const QList<Group> groups = groupsOf(row, pending.channels);
        const double maxWidth = maxLabelWidth(x0, x1);
        // Rows side by side keep apart: no label reaches the next one's.
        const double edge = x0 > 0 || x1 < m_.width ? gap_ : 0.0;
        Labels labels = settleSpans(row, groups, maxWidth, x0 + edge, x1 - edge);
        dropWhatDoesNotFit(labels, groups, plan, x0 + edge, x1 - edge);
        measure(plan, pending, labels.placed, x0, x1);
        addLabelsAndChildren(plan, labels, groups, maxWidth);
        return plan;
    }

    // A row's labels as placed, and the spans of it to enlarge.
    struct Labels {
        QList<Span> spans;
        QList<Item> placed;
        bool fits = false;
    };

    // Labels pushed too far from their marks (or not fitting at all) are
    // gathered into spans, round by round, until that gains nothing more.
    Labels settleSpans(const ChartRow &row, const QList<Group> &groups, double maxWidth,
                       double left, double right) const
    {
        Labels labels;
        QList<Span> &spans = labels.spans;
        for (int round = 0; round < 64; ++round) {
            labels.placed = items(row, groups, spans, maxWidth);
            labels.fits = Spread(labels.placed, left, right, gap_);
            const bool fits = labels.fits;
            // Blocks of labels pushed too far from their marks; when they do
            // not fit at all, the whole row.
            QMap<int, QList<int>> crowded; // block -> its groups, those of its spans too
            for (const Item &item : std::as_const(labels.placed))
                if (fits && Stray(item) > maxShift_ + 1e-9)
                    crowded[item.block];
            if (!fits)
                crowded[0];
            for (const Item &item : std::as_const(labels.placed)) {
                const int block = fits ? item.block : 0;
                if (!crowded.contains(block))
                    continue;
                if (item.group >= 0)
                    crowded[block] << item.group;
                else
                    crowded[block] += spans[item.span].groups;
            }
            if (crowded.isEmpty())
                break;
            QList<Span> next = spans;
            for (const QList<int> &members : std::as_const(crowded))
                next += spansOf(members, groups, row);
            mergeSpans(next, groups);
            // Merged too wide or too full: the widest gaps part it again.
            QList<Span> kept;
            for (const Span &span : std::as_const(next))
                kept += spansOf(span.groups, groups, row);
            if (sameSpans(kept, spans))
                break; // nothing more to gain
            spans = kept;
        }
        return labels;
    }

    // Whatever still cannot fit goes, widest first, into the list.
    void dropWhatDoesNotFit(Labels &labels, const QList<Group> &groups, AxisPlan &plan, double left,
                            double right) const
    {
        QList<Item> &placed = labels.placed;
        while (!labels.fits && !placed.isEmpty()) {
            const auto widest =
                std::max_element(placed.begin(), placed.end(),
                                 [](const Item &a, const Item &b) { return a.width < b.width; });
            const QList<int> dropped =
                widest->group >= 0 ? QList<int>{widest->group} : labels.spans[widest->span].groups;
            for (int g : dropped)
                plan.unlabelled += groups[g].channels;
            if (widest->span >= 0)
                labels.spans[widest->span].groups.clear(); // no row for it
            placed.erase(widest);
            labels.fits = Spread(placed, left, right, gap_);
        }
    }

    // Downwards: title, labels, leaders, marks, axis, ticks.
    void measure(AxisPlan &plan, const PendingRow &pending, const QList<Item> &placed, double x0,
                 double x1) const
    {
        ChartRow &row = plan.row;
        const bool enlarged = pending.parent >= 0;
        double labelsHeight = lh_;
        for (const Item &item : placed)
            labelsHeight = std::max(labelsHeight, item.height);
        const double titleHeight = enlarged ? lh_ * 1.1 : 0;
        row.labelBottom = titleHeight + labelsHeight;
        row.markTop = row.labelBottom + lh_ * 1.2;
        row.axisY = row.markTop + lh_;
        const double tickTop = row.axisY + lh_ * 0.3;
        plan.height = tickTop + lh_ * 1.4;
        row.titleBox = QRectF(
            x0, 0, std::min(x1 - x0, width(title(QStringLiteral("WW"), pending)) + pad_), lh_);
        for (int i = 0; i < row.ticks.size(); ++i) {
            const double w = width(row.tickTexts[i]) + pad_;
            row.tickBoxes << QRectF(row.x(row.ticks[i]) - w / 2, tickTop, w, lh_);
        }
        row.area = QRectF(x0, 0, x1 - x0, plan.height);
    }

    // The labels placed, and a row to come for each span that kept groups.
    void addLabelsAndChildren(AxisPlan &plan, const Labels &labels, const QList<Group> &groups,
                              double maxWidth) const
    {
        ChartRow &row = plan.row;
        plan.letterOfSpan = QList<int>(labels.spans.size(), -1);
        for (const Item &item : labels.placed) {
            ChartLabel label;
            label.box = QRectF(item.left, row.labelBottom - item.height, item.width, item.height);
            label.anchorX = item.anchor;
            label.reachLeft = item.reachLeft;
            label.reachRight = item.reachRight;
            if (item.group >= 0) {
                label.channels = groups[item.group].channels;
                label.lines = Lines(label.channels, maxWidth);
            } else {
                plan.letterOfSpan[item.span] = int(plan.labels.size());
            }
            plan.labels << label;
        }
        for (int s = 0; s < labels.spans.size(); ++s) {
            const Span &span = labels.spans[s];
            row.spans << ChartRow::Span{span.lowMHz, span.highMHz, -1};
            if (span.groups.isEmpty())
                continue;
            PendingRow child;
            const double pad = std::max((span.highMHz - span.lowMHz) * 0.06, 0.00002);
            child.lowMHz = span.lowMHz - pad;
            child.highMHz = span.highMHz + pad;
            child.shownLowMHz = span.lowMHz;
            child.shownHighMHz = span.highMHz;
            for (int g : span.groups)
                child.channels += groups[g].channels;
            child.parentSpan = s;
            plan.children << child;
        }
    }

    void commit(AxisPlan plan, double top)
    {
        const int index = int(out_.rows.size());
        ChartRow &row = plan.row;
        row.labelBottom += top;
        row.markTop += top;
        row.axisY += top;
        row.area.translate(0, top);
        row.titleBox.translate(0, top);
        for (QRectF &box : row.tickBoxes)
            box.translate(0, top);
        if (row.parent >= 0) {
            row.name = RowName(enlarged_++);
            const ChartRow::Span &span = out_.rows[row.parent].spans[plan.parentSpan];
            PendingRow shown;
            shown.shownLowMHz = span.lowMHz;
            shown.shownHighMHz = span.highMHz;
            row.title = title(row.name, shown);
        } else {
            row.titleBox = QRectF();
        }
        out_.unlabelled += plan.unlabelled;
        const int firstLabel = int(out_.labels.size());
        for (ChartLabel label : std::as_const(plan.labels)) {
            label.box.translate(0, top);
            label.row = index;
            out_.labels << label;
        }
        if (row.parent >= 0) {
            const int s = plan.parentSpan;
            out_.rows[row.parent].spans[s].row = index;
            const int letter = letterOf_.value({row.parent, s}, -1);
            if (letter >= 0)
                out_.labels[letter].zoomRow = index;
        }
        for (int s = 0; s < plan.letterOfSpan.size(); ++s)
            if (plan.letterOfSpan[s] >= 0)
                letterOf_.insert({index, s}, firstLabel + plan.letterOfSpan[s]);
        out_.rows << row;
        for (PendingRow child : std::as_const(plan.children)) {
            child.parent = index;
            queue_.push_back(child);
        }
    }

    const BandChart &chart_;
    const ChartMetrics &m_;
    QHash<int, const BandChartMark *> markOf_;
    std::deque<PendingRow> queue_;
    QHash<QPair<int, int>, int> letterOf_; // (row, span) -> its letter's label
    BandChartLayout out_;
    int enlarged_ = 0;
    double lh_ = 0;
    double pad_ = 0;
    double gap_ = 0;
    double letterWidth_ = 0;
    double unit_ = 0;
    double maxShift_ = 0;
};

} // namespace

double ChartRow::x(double mhz) const
{
    if (!(highMHz > lowMHz))
        return left;
    return left + std::clamp((mhz - lowMHz) / (highMHz - lowMHz), 0.0, 1.0) * (right - left);
}

BandChartLayout LayOutChartLabels(const BandChart &chart, const ChartMetrics &metrics)
{
    return Placer(chart, metrics).run();
}
