// Each window keeps its Chinese and English texts side by side; this picks
// the one of the current language at the moment the text is needed.
#pragma once

#include "Globals.h"

#include <QString>

inline QString Texts(const char *chinese, const char *english)
{
    return QString::fromUtf8(IsChinese ? chinese : english);
}

// A text in both interface languages, kept whole until it is shown.
struct Caption {
    QString chinese;
    QString english;
    // The text of the current language (IsChinese).
    QString text() const { return IsChinese ? chinese : english; }
    bool operator==(const Caption &) const = default;
};
