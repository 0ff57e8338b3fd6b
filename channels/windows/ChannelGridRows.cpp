// Row operations of the channel grid: several channels selected, an empty
// channel inserted, channels deleted or moved. Each is one change on the
// change path (so one undo step); the rows move by the rules of
// ChannelRows, names with their channels.
#include "ChannelGrid.h"

#include "CellEditorOverlay.h"
#include "ChannelRows.h"
#include "GridClipboard.h"
#include "Messages.h"
#include "RowOperationTexts.h"

#include <QItemSelection>
#include <QMenu>
#include <QTableWidget>

ChannelSet ChannelGridWindow::selectedChannels() const
{
    ChannelSet channels;
    for (const QModelIndex &index : grid_->selectionModel()->selectedIndexes())
        channels.push_back(index.row() + 1);
    channels = NormalisedChannels(channels);
    if (channels.empty() && currentRow() >= 1)
        channels.push_back(currentRow());
    return channels;
}

void ChannelGridWindow::selectChannels(const ChannelSet &channels)
{
    if (channels.empty())
        return;
    moveTo(channels.front(), 0);
    QItemSelection selection;
    for (int n : channels)
        selection.select(grid_->model()->index(n - 1, 0),
                         grid_->model()->index(n - 1, grid_->columnCount() - 1));
    grid_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void ChannelGridWindow::showChannels(const ChannelSet &channels)
{
    if (channels.empty())
        return;
    selectChannels(channels);
    grid_->scrollTo(grid_->model()->index(channels.front() - 1, 0),
                    QAbstractItemView::PositionAtTop);
}

// What is being typed is stored as leaving its cell stores it, before the
// rows move under it.
void ChannelGridWindow::commitOpenEditor()
{
    if (const int n = editorChannel())
        commitCell(n, editors_->cell()->col);
    abandonEdit();
}

void ChannelGridWindow::insertChannel()
{
    const ChannelSet selected = selectedChannels();
    if (selected.empty())
        return;
    commitOpenEditor();
    if (LastChannelInUse(RadioData)) {
        ShowWarning(this, RowTexts::LastChannelInUse);
        return;
    }
    const int at = selected.front();
    store(ChangeKind::InsertChannel, [at](ImageTable &image) { InsertEmptyChannel(image, at); });
    selectChannels({at});
}

void ChannelGridWindow::deleteChannels()
{
    const ChannelSet selected = selectedChannels();
    if (selected.empty())
        return;
    commitOpenEditor();
    int next = 0;
    store(ChangeKind::DeleteChannels,
          [&selected, &next](ImageTable &image) { next = DeleteChannels(image, selected); });
    selectChannels({next});
}

void ChannelGridWindow::moveChannelsUp()
{
    const ChannelSet selected = selectedChannels();
    if (selected.empty())
        return;
    commitOpenEditor();
    ChannelSet moved;
    store(ChangeKind::MoveChannelsUp,
          [&selected, &moved](ImageTable &image) { moved = MoveChannelsUp(image, selected); });
    selectChannels(moved);
}

void ChannelGridWindow::moveChannelsDown()
{
    const ChannelSet selected = selectedChannels();
    if (selected.empty())
        return;
    commitOpenEditor();
    ChannelSet moved;
    store(ChangeKind::MoveChannelsDown,
          [&selected, &moved](ImageTable &image) { moved = MoveChannelsDown(image, selected); });
    selectChannels(moved);
}

void ChannelGridWindow::showRowMenu(const QPoint &position)
{
    // A right click outside the selection selects the channel clicked.
    const QModelIndex index = grid_->indexAt(position);
    if (index.isValid() && !grid_->selectionModel()->isSelected(index))
        selectChannels({index.row() + 1});

    QMenu menu(this);
    menu.setObjectName(QStringLiteral("Menu_Rows"));
    // The Edit menu's undo and redo, as they stand.
    if (context_.undo && context_.redo) {
        for (const auto &[name, entry] :
             {std::pair{"Rows_Undo", context_.undo}, std::pair{"Rows_Redo", context_.redo}}) {
            QAction *action = menu.addAction(entry->text(), entry, &QAction::trigger);
            action->setObjectName(QLatin1String(name));
            action->setEnabled(entry->isEnabled());
        }
        menu.addSeparator();
    }
    struct Entry {
        const char *name;
        QString caption;
        void (ChannelGridWindow::*operation)();
    };
    const Entry entries[] = {
        {"Rows_InsertChannel", RowTexts::InsertCaption(), &ChannelGridWindow::insertChannel},
        {"Rows_DeleteChannel", RowTexts::DeleteCaption(), &ChannelGridWindow::deleteChannels},
        {"Rows_MoveUp", RowTexts::MoveUpCaption(), &ChannelGridWindow::moveChannelsUp},
        {"Rows_MoveDown", RowTexts::MoveDownCaption(), &ChannelGridWindow::moveChannelsDown},
    };
    for (const Entry &entry : entries)
        menu.addAction(entry.caption, this, entry.operation)
            ->setObjectName(QString::fromLatin1(entry.name));
    menu.addSeparator();
    menu.addActions(clipboard_->actions());
    emit rowMenuAboutToShow(&menu);
    menu.exec(grid_->viewport()->mapToGlobal(position));
}
