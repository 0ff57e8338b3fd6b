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
    int lane = 0; // row of the label, so labels do not overlap
};

struct BandChart {
    double lowMHz = 0;
    double highMHz = 0;
    QList<double> ticks; // whole MHz, a round step
    QList<BandChartMark> marks; // programmed channels, by channel number
    int laneCount = 0;
};

// The axis is the radio's working range in the image; a range that is erased
// or out of order falls back to the given model limits. labelWidth is the
// space one channel label takes as a share of the axis (0..1).
BandChart LayOutBandChart(const ImageTable &image, double fallbackLowMHz, double fallbackHighMHz,
                          double labelWidth = 0.04, int maxLanes = 8);
