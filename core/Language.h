// Each window keeps its Chinese and English texts side by side; this picks
// the one of the current language at the moment the text is needed.
#pragma once

#include "Globals.h"

#include <QString>

inline QString Texts(const char *chinese, const char *english)
{
    return QString::fromUtf8(IsChinese ? chinese : english);
}
