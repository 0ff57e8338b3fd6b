// What the channel list's import and export both know of the format
// beyond its columns.
#pragma once

#include <QString>

// What other programs write into tone columns a channel does not use.
inline const QString CsvDefaultTone = QStringLiteral("88.5");
inline const QString CsvDefaultDcs = QStringLiteral("023");
