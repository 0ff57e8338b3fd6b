#include "FmListWindow.h"

#include "CellEditorOverlay.h"
#include "ChannelEditTexts.h"
#include "CommandButton.h"
#include "FmRules.h"
#include "KeyPresses.h"
#include "Messages.h"
#include "RecordCodec.h"
#include "Windows.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int FrequencyCol = 1;

} // namespace

FmListWindow::FmListWindow() : ChildWindow(WindowId::FmList)
{
    setObjectName(QStringLiteral("Form_Edit_Test"));
    table_ = new QTableWidget(FmPresetCount, 2, this);
    table_->setObjectName(QStringLiteral("MSF_chann"));
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionsClickable(false);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Arrows move through the cells, Tab goes on to the buttons.
    table_->setTabKeyNavigation(false);
    CellEditorOverlay::FillCells(table_);
    editor_ = CellEditorOverlay::MakeTextEditor();
    editors_ = new CellEditorOverlay(table_);
    editors_->addEditor(editor_);

    close_ = MakeButton("Command_Close", this);
    help_ = MakeButton("Command_Help", this);
    connect(close_, &QPushButton::clicked, this, [] { Windows::Unload(WindowId::FmList); });

    table_->installEventFilter(this);
    editor_->installEventFilter(this);
    connect(table_, &QTableWidget::currentCellChanged, this,
            [this](int, int, int previousRow, int previousCol) {
                if (previousRow >= 0 && previousCol >= 0)
                    leaveCell(previousRow, previousCol);
            });
    connect(editors_, &CellEditorOverlay::cellClicked, this, [this] { BeginFmEdit(); });
    connect(editor_, &QLineEdit::textEdited, this, &FmListWindow::onEditorText);
    connect(&ImageChanges::instance(), &ImageChanges::rowsChanged, this,
            &FmListWindow::onRowsChanged);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1, Qt::AlignHCenter);
    layout->addLayout(buttonRow({close_, help_}));
}

