#include "FleetProgress.h"

#include "Fleet.h"
#include "Globals.h"
#include "Language.h"

namespace {

constexpr int BarWidth = 20;
constexpr int RedrawMs = 100;
constexpr int LineStep = 10;

QString Pick(const BilingualText &text) { return text.text().trimmed(); }

} // namespace

FleetProgress::FleetProgress(Fleet &fleet, ProgressOutput::Style style, FILE *out)
    : fleet_(fleet), style_(style), out_(out)
{
    redraw_.setSingleShot(true);
    connect(&redraw_, &QTimer::timeout, this, &FleetProgress::redraw);
    connect(&fleet_, &Fleet::changed, this, &FleetProgress::stationChanged);
    connect(&fleet_, &Fleet::recorded, this, &FleetProgress::recorded);
}

QString FleetProgress::StationText(const PortStation &station)
{
    const PortRecord &r = station.current();
    QString text = r.device;
    if (station.productionLine())
        text += QStringLiteral("  #%1").arg(r.number);
    text += QStringLiteral("  ");
    if (station.state() == PortStation::State::Transferring)
        text += QStringLiteral("%1%  ").arg(r.percent, 3);
    text += Pick(StationStateText(station));
    if (station.productionLine() && station.count() > 0)
        text += Texts("（已完成 %1 台）", "  (%1 done)").arg(station.count());
    return text;
}

void FleetProgress::stationChanged(PortStation *station)
{
    switch (style_) {
    case ProgressOutput::Style::Bar:
        if (!redraw_.isActive())
            redraw_.start(RedrawMs);
        break;
    case ProgressOutput::Style::Lines: {
        // One line per tenth of a transfer, and one per change of state;
        // results come as notes (recorded).
        if (station->finished()
            || (station->state() == PortStation::State::Transferring
                && station->current().status.isEmpty()))
            break;
        PrintedLine key{station->state(), {}};
        if (station->state() == PortStation::State::Transferring)
            key.detail = QString::number(station->current().percent / LineStep);
        else
            key.detail = StationStateText(*station).english; // a port error while waiting
        if (const auto printed = printed_.constFind(station);
            printed == printed_.cend() || *printed != key) {
            printed_[station] = key;
            print(StationText(*station) + u'\n');
        }
        break;
    }
    case ProgressOutput::Style::Quiet:
        break;
    }
}

void FleetProgress::recorded(const PortRecord &record)
{
    // Errors show even when quiet; the summary table lists every result.
    const bool failed = record.outcome != PortOutcome::Completed;
    if (style_ == ProgressOutput::Style::Quiet && !failed)
        return;
    QString line = record.device;
    if (record.number > 0)
        line += QStringLiteral("  #%1").arg(record.number);
    line += QStringLiteral("  ") + Pick(OutcomeText(record)) + QStringLiteral("  ")
            + ElapsedText(record.elapsedMs);
    // What a verify found, so the dealer sees it at the radio in hand.
    for (const ImageDifference &d : record.differences)
        line += QStringLiteral("\n    ") + DifferenceLine(d);
    note(line);
}

void FleetProgress::note(const QString &text)
{
    clearDrawn();
    print(text + u'\n');
    if (style_ == ProgressOutput::Style::Bar)
        redraw();
}

void FleetProgress::finish()
{
    if (style_ != ProgressOutput::Style::Bar)
        return;
    redraw_.stop();
    redraw();
    drawnLines_ = 0; // stays on screen
}

void FleetProgress::clearDrawn()
{
    if (drawnLines_ > 0)
        print(QStringLiteral("\x1b[%1A\r\x1b[J").arg(drawnLines_));
    drawnLines_ = 0;
}

void FleetProgress::redraw()
{
    if (style_ != ProgressOutput::Style::Bar)
        return;
    QString text;
    if (drawnLines_ > 0)
        text += QStringLiteral("\x1b[%1A").arg(drawnLines_);
    for (PortStation *station : fleet_.stations()) {
        QString bar;
        if (station->state() == PortStation::State::Transferring) {
            const int filled = station->current().percent * BarWidth / 100;
            bar = u'[' + QString(filled, u'#') + QString(BarWidth - filled, u'-')
                  + QStringLiteral("] ");
        }
        text += u'\r' + bar + StationText(*station) + QStringLiteral("\x1b[K\n");
    }
    drawnLines_ = int(fleet_.stations().size());
    print(text);
}

void FleetProgress::print(const QString &text)
{
    std::fputs(text.toUtf8().constData(), out_);
    std::fflush(out_);
}
