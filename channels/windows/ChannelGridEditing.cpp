// In-place editing of the channel grid: which editor opens over which
// cell, what may be typed, and what leaving a cell stores.
#include "ChannelGrid.h"

#include "CellEditorOverlay.h"
#include "ChannelGridTexts.h"
#include "ChannelRules.h"
#include "ChannelTexts.h"
#include "Globals.h"
#include "KeyPresses.h"
#include "Messages.h"
#include "RadioWriteOpen.h"
#include "SessionState.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

namespace {

constexpr int ReceiveCol = 1;
constexpr int TransmitCol = 2;
constexpr int DecodeCol = 3;
constexpr int EncodeCol = 4;
constexpr int PowerCol = 5;
constexpr int BandwidthCol = 6;
constexpr int NameCol = 7;
constexpr int LastCol = 7;

// The channel field behind a grid column; column 0 has none.
std::optional<ChannelField> FieldOfColumn(int col)
{
    static constexpr ChannelField fields[] = {
        ChannelField::Receive, ChannelField::Transmit,  ChannelField::Decode, ChannelField::Encode,
        ChannelField::Power,   ChannelField::Bandwidth, ChannelField::Name,
    };
    if (col < ReceiveCol || col > NameCol)
        return std::nullopt;
    return fields[col - ReceiveCol];
}

// What the image says a cell shows.
QString FieldText(int n, int col)
{
    if (col == 0)
        return QString::number(n);
    return ChannelFieldText(RadioData, n, *FieldOfColumn(col));
}

// A programmed channel always shows a transmit frequency.
bool ShowsTransmit(int n)
{
    return !ChannelFieldText(RadioData, n, ChannelField::Transmit).trimmed().isEmpty();
}

// A channel's cells and its name codes.
std::array<int16_t, BlockSize + NameLength> ChannelDataOf(int n)
{
    std::array<int16_t, BlockSize + NameLength> data{};
    for (int c = 0; c < BlockSize; ++c)
        data[c] = RadioData[n][c];
    for (int k = 0; k < NameLength; ++k) {
        const int index = (n - 1) * NameLength + k;
        data[BlockSize + k] = RadioData[NameRowFirst + index / BlockSize][index % BlockSize];
    }
    return data;
}

} // namespace

void ChannelGridWindow::onCurrentCellChanged(int row, int col, int previousRow, int previousCol)
{
    if (previousRow >= 0 && previousCol >= 0)
        commitCell(previousRow + 1, previousCol);
    // The current channel (and so the caption and the channel edit window)
    // follows the current cell, also when moved by keyboard.
    if (row >= 0 && col >= 0)
        SessionState::instance().setCurrentChannel(row + 1);
}

void ChannelGridWindow::warn(const BilingualText &message)
{
    editors_->messageShown();
    ShowWarning(this, message);
}

void ChannelGridWindow::onCellClicked(int row, int)
{
    BeginCellEdit();
    SessionState::instance().setCurrentChannel(row + 1);
}

void ChannelGridWindow::commitCell(int n, int col)
{
    // The editor's text belongs to this cell only if it was opened on it;
    // otherwise it is empty or another cell's, and storing it would delete
    // the channel, make it simplex or erase its name.
    const bool owned = editorOn(n, col);
    const bool replaced = owned && editorDataReplaced();
    editors_->release();
    const QString typed = textEdit_->text();
    focusGrid();
    textEdit_->hide();
    if (replaced)
        redrawAll();
    else if (owned && (col == ReceiveCol || col == TransmitCol || col == NameCol))
        storeTyped(n, col, typed);
    else if (owned)
        ShowChannelRow(n); // a list cell shows what its choices stored
    hideEditors();
    // The channel committed is the current one, once its edit is done.
    SessionState::instance().setCurrentChannel(n);
}

void ChannelGridWindow::storeTyped(int n, int col, const QString &typed)
{
    const ChannelEditResult edit =
        EditChannelText(RadioData, n, *FieldOfColumn(col), typed, GridEditProfile, CurrentBand());
    store(ChangeKind::CellEdit, [&edit](ImageTable &image) { edit.applyTo(image); });
    ShowChannelRow(n);
    if (edit.message)
        warn(*edit.message);
}

void ChannelGridWindow::CommitPendingName()
{
    const int n = currentRow();
    if (n < 1 || currentCol() != NameCol || !editorOn(n, NameCol) || editorDataReplaced())
        return;
    storeTyped(n, NameCol, textEdit_->text());
    // The editor stays open; what it stored is its own.
    rememberEditorData();
}

