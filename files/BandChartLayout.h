// Where the band chart's texts go, so that every programmed channel's
// number can be read and told from the others whatever the list holds.
//
// Labels sit in one line above each axis, in the order of their marks, each
// joined to its mark by a leader (so leaders never cross); channels on one
// frequency share a label. Where the marks crowd so that labels would stray
// from them (or not fit at all), that span of the axis carries a letter on
// a bracket instead, and is drawn again enlarged as a row of its own below,
// as often as needed; rows that need little room share a band side by
// side. A channel for which no row is left is listed instead
// (BandChartLayout::unlabelled).
//
// Plain geometry in the painter's units: the painter hands in the sizes of
// its texts and draws the boxes it gets back.
#pragma once

#include "BandChart.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>

struct ChartMetrics {
    double width = 0; // of the chart
    double maxHeight = 0; // the rows may take this much at most
    double lineHeight = 0; // of a line of label or tick text
    // Width of a text in the chart's font.
    std::function<double(const QString &)> textWidth;
};

struct ChartLabel {
    QRectF box;
    QStringList lines; // the text, one entry per line
    QList<int> channels; // labelled channels; empty for the letter of an enlarged span
    int row = 0; // the row whose axis it labels
    double anchorX = 0; // where on that axis it points: a mark, or the middle of a span
    // The stretch of the axis it stands for: its mark, or its span.
    double reachLeft = 0;
    double reachRight = 0;
    int zoomRow = -1; // for a letter: the row that shows the span enlarged
};

struct ChartRow {
    // An enlarged span: drawn again on row `row` (-1: no room was left).
    struct Span {
        double lowMHz = 0;
        double highMHz = 0;
        int row = -1;
    };

    double lowMHz = 0;
    double highMHz = 0;
    double left = 0; // the axis ends
    double right = 0;
    double axisY = 0;
    double labelBottom = 0; // leaders run from the marks up to here
    double markTop = 0; // the marks take the room from here down to the axis
    QString name; // "A", "B", ... for the enlarged rows; empty for the first
    QString title; // "A  446 - 446.1 MHz"
    QRectF titleBox;
    QList<double> ticks;
    QStringList tickTexts;
    QList<QRectF> tickBoxes;
    QList<int> channels; // whose marks the row draws
    QList<Span> spans;
    int parent = -1;
    QRectF area; // all of the row

    // Position of a frequency on the axis, held at its ends.
    double x(double mhz) const;
};

struct BandChartLayout {
    QList<ChartRow> rows;
    QList<ChartLabel> labels;
    QList<int> unlabelled; // channels no label could be given, ascending
    double height = 0;
};

BandChartLayout LayOutChartLabels(const BandChart &chart, const ChartMetrics &metrics);