void FmListWindow::applyTexts()
{
    setWindowTitle(FmListTexts::Caption());
    close_->setText(ChannelEditTexts::Close());
    help_->setText(ChannelEditTexts::Help());
    table_->setAccessibleName(FmListTexts::TableName());
    table_->setAccessibleDescription(FmListTexts::TableDescription());
    // Each column is as wide as its header text.
    const QStringList columns = FmListTexts::HeaderFormat().split(u'|');
    const QFontMetrics metrics = table_->horizontalHeader()->fontMetrics();
    const int padding = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) + 12;
    int width = 0;
    for (int c = 0; c < 2; ++c) {
        QString caption = columns.value(c);
        const bool centred = caption.startsWith(u'^');
        if (centred)
            caption.remove(0, 1);
        auto *header = new QTableWidgetItem(caption);
        header->setTextAlignment(centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        table_->setHorizontalHeaderItem(c, header);
        table_->setColumnWidth(c, metrics.horizontalAdvance(caption) + padding);
        width += table_->columnWidth(c);
    }
    table_->setFixedWidth(width + 2 * table_->frameWidth()
                          + table_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
}

QRect FmListWindow::placement(const FrameSizes &sizes) const
{
    const QSize main = sizes.window;
    const int width = main.width() / 2;
    const int height = int(main.height() / 1.3);
    return QRect(std::max(0, (main.width() - width) / 2),
                 std::max(0, (main.height() - height) / 10), width, height);
}

void FmListWindow::onLoad()
{
    for (int k = 0; k < FmPresetCount; ++k)
        table_->item(k, 0)->setText(QString::number(k));
    ShowFmList();
}

void FmListWindow::onActivated()
{
    // New data under an open editor (a read, an opened file) void the edit.
    if (const auto cell = editors_->cell();
        cell && FmPresets::Preset(cell->row).get(RadioData) != editorCode_)
        abandonEdit();
    ShowFmList();
}

// What is still in the editor is stored as leaving its cell stores it,
// however the window closes (Close, its close box, a language switch).
void FmListWindow::onUnload() { storeEverything(); }

bool FmListWindow::commitTyped()
{
    storeEverything();
    return true;
}

void FmListWindow::storeEverything()
{
    if (const auto cell = editors_->cell())
        leaveCell(cell->row, cell->col);
    storeAll();
}

void FmListWindow::ShowFmList()
{
    for (int k = 0; k < FmPresetCount; ++k)
        showStation(k);
}

void FmListWindow::showStation(int station)
{
    table_->item(station, FrequencyCol)
        ->setText(FmRules::StationText(FmPresets::Preset(station).get(RadioData)));
}

void FmListWindow::BeginFmEdit()
{
    const int row = table_->currentRow();
    if (row < 0 || table_->currentColumn() != FrequencyCol)
        return;
    editor_->setText(table_->item(row, FrequencyCol)->text());
    editor_->setAccessibleName(FmListTexts::EditorName(row));
    editorCode_ = FmPresets::Preset(row).get(RadioData);
    editors_->open(editor_, {row, FrequencyCol}); // the table loses the focus: stored
}

// Only the cell the editor was opened on takes the editor's text: moving
// through the table by keyboard changes nothing.
void FmListWindow::leaveCell(int station, int col)
{
    const bool owned = editors_->isOpenOn({station, col});
    editors_->release();
    const QString typed = editor_->text();
    editors_->hideAll();
    editor_->clear();
    if (!owned || col != FrequencyCol)
        return;
    if (FmPresets::Preset(station).get(RadioData) != editorCode_) {
        showStation(station); // the data under the editor changed: the edit is void
        return;
    }
    const FmRules::LeftCell left = FmRules::LeaveCell(typed);
    // The cell first: a store while the message is up must find it.
    table_->item(station, col)->setText(left.text);
    if (left.outOfRange) {
        editors_->messageShown();
        ShowWarning(this, ChannelMessages::FmOutOfRange);
    }
}

std::optional<int> FmListWindow::codeToStore(int station) const
{
    const QString text = table_->item(station, FrequencyCol)->text();
    if (text == FmRules::StationText(FmPresets::Preset(station).get(RadioData)))
        return std::nullopt;
    return FmRules::StationCode(text);
}

void FmListWindow::StoreFmChannel(int r, int c)
{
    const int station = r - 1;
    if (station < 0 || station >= FmPresetCount || c != FrequencyCol)
        return;
    if (const std::optional<int> code = codeToStore(station)) {
        store(ChangeKind::FmEdit,
              [&](ImageTable &image) { FmPresets::Preset(station).set(image, *code); });
    }
}

// All cells as one change.
void FmListWindow::storeAll()
{
    store(ChangeKind::FmEdit, [this](ImageTable &image) {
        for (int k = 0; k < FmPresetCount; ++k)
            if (const std::optional<int> code = codeToStore(k))
                FmPresets::Preset(k).set(image, *code);
    });
}

// An entry longer than five characters empties the station at once.
void FmListWindow::onEditorText(const QString &text)
{
    const auto cell = editors_->cell();
    if (!cell || !FmRules::EntryTooLong(text))
        return;
    ShowWarning(this, ChannelMessages::FmOutOfRange);
    editor_->clear();
    table_->item(cell->row, FrequencyCol)->setText(QString());
    StoreFmChannel(cell->row + 1, FrequencyCol);
}

void FmListWindow::onRowsChanged(const ImageChange &change)
{
    const auto cell = editors_->cell();
    for (int station : FmRules::StationsTouched(change)) {
        if (cell && cell->row == station) {
            if (storingOwnChange())
                editorCode_ = FmPresets::Preset(station).get(RadioData);
            else
                abandonEdit();
        }
        if (isVisible())
            showStation(station);
    }
}

void FmListWindow::abandonEdit()
{
    editors_->release();
    editors_->hideAll();
    editor_->clear();
}

// Keyboard moves out of the editor: the cell left is committed by the move,
// and the editor opens on the cell reached.
void FmListWindow::moveEditor(int station)
{
    const int current = table_->currentRow();
    table_->setFocus();
    if (station == current)
        leaveCell(current, FrequencyCol);
    else
        table_->setCurrentCell(station, FrequencyCol);
    BeginFmEdit();
}

bool FmListWindow::editorKey(QKeyEvent *event)
{
    const int row = table_->currentRow();
    if (IsEnter(event) || event->key() == Qt::Key_Down) {
        moveEditor(std::min(row + 1, FmPresetCount - 1));
        return true;
    }
    if (event->key() == Qt::Key_Up) {
        moveEditor(std::max(row - 1, 0));
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        abandonEdit();
        return true;
    }
    return false;
}

// Enter or F2 opens the editor, typing into a frequency cell starts it
// afresh; arrows keep their usual moves.
bool FmListWindow::tableKey(QKeyEvent *event)
{
    if (IsEnter(event) || event->key() == Qt::Key_F2) {
        BeginFmEdit();
        return true;
    }
    if (!IsTyping(event))
        return false;
    if (table_->currentColumn() == FrequencyCol) {
        BeginFmEdit();
        editor_->clear();
        QKeyEvent typed(QEvent::KeyPress, event->key(), event->modifiers(), event->text());
        QCoreApplication::sendEvent(editor_, &typed);
    }
    return true; // no jumping to a row by its first character
}

bool FmListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == table_ && event->type() == QEvent::FocusOut) {
        if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            storeAll();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (watched == table_)
        return tableKey(key);
    if (watched == editor_)
        return editorKey(key);
    return false;
}
