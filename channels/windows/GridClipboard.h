// Copy, cut and paste of the channel grid's selected channels through the
// clipboard, as CSV text with its header, so channels travel between two
// running programs and into a spreadsheet. The actions (Edit_Copy,
// Edit_Cut, Edit_Paste) live on the grid: its shortcuts, its context menu
// and, through the grid, the Edit menu.
#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QTableWidget;

class GridClipboard : public QObject {
    Q_OBJECT
public:
    explicit GridClipboard(QTableWidget *grid);

    void applyTexts();
    static QString copyCaption();
    static QString cutCaption();
    static QString pasteCaption();
    QList<QAction *> actions() const { return {copy_, cut_, paste_}; }

    // Channels 1..128 the grid has selected, ascending; the current one
    // when nothing is selected.
    QList<int> selectedChannels() const;
    void copy();
    void cut();
    void paste();

private:
    // False when a field refused its text: nothing was copied.
    bool copySelection();

    QTableWidget *grid_;
    QAction *copy_;
    QAction *cut_;
    QAction *paste_;
};
