// The band chart of the channel sheet, as numbers: where each programmed
// channel's receive and transmit frequencies fall on the working range's
// axis, which channels share a frequency and which lie outside the range.
// Drawing it is the sheet's business; this part is plain arithmetic.
#pragma once

#include "Globals.h"

#include <QList>
#include <QString>

struct BandChartMark {
    int channel = 0;
    double rxMHz = 0;
    double txMHz = 0;
    bool sharesFrequency = false; // its RX or TX equals another channel's RX or TX
    bool outOfRange = false; // RX or TX outside the axis
    double rxPosition = 0; // 0..1 along the axis, clamped to its ends
    double txPosition = 0;
};

struct BandChart {
    double lowMHz = 0;
    double highMHz = 0;
    QList<double> ticks; // whole MHz, a round step
    QList<BandChartMark> marks; // programmed channels, by channel number
};

// The axis is the radio's working range in the image; a range that is erased
// or out of order falls back to the given model limits. Where the labels go
// is BandChartLayout's business.
BandChart LayOutBandChart(const ImageTable &image, double fallbackLowMHz, double fallbackHighMHz);

// Round tick values for an axis from low to high MHz: a step of 1, 2 or 5
// times a power of ten giving at most maxTicks ticks.
QList<double> ChartTicks(double lowMHz, double highMHz, int maxTicks = 10);
