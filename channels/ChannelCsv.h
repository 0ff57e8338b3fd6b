// Channel lists in the common channel CSV format that dealers, clubs and
// other channel programs exchange: export of the image's channels, and an
// import that checks every row against the channel field rules before
// anything is stored, saying row by row what it changed or refused.
//
// The windows and the command-line tool are thin shells over this: they
// read the file, let the user choose where rows go, show the report and
// store the plan as one change.
#pragma once

#include "ChannelRules.h"
#include "Globals.h"
#include "Language.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <optional>

// The format's columns, then ours for the fields it lacks.
QStringList ChannelCsvHeader();

// The header and one row for each programmed channel of the list (all
// channels when it is empty), in the list's order; empty channels are
// left out. Reads the image only.
QByteArray ExportChannelCsv(const ImageTable &image, const QList<int> &channels = {});

// A channel as an import stores it: its 16 record cells and 5 name codes.
struct CsvChannel {
    std::array<int16_t, BlockSize> cells{};
    std::array<int16_t, NameLength> name{};
};

struct CsvIssue {
    enum class Kind { Changed, Refused, Note };
    int line = 0; // file line, the header being line 1
    QString column; // the CSV column concerned, empty for the whole row
    Kind kind = Kind::Refused;
    BilingualText reason;
};

struct CsvRow {
    int line = 0;
    QString name; // the Name field as the file has it
    // The Location field as a whole number, whatever its range; nothing
    // when absent or not a number.
    std::optional<int> location;
    // Nothing when a field refuses the row.
    std::optional<CsvChannel> channel;
    QList<CsvIssue> issues;
};

struct CsvFile {
    // Empty when the text is a channel list; otherwise why not.
    std::optional<BilingualText> error;
    bool hasLocation = false;
    QList<CsvRow> rows;
    // Said once for the whole file (watts taken as power levels).
    QList<CsvIssue> notes;
};

// Reads and checks every row of a channel list against the band the
// target's editors use. Names longer than five characters are fitted by
// FitChannelNames over the names of all good rows, so that names which
// differ in the file stay apart. Nothing is stored.
CsvFile ParseChannelCsv(const QByteArray &text, FrequencyBand band);

struct CsvPlacement {
    enum class Mode {
        FileNumbers, // Location = channel
        FileOrder, // rows in file order from firstChannel
        Relative, // the lowest Location goes to firstChannel, gaps kept (paste)
    };
    Mode mode = Mode::FileNumbers;
    int firstChannel = 1;
};

struct CsvImportPlan {
    struct Placed {
        int line;
        int channel;
        CsvChannel data;
    };
    QList<Placed> placed;
    // Every changed or refused row and the file's notes, by line.
    QList<CsvIssue> report;
    int rowCount = 0;
    int refusedCount = 0;
    int changedCount = 0; // applied, but not as the file had it

    bool allApplied() const { return refusedCount == 0; }
};

// Where each good row goes; rows without a channel (Location outside
// 1..128, past channel 128, a channel given twice) are refused. Names that
// the radio would show alike although they differ - among the placed rows,
// or with a programmed channel of `image` that the import leaves - are
// listed together, one note for each such name.
CsvImportPlan PlanCsvImport(const CsvFile &file, const CsvPlacement &placement,
                            const ImageTable *image = nullptr);

// Each placed channel replaces the whole channel, name included.
void ApplyCsvImport(ImageTable &image, const CsvImportPlan &plan);

// "Line 5, Frequency: refused: ..." in the current language.
QString CsvIssueText(const CsvIssue &issue);
// "12 rows: 10 applied (1 of them changed), 2 refused."
QString CsvPlanSummary(const CsvImportPlan &plan);
