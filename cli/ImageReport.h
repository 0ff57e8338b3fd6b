// What "ql540 show" prints: the channel rows as the grid shows them with
// the switches of the channel edit window, then the VFO and the optional
// features; as aligned text or as JSON.
#pragma once

#include "ChannelReport.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

// Empty channels are left out unless all is set.
QString ImageReportText(const ImageTable &image, bool all);
QJsonObject ImageReportJson(const ImageTable &image, bool all);

// Columns a text takes on a terminal: CJK characters take two.
int DisplayWidth(const QString &text);
// Rows as aligned columns, two blanks apart, one line each.
QString TextTable(const QList<QStringList> &rows);
