// Reading and writing channel list files, shared by the windows and the
// command-line tool so both refuse and report alike.
#pragma once

#include "Language.h"

#include <QByteArray>
#include <QString>

// Public repeater lists run to thousands of rows; anything far beyond that
// is not a channel list and is refused before it is read into memory.
constexpr qint64 ChannelCsvSizeLimit = 16 * 1024 * 1024;

bool ReadChannelCsvFile(const QString &path, QByteArray &text, BilingualText *error);
// The file is replaced only once all of it has been written.
bool WriteChannelCsvFile(const QString &path, const QByteArray &text, BilingualText *error);
