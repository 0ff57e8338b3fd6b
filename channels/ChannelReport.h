// A channel as a printed or listed row: the grid's columns followed by the
// switches of the channel edit window, in the current language. The
// command-line listing and the printed channel sheet share it.
#pragma once

#include "Globals.h"

#include <QList>
#include <QString>
#include <QStringList>

// The eight column titles of the grid, without their alignment marks.
QStringList ChannelColumnTitles();
// The titles of the four switches: VOX, busy lock, scan add, TX stop.
QStringList ChannelSwitchTitles();
// The grid's texts of a programmed channel, then "On"/"Off" for each switch.
QStringList ChannelRowCells(const ImageTable &image, int channel);
QString OnOffText(bool on);

// The switches by stable names for other tools: vox, busyLock, scanAdd, txStop.
struct ChannelSwitchState {
    QString key;
    bool on;
};
QList<ChannelSwitchState> ChannelSwitchStates(const ImageTable &image, int channel);
