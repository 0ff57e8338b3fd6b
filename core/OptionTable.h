// The radio-wide settings as the optional features window presents them:
// for every field its stable key, the control that edits it, its caption
// and list items in both languages, and the cells it owns. The window fills
// its captions and lists from here and the command-line report prints from
// here, so both say the same thing.
#pragma once

#include "Language.h"
#include "RecordCodec.h"

#include <QList>
#include <QString>
#include <QStringList>

enum class OptionKind {
    List, // pick-only list; the field holds the list index
    Check, // check box; the field reads 1 when ticked
    Frequency, // VFO frequency text; the field addresses the first of its four cells
    Transmit, // VFO transmit frequency: computed, never stored
    Tone, // VFO tone list (ToneList); the field addresses the type cell
    Password, // power-on password digits, (209,0..3)
    Message, // power-on message, (209,4..8)
    Range, // working range, row 153
    Number, // a plain number
};

struct OptionEntry {
    QString key; // stable name for scripts (JSON)
    QString control; // objectName of the control that edits it; empty when none
    QString label; // objectName of the control's label, when it has one
    BilingualText caption;
    OptionKind kind = OptionKind::List;
    CellField field;
    QList<BilingualText> items; // List: the items in index order
    bool hidden = false; // kept hidden by the window; reports leave it out
    // A stored value beyond the last item shows the first one rather than
    // the last, because the radio reads it so (shift direction 3 = simplex).
    bool beyondLastIsFirst = false;

    // The items in the current language; for a tone list the ToneList
    // entries without their blanks.
    QStringList itemTexts() const;
    // The item a stored value shows: beyond the last item, the last one
    // (or the first, see beyondLastIsFirst).
    int shownIndex(int stored) const;
};

// The VFO record's fields, in the order reports print them.
const QList<OptionEntry> &VfoOptionTable();
// The radio-wide options of rows 153, 208 and 209, in report order.
const QList<OptionEntry> &OptionTable();
// The entry of a key in either table; nullptr when there is none.
const OptionEntry *FindOption(const QString &key);
