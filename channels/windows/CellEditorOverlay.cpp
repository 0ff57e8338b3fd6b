#include "CellEditorOverlay.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

void CellEditorOverlay::FillCells(QTableWidget *table)
{
    for (int r = 0; r < table->rowCount(); ++r) {
        for (int c = 0; c < table->columnCount(); ++c) {
            auto *item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setTextAlignment(Qt::AlignCenter);
            table->setItem(r, c, item);
        }
    }
}

QLineEdit *CellEditorOverlay::MakeTextEditor()
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QStringLiteral("Text_Edit"));
    edit->setFrame(false);
    edit->setAlignment(Qt::AlignCenter);
    edit->setStyleSheet(QStringLiteral(
        "QLineEdit { border: 1px solid palette(highlight); background: palette(base); }"));
    return edit;
}

CellEditorOverlay::CellEditorOverlay(QTableWidget *table)
    : QObject(table), table_(table), viewport_(table->viewport())
{
    viewport_->installEventFilter(this);
    connect(table_, &QTableWidget::cellClicked, this, &CellEditorOverlay::cellClicked);
    connect(table_, &QTableWidget::cellPressed, this, [this](int row, int col) {
        if (shownMessages_ != messagesAtPress_)
            emit cellClicked(row, col);
    });
    connect(table_->horizontalHeader(), &QHeaderView::sectionResized, this, [this] { place(); });
    connect(table_->verticalHeader(), &QHeaderView::sectionResized, this, [this] { place(); });
    connect(table_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { place(); });
    connect(table_->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { place(); });
}

void CellEditorOverlay::addEditor(QWidget *editor)
{
    // On the viewport, so that it scrolls with the cells.
    editor->setParent(table_->viewport());
    editor->hide();
    editors_ << editor;
    // Rows tall enough for the editor, which may not shrink below its own
    // height.
    QHeaderView *rows = table_->verticalHeader();
    const int height = std::max({editor->sizeHint().height(), rows->minimumSectionSize(),
                                 table_->fontMetrics().height() + 8});
    rows->setMinimumSectionSize(height);
    rows->setDefaultSectionSize(height);
}

void CellEditorOverlay::open(QWidget *editor, Cell cell)
{
    cell_.reset(); // hiding another editor must not commit it
    for (QWidget *other : editors_) {
        if (other != editor && other->isVisible()) {
            if (other->hasFocus())
                table_->setFocus();
            other->hide();
        }
    }
    cell_ = cell;
    editor->show();
    place();
    editor->raise();
    editor->setFocus();
}

void CellEditorOverlay::hideAll()
{
    focusTable();
    for (QWidget *editor : editors_)
        editor->hide();
}

void CellEditorOverlay::focusTable()
{
    for (QWidget *editor : editors_)
        if (editor->hasFocus())
            table_->setFocus();
}

void CellEditorOverlay::place()
{
    if (!cell_)
        return;
    const QRect rect = table_->visualRect(table_->model()->index(cell_->row, cell_->col));
    for (QWidget *editor : editors_)
        if (editor->isVisible())
            editor->setGeometry(rect);
}

bool CellEditorOverlay::eventFilter(QObject *watched, QEvent *event)
{
    // Compared with the pointer kept from the start: the filter still sees
    // events while the table is half destroyed, when it must not be asked.
    if (watched == viewport_ && event->type() == QEvent::MouseButtonPress)
        messagesAtPress_ = shownMessages_;
    return false;
}
