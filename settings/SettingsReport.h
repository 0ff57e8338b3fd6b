// The VFO record and the radio-wide options of the image in readable form,
// with the captions and list items of the optional features window.
#pragma once

#include "Globals.h"

#include <QList>
#include <QString>

struct ReportItem {
    QString key; // stable name for other tools (JSON)
    QString label; // caption in the current language
    QString value; // what the window would show
};

QString VfoTitle();
QString OptionsTitle();
QList<ReportItem> VfoItems(const ImageTable &image);
QList<ReportItem> OptionItems(const ImageTable &image);
