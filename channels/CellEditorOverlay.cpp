#include "CellEditorOverlay.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

CellEditorOverlay::CellEditorOverlay(QTableWidget *table) : QObject(table), table_(table)
{
    table_->viewport()->installEventFilter(this);
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
    // Installed on the viewport only; the table is not asked, as the
    // viewport still sends events while the table is being destroyed.
    Q_UNUSED(watched);
    if (event->type() == QEvent::MouseButtonPress)
        messagesAtPress_ = shownMessages_;
    return false;
}
