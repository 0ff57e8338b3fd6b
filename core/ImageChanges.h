// The one path by which a user's change reaches the image. It knows the
// rows before and after each change and announces which rows changed. It
// owns the image: RadioData is a read-only view of it, and nothing but the
// calls below writes it.
//
// How windows use it:
// - An editor stores an accepted value inside one call, writing the image
//   it is handed (the image behind RadioData) through the record codec:
//       ImageChanges::instance().apply(ChangeKind::CellEdit, [&](ImageTable &image) {
//           Record::Power.set(image, channel, index);
//       });
//   Everything one user action stores goes into one call, so it is one
//   change (and later one undo step). A call made while another runs, e.g.
//   by a helper the edit uses, becomes part of the outer change.
// - The read window, after its last block, and the open window, after the
//   file was parsed, hand the new image over whole with replaceImage().
// - Every window that shows the image connects to rowsChanged and redraws
//   what the change touches (ImageChange::touches) - also for the changes
//   it made itself, so it always shows the image as stored.
// - The write preparation's rebuilding of derived cells (power-on channel,
//   channel bitmap, identification block) is no user change: it runs in
//   completeForWrite, unannounced. Undo therefore restores only the cells a
//   change changed (RowChange::changedColumns), never whole rows.
//
// A change made by a window while it redraws after another change is
// announced as that change's follow-up (ImageChange::followUp).
//
// Nothing is emitted when an edit changes nothing. Only the used part of
// the image (rows 0..255, columns 0..15) is compared.
#pragma once

#include "Globals.h"

#include <QList>
#include <QMetaType>
#include <QObject>
#include <array>
#include <cstdint>
#include <functional>

enum class ChangeKind {
    CellEdit, // a cell of the channel grid or a channel edit field
    Clear, // channels or names erased
    ModelSelect, // model and band chosen
    OptionsEdit, // optional features and VFO
    FmEdit, // FM station list
    CompletedRead, // a read from the radio finished
    OpenedFile, // a channel file was opened
    PowerCalibration, // transmit power adjusted
    Recovered, // unsaved work of an earlier run restored
    CsvImport, // channels taken from a CSV channel list
    Paste, // channels pasted from the clipboard
    Cut, // channels cut to the clipboard
    InsertChannel, // an empty channel put in, those below moved down
    DeleteChannels, // channels taken out, those below moved up
    MoveChannelsUp, // channels moved one place up
    MoveChannelsDown, // channels moved one place down
    NameTyping, // a channel name stored as it is typed, key by key
    // What a window stores as it shows the image (values beyond their
    // lists written back as shown, stray cells of an empty channel erased):
    // no user's change, so no undo step of its own.
    ShownValues,
};

using RowBytes = std::array<int16_t, BlockSize>;

struct RowChange {
    int row = 0;
    RowBytes before{};
    RowBytes after{};

    // Columns whose cell differs between before and after, ascending.
    QList<int> changedColumns() const;
};

struct ImageChange {
    ChangeKind kind = ChangeKind::CellEdit;
    QList<RowChange> rows; // ascending by row; only rows that differ
    // Made while another change was being announced: a window storing as
    // it redrew that change. It belongs to that change.
    bool followUp = false;

    bool isEmpty() const { return rows.isEmpty(); }
    bool touches(int row) const;
    bool touches(int firstRow, int lastRow) const;
};
Q_DECLARE_METATYPE(ImageChange)

// What undo and redo write: the cells the change changed, as they were
// before it or after it. Cells it left alone (those the write preparation
// rebuilds among them) are not touched.
void PutBefore(ImageTable &image, const ImageChange &change);
void PutAfter(ImageTable &image, const ImageChange &change);
// The change `then`, made right after `first`, folded into it: one change
// of first's kind from the image before first to the image after then.
// Rows that end as they began drop out.
ImageChange Combined(const ImageChange &first, const ImageChange &then);

class ImageChanges : public QObject {
    Q_OBJECT
public:
    static ImageChanges &instance();

    // Runs the edit on RadioData and returns what it changed; rowsChanged
    // is emitted when that is anything.
    ImageChange apply(ChangeKind kind, const std::function<void(ImageTable &)> &edit);
    // Rows 0..rowCount - 1 (columns 0..15) of RadioData replaced by those
    // of source, as one change.
    ImageChange replaceImage(ChangeKind kind, const ImageTable &source, int rowCount = UsedRows);

    // The writes that are no user's change: nothing is announced and undo
    // never sees them. startWith puts the whole image in place as the
    // program starts (ResetGlobals; a test setting up its image).
    // completeForWrite lets the write preparation complete the derived
    // cells before a write.
    void startWith(const ImageTable &image);
    void completeForWrite(const std::function<void(ImageTable &)> &prepare);

signals:
    void rowsChanged(const ImageChange &change);

private:
    ImageChanges() = default;
    int depth_ = 0;
    int announcing_ = 0; // rowsChanged being emitted, nested
};
