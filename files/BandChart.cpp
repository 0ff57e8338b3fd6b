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

QList<double> Ticks(double low, double high)
{
    const double span = high - low;
    double step = 1;
    for (double candidate : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0})
        if (span / candidate <= 10) {
            step = candidate;
            break;
        }
    QList<double> ticks;
    for (double t = std::ceil(low / step) * step; t <= high + 1e-9; t += step)
        ticks << t;
    return ticks;
}

} // namespace

BandChart LayOutBandChart(const ImageTable &image, double fallbackLowMHz, double fallbackHighMHz,
                          double labelWidth, int maxLanes)
{
    BandChart chart;
    const BandLimits range = DecodeBandLimits(image);
    const bool usable = range.low > 0 && range.low < range.high && range.high < 1000;
    chart.lowMHz = usable ? range.low : fallbackLowMHz;
    chart.highMHz = usable ? range.high : fallbackHighMHz;
    chart.ticks = Ticks(chart.lowMHz, chart.highMHz);

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

    // Labels sit at the receive position; each lane takes the next label
    // that starts clear of its last one (left to right, greedy).
    QList<int> order(chart.marks.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return chart.marks[a].rxPosition < chart.marks[b].rxPosition;
    });
    QList<double> laneEnd;
    for (int i : order) {
        BandChartMark &mark = chart.marks[i];
        int lane = 0;
        while (lane < laneEnd.size() && laneEnd[lane] > mark.rxPosition)
            ++lane;
        if (lane >= maxLanes) // a crowded band: the least crowded lane takes it
            lane = int(std::min_element(laneEnd.begin(), laneEnd.end()) - laneEnd.begin());
        if (lane == laneEnd.size())
            laneEnd << 0.0;
        laneEnd[lane] = mark.rxPosition + labelWidth;
        mark.lane = lane;
    }
    chart.laneCount = int(laneEnd.size());
    return chart;
}
