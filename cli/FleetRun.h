// ql540 write and read over several ports at once, and the production line
// (write --each): the fleet library on the console, with Ctrl+C, the
// running count, the log file and the summary table.
#pragma once

#include "Globals.h"
#include "ProgressOutput.h"

#include <QString>
#include <QStringList>

struct FleetOptions {
    QStringList devices; // resolved device paths, no duplicates
    bool productionLine = false;
    QString logPath; // empty: no log
    bool verify = false; // a write reads each radio back and compares
    bool json = false; // the results as JSON instead of the table
    ProgressOutput::Style style = ProgressOutput::Style::Lines;
};

// Resolves --port values (paths or numbers 1..8) to devices; on a problem
// returns an empty list with the message in error.
QStringList ResolveFleetPorts(const QStringList &values, QString *error);

// image holds the file to write. Returns the exit code.
int RunFleetWrite(const FleetOptions &options, ImageTable &image);
// Each radio compared with expected (the file as a write prepares it).
int RunFleetVerify(const FleetOptions &options, const ImageTable &expected);
// Saves each radio's memory into folder, named by port and time.
int RunFleetRead(const FleetOptions &options, const QString &folder);
