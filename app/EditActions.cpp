#include "EditActions.h"

#include "ChannelGrid.h"
#include "GridClipboard.h"
#include "RowOperationTexts.h"
#include "UndoHistory.h"
#include "Windows.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

namespace {

ChannelGridWindow *OpenGrid() { return Windows::FindAs<ChannelGridWindow>(WindowId::ChannelGrid); }

QAction *AddAction(QMenu *menu, const char *name)
{
    QAction *action = menu->addAction(QString());
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

EditActions::EditActions(QMenu *edit, UndoHistory *history) : QObject(edit), history_(history)
{
    edit->addSeparator();
    undo_ = AddAction(edit, "Edit_Undo");
    undo_->setShortcut(QKeySequence::Undo);
    redo_ = AddAction(edit, "Edit_Redo");
    redo_->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    // What is being typed is stored first and becomes the step undone; a
    // field that refuses its text keeps the history as it is.
    connect(undo_, &QAction::triggered, history, [history] {
        if (Windows::CommitTyped())
            history->undo();
    });
    connect(redo_, &QAction::triggered, history, [history] {
        if (Windows::CommitTyped())
            history->redo();
    });

    edit->addSeparator();
    // The grid's own actions carry the Ctrl+C/X/V keys while it has the
    // focus; these entries reach the same operations from the menu.
    copy_ = AddAction(edit, "Edit_CopyChannels");
    cut_ = AddAction(edit, "Edit_CutChannels");
    paste_ = AddAction(edit, "Edit_PasteChannels");
    const std::pair<QAction *, void (GridClipboard::*)()> clipboard[] = {
        {copy_, &GridClipboard::copy},
        {cut_, &GridClipboard::cut},
        {paste_, &GridClipboard::paste},
    };
    for (const auto &[action, operation] : clipboard)
        connect(action, &QAction::triggered, this, [op = operation] {
            if (ChannelGridWindow *grid = OpenGrid())
                (grid->clipboard()->*op)();
        });

    edit->addSeparator();
    insert_ = AddAction(edit, "Edit_InsertChannel");
    delete_ = AddAction(edit, "Edit_DeleteChannel");
    moveUp_ = AddAction(edit, "Edit_MoveUp");
    moveDown_ = AddAction(edit, "Edit_MoveDown");
    const std::pair<QAction *, void (ChannelGridWindow::*)()> rows[] = {
        {insert_, &ChannelGridWindow::insertChannel},
        {delete_, &ChannelGridWindow::deleteChannels},
        {moveUp_, &ChannelGridWindow::moveChannelsUp},
        {moveDown_, &ChannelGridWindow::moveChannelsDown},
    };
    for (const auto &[action, operation] : rows)
        connect(action, &QAction::triggered, this, [op = operation] {
            if (ChannelGridWindow *grid = OpenGrid())
                (grid->*op)();
        });

    qApp->installEventFilter(this);
    connect(history, &UndoHistory::stateChanged, this, &EditActions::updateStates);
    connect(edit, &QMenu::aboutToShow, this, &EditActions::updateStates);
    updateStates();
}

bool EditActions::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const auto *field = qobject_cast<QLineEdit *>(watched);
    if (!field || field->isReadOnly())
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const QKeySequence pressed(key->keyCombination());
    const bool undo = undo_->shortcuts().contains(pressed);
    const bool redo = redo_->shortcuts().contains(pressed);
    // A field takes these keys for its own typing; with nothing of that to
    // take back or bring back, the key goes to the menu entry instead.
    if ((undo && !field->isUndoAvailable()) || (redo && !field->isRedoAvailable())) {
        event->ignore();
        return true;
    }
    return false;
}

void EditActions::applyTexts()
{
    undo_->setText(history_->undoCaption());
    redo_->setText(history_->redoCaption());
    copy_->setText(GridClipboard::copyCaption());
    cut_->setText(GridClipboard::cutCaption());
    paste_->setText(GridClipboard::pasteCaption());
    insert_->setText(RowTexts::InsertCaption());
    delete_->setText(RowTexts::DeleteCaption());
    moveUp_->setText(RowTexts::MoveUpCaption());
    moveDown_->setText(RowTexts::MoveDownCaption());
}

void EditActions::updateStates()
{
    undo_->setEnabled(history_->canUndo());
    redo_->setEnabled(history_->canRedo());
    const bool grid = OpenGrid() != nullptr;
    for (QAction *action : {copy_, cut_, paste_, insert_, delete_, moveUp_, moveDown_})
        action->setEnabled(grid);
    applyTexts();
}