bool ChannelGridWindow::commitTyped()
{
    const int n = editorChannel();
    if (!n)
        return true;
    const int col = editors_->cell()->col;
    if (col == NameCol)
        CommitPendingName();
    else if (col == ReceiveCol || col == TransmitCol)
        commitCell(n, col);
    return true;
}

void ChannelGridWindow::BeginCellEdit()
{
    const int n = currentRow();
    const int c = currentCol();
    if (n < 1 || c < 0)
        return;
    if (c == ReceiveCol || c == TransmitCol) {
        openTextEditor(n, c);
        return;
    }
    if (c == 0 || IsChannelEmpty(RadioData, n))
        return;
    if (c == NameCol) {
        openTextEditor(n, c);
        return;
    }
    if (c == EncodeCol && !ShowsTransmit(n)) {
        editors_->release();
        hideEditors();
        return;
    }
    openListEditor(n, c);
}

void ChannelGridWindow::nameEditor(QWidget *editor, int n, int col)
{
    const QTableWidgetItem *header = grid_->horizontalHeaderItem(col);
    const QString name = GridTexts::CellEditorName(n, header ? header->text() : QString());
    editor->setAccessibleName(name);
    if (editor == comboEdit_)
        comboLabel_->setText(name);
}

void ChannelGridWindow::openTextEditor(int n, int col)
{
    nameEditor(textEdit_, n, col);
    textEdit_->setText(FieldText(n, col));
    editors_->open(textEdit_, {n - 1, col});
    rememberEditorData();
}

void ChannelGridWindow::openListEditor(int n, int col)
{
    fillList(col);
    nameEditor(comboEdit_, n, col);
    comboEdit_->setCurrentIndex(ChannelChoice(RadioData, n, *FieldOfColumn(col)).value_or(-1));
    editors_->open(comboEdit_, {n - 1, col});
    rememberEditorData();
}

void ChannelGridWindow::fillList(int col)
{
    comboEdit_->clear();
    if (col == DecodeCol || col == EncodeCol) {
        comboEdit_->addItems(ToneItems());
    } else if (col == PowerCol) {
        comboEdit_->addItems(PowerItems());
    } else if (col == BandwidthCol) {
        comboEdit_->addItems(BandwidthItems());
    }
}

void ChannelGridWindow::onChoice(int index)
{
    const int n = editorChannel();
    if (!n || index < 0)
        return;
    const int col = editors_->cell()->col;
    const ChannelEditResult choice = ChooseChannelItem(RadioData, n, *FieldOfColumn(col), index);
    store(ChangeKind::CellEdit, [&choice](ImageTable &image) { choice.applyTo(image); });
    rememberEditorData();
    ShowChannelRow(n);
}

// The channel under an open editor may have been replaced while the grid
// was in the background (a read, an opened file, the edit window). What was
// typed belonged to the data that is gone: the editor closes unstored.
void ChannelGridWindow::closeEditorOnNewData()
{
    if (editorDataReplaced())
        abandonEdit();
}

bool ChannelGridWindow::editorDataReplaced() const
{
    return editorChannel() && ChannelDataOf(editorChannel()) != editorData_;
}

void ChannelGridWindow::rememberEditorData() { editorData_ = ChannelDataOf(editorChannel()); }

void ChannelGridWindow::hideEditors()
{
    editors_->hideAll();
    textEdit_->clear();
    comboEdit_->setCurrentIndex(-1);
}

void ChannelGridWindow::focusGrid() { editors_->focusTable(); }

void ChannelGridWindow::abandonEdit()
{
    editors_->release();
    hideEditors();
}

void ChannelGridWindow::clearAll()
{
    abandonEdit();
    store(ChangeKind::Clear, [](ImageTable &image) { EraseAllChannels(image); });
    redrawAll();
}

// Keys on the grid itself: typing into a frequency or name cell starts
// editing it afresh, Enter or F2 opens the cell's editor; arrows and Tab
// keep their usual moves.
bool ChannelGridWindow::gridKey(QKeyEvent *event)
{
    const int c = currentCol();
    if (IsEnter(event) || event->key() == Qt::Key_F2) {
        BeginCellEdit();
        return true;
    }
    if (!IsTyping(event))
        return false;
    if (c == ReceiveCol || c == TransmitCol || c == NameCol) {
        // An editor already open on the cell just takes the key.
        const bool open = textEdit_->isVisible() && editorOn(currentRow(), c);
        if (!open) {
            BeginCellEdit();
            textEdit_->clear();
        }
        if (textEdit_->isVisible() && editorOn(currentRow(), c)) {
            QKeyEvent typed(QEvent::KeyPress, event->key(), event->modifiers(), event->text());
            QCoreApplication::sendEvent(textEdit_, &typed);
        }
    }
    return true; // no jumping to a cell by its first letter
}

