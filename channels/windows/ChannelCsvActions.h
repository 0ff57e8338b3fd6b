// The windows' side of CSV channel lists: the File menu's export and
// import, and the channel grid's copy, cut and paste through the
// clipboard. Everything they store is one change of the image.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QWidget;

// Ask for a file, then export or import. What is typed in any window is
// stored first; a field that refuses its text stops them.
// Their dialogs and message boxes belong to the parent's window.
void ExportChannelsCsv(QWidget *parent);
void ImportChannelsCsv(QWidget *parent);
// The same for a file already chosen. The export returns whether it wrote.
bool ExportChannelsCsvTo(const QString &path, QWidget *parent);
void ImportChannelsCsvFrom(const QString &path, QWidget *parent);

// The text copy and cut put on the clipboard: the header and the listed
// channels that are programmed, as the image holds them.
QByteArray ChannelsCsvText(const QList<int> &channels);
// Pasted rows go from channel `at` on, keeping the gaps between their
// channel numbers; a report comes first when rows are changed or refused.
void PasteChannelsCsv(const QByteArray &text, int at, QWidget *parent);
