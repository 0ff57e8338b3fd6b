// What became of one radio on one port in a run over several ports: the
// record each port keeps, its texts in both languages, the summary table
// printed at the end, and the exit code of the worst result.
#pragma once

#include "ImageDiff.h"
#include "Language.h"

#include <QDateTime>
#include <QList>
#include <QString>

// Verify: a read of the blocks a write sends, compared with a file.
enum class PortTask { Read, Write, Verify };

enum class PortOutcome {
    Pending, // nothing yet: waiting for its radio
    Running, // a transfer is under way
    Completed,
    Different, // the radio does not hold what it should (a verify)
    Failed, // the radio or the port failed, after the retries
    FileError, // read, but its file could not be saved
    Interrupted, // stopped by the user with the radio identified: a write
    // left it half written
    Stopped, // stopped by the user before its radio answered
};

struct PortRecord {
    QString device;
    PortTask task = PortTask::Write;
    PortOutcome outcome = PortOutcome::Pending;
    bool verifyAfterWrite = false; // a write that reads the radio back to check it
    bool written = false; // ... whose write has completed: the verify is under way or done
    int number = 0; // the production line's count for this port (0: not a line)
    int attempts = 0; // openings of the port (a verify after a write adds only its retries)
    int percent = 0;
    qint64 elapsedMs = 0;
    QDateTime finished; // when the outcome was settled
    BilingualText status; // the last status line of the link
    BilingualText detail; // failure message, or where a read was saved
    QList<ImageDifference> differences; // what a verify found (file → radio)
};

// "written", "read", "failed: Fail connect with transceiver." ...
BilingualText OutcomeText(const PortRecord &record);
// "9.6 s"
QString ElapsedText(qint64 ms);
// Columns port, (radio number,) result, time, attempts, aligned with
// blanks (Chinese characters count double), one line each, header first,
// in the current language.
QString SummaryTable(const QList<PortRecord> &records);
// 0 all completed, 2 a file could not be saved, 3 a radio differs from the
// file, 1 a radio or port failed or was stopped: the worst of them.
int WorstExitCode(const QList<PortRecord> &records);
// One line of the production-line log: time, port, radio number, result,
// time taken, attempts, separated by tabs.
QString LogLine(const PortRecord &record);
