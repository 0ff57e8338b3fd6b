#include "BandChart.h"

#include "RecordCodec.h"

#include <QMap>
#include <algorithm>
#include <cmath>

namespace {

// Frequencies are stored to 10 Hz: compare them as whole 10 Hz steps.
qint64 Steps(double mhz) { return std::llround(mhz * 100000.0); }

double Position(double mhz, double low, double high)
{
    return std::clamp((mhz - low) / (high - low), 0.0, 1.0);
}

} // namespace

QList<double> ChartTicks(double lowMHz, double highMHz, int maxTicks)
{
    QList<double> ticks;
    if (!(highMHz > lowMHz) || maxTicks < 1)
        return ticks;
    // In whole 10 Hz steps, the resolution frequencies are stored with, so
    // that no rounding error creeps along the axis.
    const qint64 low = Steps(lowMHz);
    const qint64 high = Steps(highMHz);
    qint64 step = 1;
    for (qint64 decade = 1; decade < qint64(1e12); decade *= 10) {
        bool found = false;
        for (const qint64 m : {1, 2, 5}) {
            step = m * decade;
            if ((high - low) / step <= maxTicks) {
                found = true;
                break;
            }
        }
        if (found)
            break;
    }
    const qint64 first = low >= 0 ? (low + step - 1) / step : -((-low) / step);
    for (qint64 k = first; k * step <= high; ++k)
        ticks << double(k * step) / 100000.0;
    return ticks;
}

BandChart LayOutBandChart(const ImageTable &image, double fallbackLowMHz, double fallbackHighMHz)
{
    BandChart chart;
    const BandLimits range = DecodeBandLimits(image);
    const bool usable = range.low > 0 && range.low < range.high && range.high < 1000;
    chart.lowMHz = usable ? range.low : fallbackLowMHz;
    chart.highMHz = usable ? range.high : fallbackHighMHz;
    chart.ticks = ChartTicks(chart.lowMHz, chart.highMHz);

    QMap<qint64, int> users; // frequency -> channels using it (RX or TX, once each)
    for (int n = 1; n <= ChannelCount; ++n) {
        if (Record::IsEmpty(image, n))
            continue;
        BandChartMark mark;
        mark.channel = n;
        mark.rxMHz = Record::RxMHz(image, n);
        mark.txMHz = Record::TxMHz(image, n);
        mark.outOfRange = mark.rxMHz < chart.lowMHz || mark.rxMHz > chart.highMHz
                          || mark.txMHz < chart.lowMHz || mark.txMHz > chart.highMHz;
        mark.rxPosition = Position(mark.rxMHz, chart.lowMHz, chart.highMHz);
        mark.txPosition = Position(mark.txMHz, chart.lowMHz, chart.highMHz);
        ++users[Steps(mark.rxMHz)];
        if (Steps(mark.txMHz) != Steps(mark.rxMHz))
            ++users[Steps(mark.txMHz)];
        chart.marks << mark;
    }
    for (BandChartMark &mark : chart.marks)
        mark.sharesFrequency =
            users.value(Steps(mark.rxMHz)) > 1 || users.value(Steps(mark.txMHz)) > 1;

    return chart;
}
