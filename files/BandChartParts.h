// The pieces the band chart's label placer (BandChartLayout.cpp) works
// with: channel groups, the labels to place, the spans drawn again
// enlarged, and the rows waiting for their place.
#pragma once

#include "BandChartLayout.h"

#include <QList>

namespace BandChartParts {

// Channels at one point of an axis, labelled together.
struct Group {
    double mhz = 0; // where on the axis: the receive frequency, held at the axis ends
    QList<int> channels;
};

// A label to place: a group's, or the letter of an enlarged span.
struct Item {
    double anchor = 0;
    double width = 0;
    double height = 0;
    int group = -1;
    int span = -1;
    // What it points at: its mark, or its span's stretch of the axis.
    double reachLeft = 0;
    double reachRight = 0;
    double left = 0; // placed
    int block = 0; // placed: touching labels share a block
};

struct Span {
    double lowMHz = 0;
    double highMHz = 0;
    QList<int> groups;
};

// A row waiting for its place: a span of the row above, or the first.
struct PendingRow {
    double lowMHz = 0;
    double highMHz = 0;
    double shownLowMHz = 0; // the span's own extent, for the title
    double shownHighMHz = 0;
    QList<int> channels;
    int parent = -1;
    int parentSpan = -1;
};

// A row laid out at the top of its band, not yet placed.
struct AxisPlan {
    ChartRow row;
    QList<ChartLabel> labels;
    QList<int> letterOfSpan; // the label of each span's letter, -1 for none
    QList<PendingRow> children; // spans to enlarge, parentSpan set
    QList<int> unlabelled;
    int parentSpan = -1; // the span of the row above it enlarges
    double height = 0;
};

// Places boxes on a line in the order of their anchors, each as near its
// anchor as the others allow, none overlapping, all within [low, high]
// (blocks of touching boxes sit where their members want them on average).
// False when they cannot all fit.
bool Spread(QList<Item> &items, double low, double high, double gap);

// How far a label sits beside what it points at (0 while it stands over it).
double Stray(const Item &item);

} // namespace BandChartParts
