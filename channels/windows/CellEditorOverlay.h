// Editors laid over the cells of a table, as the channel grid and the FM
// station list use them. An editor covers the cell it was opened on and
// follows it while the table scrolls or its columns change. The overlay
// remembers that cell: an editor's text belongs to it alone, so a cell
// left without its editor having been opened on it is never committed
// from an editor that holds another cell's text or none.
#pragma once

#include <QLineEdit>
#include <QList>
#include <QObject>
#include <optional>

class QTableWidget;
class QWidget;

class CellEditorOverlay : public QObject {
    Q_OBJECT
public:
    // Row and column of the table (no header row).
    struct Cell {
        int row;
        int col;
        bool operator==(const Cell &) const = default;
    };

    explicit CellEditorOverlay(QTableWidget *table);

    // Gives every cell of the table an item that can be selected but not
    // edited in place, its text centred: the overlay's editors edit.
    static void FillCells(QTableWidget *table);
    // The text editor laid over a cell (objectName Text_Edit): no frame,
    // centred, a thin outline that tells it from the cells around it.
    static QLineEdit *MakeTextEditor();

    // Puts the editor on the table's viewport, hidden, and makes the rows
    // tall enough for it.
    void addEditor(QWidget *editor);
    // Shows the editor over the cell, hiding the others, and gives it the
    // focus.
    void open(QWidget *editor, Cell cell);
    std::optional<Cell> cell() const { return cell_; }
    bool isOpenOn(Cell cell) const { return cell_ == cell; }
    // The editors' texts no longer belong to any cell.
    void release() { cell_.reset(); }
    // Hides every editor; the table takes the focus first.
    void hideAll();
    // A focused editor that is hidden hands the focus on, and the table
    // takes that as Tab: the current cell would step one further. So the
    // table takes the focus before an editor goes.
    void focusTable();
    void place();
    // A message box takes the button release of the click that showed it;
    // the press then counts as the click.
    void messageShown() { ++shownMessages_; }

signals:
    // A click on a cell, also one whose release a message took.
    void cellClicked(int row, int col);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTableWidget *table_;
    QObject *viewport_;
    QList<QWidget *> editors_;
    std::optional<Cell> cell_;
    // Messages shown so far, and their count when the last mouse press on
    // the table began.
    int shownMessages_ = 0;
    int messagesAtPress_ = 0;
};
