// The channel sheet a dealer hands the customer: the band chart, the
// programmed channels as the grid shows them with their switches, the VFO,
// the optional features and the FM presets, in the current language. The
// print preview, the PDF export and `ql540 sheet` all paint it from here.
#pragma once

#include "Globals.h"

#include <QList>
#include <QPageSize>
#include <QString>

class QPagedPaintDevice;

// The text part of the sheet (everything but the chart) as HTML.
QString ChannelSheetHtml(const ImageTable &image);
// The chart's notes: channels sharing a frequency, channels outside the
// range, and those of `unlabelled` (the chart had no room for their labels).
QStringList BandChartNotes(const ImageTable &image, const QList<int> &unlabelled = {});

// Paints the whole sheet of the image onto a printer or PDF writer, one page
// after another; returns the number of pages.
int PaintChannelSheet(const ImageTable &image, QPagedPaintDevice &device);
// The sheet as a PDF file; false with a reason when it cannot be written.
bool SaveChannelSheetPdf(const ImageTable &image, const QString &path, const QPageSize &pageSize,
                         QString *error);
