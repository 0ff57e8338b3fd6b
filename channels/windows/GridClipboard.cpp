#include "GridClipboard.h"

#include "ChannelCsvActions.h"
#include "ChannelRules.h"
#include "ImageChanges.h"
#include "Language.h"
#include "RecordCodec.h"
#include "Windows.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTableWidget>
#include <algorithm>

namespace {

QAction *MakeAction(QTableWidget *grid, const char *name, QKeySequence::StandardKey key)
{
    auto *action = new QAction(grid);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    // Only while the grid (or an editor on it) has the focus; a text editor
    // that has it keeps its own copy and paste.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    grid->addAction(action);
    return action;
}

} // namespace

GridClipboard::GridClipboard(QTableWidget *grid)
    : QObject(grid),
      grid_(grid),
      copy_(MakeAction(grid, "Edit_Copy", QKeySequence::Copy)),
      cut_(MakeAction(grid, "Edit_Cut", QKeySequence::Cut)),
      paste_(MakeAction(grid, "Edit_Paste", QKeySequence::Paste))
{
    connect(copy_, &QAction::triggered, this, &GridClipboard::copy);
    connect(cut_, &QAction::triggered, this, &GridClipboard::cut);
    connect(paste_, &QAction::triggered, this, &GridClipboard::paste);
}

QString GridClipboard::copyCaption() { return Texts("复制信道", "Copy Channels"); }
QString GridClipboard::cutCaption() { return Texts("剪切信道", "Cut Channels"); }
QString GridClipboard::pasteCaption() { return Texts("粘贴信道", "Paste Channels"); }

void GridClipboard::applyTexts()
{
    copy_->setText(copyCaption());
    cut_->setText(cutCaption());
    paste_->setText(pasteCaption());
}

QList<int> GridClipboard::selectedChannels() const
{
    QList<int> channels;
    for (const QModelIndex &index : grid_->selectionModel()->selectedIndexes())
        channels << index.row() + 1;
    if (channels.isEmpty() && grid_->currentRow() >= 0)
        channels << grid_->currentRow() + 1;
    std::sort(channels.begin(), channels.end());
    channels.erase(std::unique(channels.begin(), channels.end()), channels.end());
    return channels;
}

void GridClipboard::copy() { (void)copySelection(); }

bool GridClipboard::copySelection()
{
    // A name being typed is part of what is copied; a field that refuses
    // its text leaves the clipboard as it was.
    if (!Windows::CommitTyped())
        return false;
    const QByteArray text = ChannelsCsvText(selectedChannels());
    auto *data = new QMimeData;
    data->setText(QString::fromUtf8(text));
    data->setData(QStringLiteral("text/csv"), text);
    QApplication::clipboard()->setMimeData(data);
    return true;
}

void GridClipboard::cut()
{
    if (!copySelection())
        return;
    // Names go with their channels; an empty channel's name was not copied
    // and stays.
    const QList<int> channels = selectedChannels();
    ImageChanges::instance().apply(ChangeKind::Cut, [&channels](ImageTable &image) {
        for (int n : channels)
            if (!IsChannelEmpty(image, n))
                EraseChannelAndName(image, n);
    });
}

void GridClipboard::paste()
{
    const QList<int> channels = selectedChannels();
    if (channels.isEmpty())
        return;
    const QMimeData *data = QApplication::clipboard()->mimeData();
    QByteArray text;
    if (data && data->hasFormat(QStringLiteral("text/csv")))
        text = data->data(QStringLiteral("text/csv"));
    else if (data)
        text = data->text().toUtf8();
    PasteChannelsCsv(text, channels.constFirst(), grid_);
}
