#include "ProgressOutput.h"

#include "Terminal.h"

#include <algorithm>

namespace {

constexpr int BarWidth = 30;
// Lines for a log: every tenth percent is enough to see a transfer move.
constexpr int LineStep = 10;

} // namespace

ProgressOutput::ProgressOutput(Style style, FILE *out) : style_(style), out_(out) { }

ProgressOutput::Style ProgressOutput::styleFor(bool quiet)
{
    if (quiet)
        return Style::Quiet;
    return IsTerminal(stderr) ? Style::Bar : Style::Lines;
}

void ProgressOutput::setPercent(int percent) { percent_ = std::clamp(percent, 0, 100); }

void ProgressOutput::setStatus(const QString &status)
{
    status_ = status.trimmed();
    switch (style_) {
    case Style::Bar:
        drawBar();
        break;
    case Style::Lines:
        // One line per step of the percentage, not one per block. A retry
        // starts again from 0, and so do the lines.
        if (printedPercent_ < 0 || percent_ / LineStep != printedPercent_ / LineStep
            || (percent_ == 100 && printedPercent_ != 100)) {
            print(QStringLiteral("%1%  %2\n").arg(percent_, 3).arg(status_));
            printedPercent_ = percent_;
        }
        break;
    case Style::Quiet:
        break;
    }
}

void ProgressOutput::breakLine()
{
    if (barShown_)
        print(QStringLiteral("\n"));
    barShown_ = false;
}

void ProgressOutput::drawBar()
{
    const int filled = percent_ * BarWidth / 100;
    const QString bar = QString(filled, u'#') + QString(BarWidth - filled, u'-');
    // Carriage return, the bar, then erase what a longer status left.
    print(QStringLiteral("\r[%1] %2%  %3\x1b[K").arg(bar).arg(percent_, 3).arg(status_));
    barShown_ = true;
}

void ProgressOutput::print(const QString &text)
{
    std::fputs(text.toUtf8().constData(), out_);
    std::fflush(out_);
}
