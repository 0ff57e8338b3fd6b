// The Edit menu's entries that change the image: undo and redo of the
// program's history, and the grid's row operations. Row operations act on
// the channel grid's selection and are offered while the grid is open.
#pragma once

#include "Windows.h"

#include <QObject>

class QAction;
class QMenu;
class UndoHistory;

class EditActions : public QObject {
    Q_OBJECT
public:
    // Adds the entries to the menu; the shortcuts work in the whole window.
    EditActions(QMenu *edit, UndoHistory *history);

    // Captions of the current language, undo and redo with their step.
    void applyTexts();
    // The undo and redo entries, for the windows to offer too.
    WindowContext context() const { return {undo_, redo_}; }

protected:
    // Undo and redo keys in a text field with nothing of its own to undo
    // or redo reach the image's history.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateStates();

    UndoHistory *history_;
    QAction *undo_ = nullptr;
    QAction *redo_ = nullptr;
    QAction *copy_ = nullptr;
    QAction *cut_ = nullptr;
    QAction *paste_ = nullptr;
    QAction *insert_ = nullptr;
    QAction *delete_ = nullptr;
    QAction *moveUp_ = nullptr;
    QAction *moveDown_ = nullptr;
};