bool ChannelGridWindow::keyAccepted(const QKeyEvent *event) const
{
    if (event->key() == Qt::Key_Backspace)
        return true;
    const int length = textEdit_->text().trimmed().size();
    if (length > 9)
        return false;
    // Names have at most five characters.
    return !(editors_->cell() && editors_->cell()->col == NameCol && length > 4 && !IsEnter(event));
}

bool ChannelGridWindow::textEditKey(QKeyEvent *event)
{
    if (IsTyping(event) || IsEnter(event)) {
        if (!keyAccepted(event))
            return true;
        if (IsEnter(event)) {
            textEnter();
            return true;
        }
        return false;
    }
    const int n = currentRow();
    const int c = currentCol();
    switch (event->key()) {
    case Qt::Key_Escape:
        abandonEdit();
        return true;
    case Qt::Key_Up:
        leaveEditorFor(std::max(1, n - 1), c);
        return true;
    case Qt::Key_Down:
        leaveEditorFor(std::min<int>(ChannelCount, n + 1), c);
        return true;
    case Qt::Key_Tab:
        if (c < LastCol)
            leaveEditorFor(n, c + 1);
        else
            leaveEditorFor(std::min<int>(ChannelCount, n + 1), 0);
        return true;
    case Qt::Key_Backtab:
        if (c > 0)
            leaveEditorFor(n, c - 1);
        else
            leaveEditorFor(std::max(1, n - 1), LastCol);
        return true;
    default:
        return false;
    }
}

// Moving out of an open editor by keyboard: the grid takes over and the
// cell change commits the editor's cell. A move that goes nowhere (the
// first or last row) keeps the editor as it is.
void ChannelGridWindow::leaveEditorFor(int n, int col)
{
    if (n == currentRow() && col == currentCol())
        return;
    grid_->setFocus();
    moveTo(n, col);
}

bool ChannelGridWindow::listEditKey(QKeyEvent *event)
{
    // The list is pick-only: typed characters never reach it. Space still
    // opens it.
    if (IsTyping(event))
        return event->key() != Qt::Key_Space;
    if (IsEnter(event)) {
        listEnter();
        return true;
    }
    const int n = currentRow();
    const int c = currentCol();
    switch (event->key()) {
    case Qt::Key_Escape:
        abandonEdit();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Right:
        leaveEditorFor(n, std::min(LastCol, c + 1));
        return true;
    case Qt::Key_Backtab:
    case Qt::Key_Left:
        leaveEditorFor(n, std::max(0, c - 1));
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // A page through the grid, as from the grid itself.
        grid_->setFocus();
        QCoreApplication::sendEvent(grid_, event);
        return true;
    default:
        return false;
    }
}

void ChannelGridWindow::textEnter()
{
    const int n = currentRow();
    const int c = currentCol();
    if (!editorOn(n, c))
        return;
    if (c == ReceiveCol) {
        commitCell(n, c); // committed once; the move below finds nothing to commit
        moveTo(n, TransmitCol);
        BeginCellEdit();
    } else if (c == TransmitCol) {
        commitCell(n, c);
        if (IsChannelEmpty(RadioData, n)) // receive and transmit both empty
            moveTo(n < ChannelCount ? n + 1 : n, ReceiveCol);
        else
            moveTo(n, DecodeCol);
        BeginCellEdit();
    } else if (c == NameCol) {
        // Leaving the name cell commits the name.
        moveTo(n < ChannelCount ? n + 1 : n, ReceiveCol);
        BeginCellEdit();
    }
}

void ChannelGridWindow::listEnter()
{
    const int n = currentRow();
    const int c = currentCol();
    if (!editorOn(n, c))
        return;
    int next = c + 1;
    if (c == DecodeCol && !ShowsTransmit(n))
        next = PowerCol;
    moveTo(n, next);
    BeginCellEdit();
}

// While the write window is open, a frequency being typed must not be
// left behind when the focus moves there.
void ChannelGridWindow::textFocusLost()
{
    const int n = editorChannel();
    if (!RadioWriteOpen() || !n)
        return;
    const int col = editors_->cell()->col;
    if (col != ReceiveCol && col != TransmitCol)
        return;
    const bool replaced = editorDataReplaced();
    editors_->release();
    if (replaced)
        redrawAll();
    else
        storeTyped(n, col, textEdit_->text());
    textEdit_->hide();
    SessionState::instance().setCurrentChannel(n);
}
