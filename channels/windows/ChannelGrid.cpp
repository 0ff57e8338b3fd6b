#include "ChannelGrid.h"

#include "CellEditorOverlay.h"
#include "ChannelChanges.h"
#include "ChannelGridTexts.h"
#include "ChannelRules.h"
#include "ChannelTexts.h"
#include "CommandButton.h"
#include "Globals.h"
#include "GridClipboard.h"
#include "ImageRoutines.h"
#include "SessionState.h"
#include "Windows.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QTableWidget>
#include <QVBoxLayout>

ChannelGridWindow::ChannelGridWindow(const WindowContext &context)
    : ChildWindow(WindowId::ChannelGrid), context_(context)
{
    setObjectName(QStringLiteral("frm_chann"));
    buildGrid();

    clear_ = MakeButton("Command_Clear", this);
    editChannel_ = MakeButton("Command_Edit", this);
    help_ = MakeButton("Command_Help", this);
    close_ = MakeButton("Command_Close", this);
    connect(clear_, &QPushButton::clicked, this, [this] { clearAll(); });
    connect(editChannel_, &QPushButton::clicked, this,
            [] { Windows::Open(WindowId::ChannelEdit); });
    connect(close_, &QPushButton::clicked, this, [] { Windows::Close(WindowId::ChannelGrid); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *button : {clear_, editChannel_, help_, close_}) {
        buttons->addWidget(button);
        buttons->addStretch(1);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
}

void ChannelGridWindow::buildGrid()
{
    grid_ = new QTableWidget(ChannelCount, Columns, this);
    grid_->setObjectName(QStringLiteral("MSF_chann"));
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionsClickable(false);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Several channels can be selected for the row operations.
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The arrow keys move through the cells; Tab goes on to the buttons, so
    // that the keyboard does not need 1024 presses to get past the table.
    // An open editor still takes Tab to the next cell.
    grid_->setTabKeyNavigation(false);
    grid_->setWordWrap(false);
    grid_->setTextElideMode(Qt::ElideNone);
    CellEditorOverlay::FillCells(grid_);

    textEdit_ = CellEditorOverlay::MakeTextEditor();
    comboEdit_ = new QComboBox;
    comboEdit_->setObjectName(QStringLiteral("Combo_edit"));
    comboEdit_->setEditable(false);
    editors_ = new CellEditorOverlay(grid_);
    editors_->addEditor(textEdit_);
    editors_->addEditor(comboEdit_);
    comboLabel_ = new QLabel(grid_->viewport());
    comboLabel_->setObjectName(QStringLiteral("Label_Combo_edit"));
    comboLabel_->hide();
    comboLabel_->setBuddy(comboEdit_);

    for (QObject *watched :
         {static_cast<QObject *>(grid_), static_cast<QObject *>(textEdit_),
          static_cast<QObject *>(comboEdit_), static_cast<QObject *>(grid_->viewport())})
        watched->installEventFilter(this);
    connect(grid_, &QTableWidget::currentCellChanged, this,
            &ChannelGridWindow::onCurrentCellChanged);
    connect(editors_, &CellEditorOverlay::cellClicked, this, &ChannelGridWindow::onCellClicked);
    connect(comboEdit_, &QComboBox::activated, this, &ChannelGridWindow::onChoice);
    connect(&ImageChanges::instance(), &ImageChanges::rowsChanged, this,
            &ChannelGridWindow::onRowsChanged);
    // The caption names the current channel, wherever it was chosen.
    connect(&SessionState::instance(), &SessionState::currentChannelChanged, this,
            &ChannelGridWindow::showCaption);
    clipboard_ = new GridClipboard(grid_);
    connect(grid_, &QWidget::customContextMenuRequested, this, &ChannelGridWindow::showRowMenu);
}

void ChannelGridWindow::applyTexts()
{
    const QStringList columns = GridTexts::HeaderFormat().split(u'|');
    for (int c = 0; c < Columns; ++c) {
        QString caption = columns.value(c);
        const bool centred = caption.startsWith(u'^');
        if (centred)
            caption.remove(0, 1);
        auto *header = new QTableWidgetItem(caption);
        header->setTextAlignment(centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        grid_->setHorizontalHeaderItem(c, header);
    }
    grid_->setAccessibleName(GridTexts::TableName());
    grid_->setAccessibleDescription(GridTexts::TableDescription());
    clear_->setText(GridTexts::ClearCaption());
    clear_->setAccessibleDescription(GridTexts::ClearDescription());
    editChannel_->setText(GridTexts::EditCaption());
    help_->setText(GridTexts::HelpCaption());
    close_->setText(GridTexts::CloseCaption());
    clipboard_->applyTexts();
    columnsMeasured_ = false;
}

QRect ChannelGridWindow::placement(const FrameSizes &sizes) const
{
    const QSize main = sizes.window;
    const QSize inner = sizes.inner;
    const int width = int(main.width() / 1.2);
    const int height = int(main.height() / 1.3);
    const int top = (inner.height() - height) / 8;
    const int left = (inner.width() - width) / 2;
    return QRect(std::max(0, left), std::max(0, top), width, height);
}

void ChannelGridWindow::onLoad()
{
    hideEditors();
    for (int n = 1; n <= ChannelCount; ++n)
        setCellText(n, 0, QString::number(n));
    grid_->setCurrentCell(0, 0);
    SessionState::instance().setCurrentChannel(1);
    for (int n = 1; n <= ChannelCount; ++n)
        ShowChannelRow(n);
    showCaption();
    fitColumns();
}

void ChannelGridWindow::onActivated()
{
    redrawAll();
    closeEditorOnNewData();
}

void ChannelGridWindow::onUnload()
{
    // What is still in an editor is stored as leaving its cell stores it,
    // however the window closes.
    if (const int n = editorChannel())
        commitCell(n, editors_->cell()->col);
}

// A change from elsewhere under an open editor voids the edit, as new data
// found on activation does; the rows touched are drawn again at once.
void ChannelGridWindow::onRowsChanged(const ImageChange &change)
{
    if (!isVisible())
        return; // drawn on activation
    for (int n : ChannelsTouched(change)) {
        if (!storingOwnChange() && editorChannel() == n)
            abandonEdit();
        drawRow(n);
    }
}

bool ChannelGridWindow::editorOn(int n, int col) const { return editors_->isOpenOn({n - 1, col}); }

int ChannelGridWindow::editorChannel() const
{
    return editors_->cell() ? editors_->cell()->row + 1 : 0;
}

void ChannelGridWindow::redrawAll()
{
    for (int n = 1; n <= ChannelCount; ++n)
        drawRow(n);
}

void ChannelGridWindow::ShowChannelRow(int n)
{
    drawRow(n);
    if (ChannelTextsOf(RadioData, n).empty)
        ClearChannel(n);
}

void ChannelGridWindow::drawRow(int n)
{
    const ChannelRowTexts texts = ChannelTextsOf(RadioData, n);
    if (texts.empty) {
        for (int c = 1; c <= 7; ++c)
            setCellText(n, c, QString());
        return;
    }
    setCellText(n, 1, texts.receive);
    setCellText(n, 2, texts.transmit);
    // Cells without a text of their own keep what they showed.
    if (texts.decode)
        setCellText(n, 3, *texts.decode);
    if (texts.encode)
        setCellText(n, 4, *texts.encode);
    if (texts.power)
        setCellText(n, 5, *texts.power);
    setCellText(n, 6, texts.bandwidth);
    setCellText(n, 7, texts.name);
}

void ChannelGridWindow::ClearChannel(int n)
{
    for (int c = 3; c <= 7; ++c)
        setCellText(n, c, QString());
    // Stray cells of an empty channel are erased when the user opens the
    // grid or edits the channel; a redraw leaves them.
    const auto &cells = RadioData[n];
    if (std::any_of(cells.begin(), cells.begin() + BlockSize,
                    [](int16_t cell) { return cell != ErasedByte; }))
        store(ChangeKind::ShownValues, [n](ImageTable &image) { EraseChannelCells(image, n); });
}

void ChannelGridWindow::showCaption() { setWindowTitle(ChannelCaption(CurrentChannel)); }

void ChannelGridWindow::measureColumns()
{
    // Each column fits its header and the widest text it can show.
    const QFontMetrics cells = grid_->fontMetrics();
    const QFontMetrics header = grid_->horizontalHeader()->fontMetrics();
    const int padding = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) + 12;
    auto widest = [&cells](const QStringList &texts) {
        int width = 0;
        for (const QString &text : texts)
            width = std::max(width, cells.horizontalAdvance(text));
        return width;
    };
    QStringList tones{ToneOffText()};
    for (int p = 1; p <= ToneDcsInvertLast; ++p)
        tones << ToneList[p]; // with their blanks, as the cells show them
    QStyleOptionComboBox option;
    option.initFrom(comboEdit_);
    auto listWidth = [&](const QStringList &items) {
        const QSize content(widest(items), cells.height());
        return style()->sizeFromContents(QStyle::CT_ComboBox, &option, content, comboEdit_).width();
    };
    const int frequency = widest({QStringLiteral("446.00625"), QStringLiteral("1000.00000")});
    const int tone = listWidth(tones);
    const int content[Columns] = {
        widest({QStringLiteral("128")}) + padding,
        frequency + padding,
        frequency + padding,
        tone,
        tone,
        listWidth(PowerItems()),
        listWidth(BandwidthItems()),
        widest({QStringLiteral("WWWWW")}) + padding,
    };
    for (int c = 0; c < Columns; ++c) {
        const QTableWidgetItem *item = grid_->horizontalHeaderItem(c);
        const QString caption = item ? item->text() : QString();
        columnWidths_[c] = std::max(content[c], header.horizontalAdvance(caption) + padding);
    }
    columnsMeasured_ = true;
}

void ChannelGridWindow::fitColumns()
{
    // Measuring the 265 tones is slow: it is done again only when the texts,
    // the font or the style have changed, not at every resize.
    if (!columnsMeasured_)
        measureColumns();
    int total = 0;
    for (int width : columnWidths_)
        total += width;
    // Spare room is shared out so the table fills the window.
    const int spare = grid_->viewport()->width() - total;
    for (int c = 0; c < Columns; ++c) {
        const int extra = spare > 0 ? spare / Columns + (c < spare % Columns ? 1 : 0) : 0;
        grid_->setColumnWidth(c, columnWidths_[c] + extra);
    }
    editors_->place();
}

int ChannelGridWindow::currentRow() const { return grid_->currentRow() + 1; }

int ChannelGridWindow::currentCol() const { return grid_->currentColumn(); }

void ChannelGridWindow::setCellText(int n, int col, const QString &text)
{
    QTableWidgetItem *item = grid_->item(n - 1, col);
    if (item->text() != text)
        item->setText(text);
}

void ChannelGridWindow::moveTo(int n, int col) { grid_->setCurrentCell(n - 1, col); }

bool ChannelGridWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == grid_->viewport()) {
        if (event->type() == QEvent::Resize)
            fitColumns();
        return false;
    }
    if (watched == grid_
        && (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange))
        columnsMeasured_ = false; // measured again at the next fit

    if (event->type() == QEvent::FocusOut && watched == textEdit_) {
        // The editor's own context menu does not take the edit away.
        if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            textFocusLost();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (watched == grid_)
        return gridKey(key);
    if (watched == textEdit_)
        return textEditKey(key);
    if (watched == comboEdit_)
        return listEditKey(key);
    return false;
}
