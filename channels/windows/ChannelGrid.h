// The channel information window (frm_chann): all 128 channels as one
// table, drawn from RadioData row by row and edited in place. Frequency and
// name cells get a text editor laid over the cell, tone, power and
// bandwidth cells a pick-only list. What an edit stores is decided by the
// channel rules and stored through ImageChanges; the cells only show the
// image, and every change of it that touches a channel redraws that row.
#pragma once

#include "ChannelRows.h"
#include "ChildWindow.h"
#include "ImageChanges.h"
#include "Windows.h"

#include <array>
#include <functional>
#include <optional>

class CellEditorOverlay;
class GridClipboard;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableWidget;
struct BilingualText;

class ChannelGridWindow : public ChildWindow {
    Q_OBJECT
public:
    // The row menu offers the context's undo and redo, when it has them.
    explicit ChannelGridWindow(const WindowContext &context = {});

    // Draws grid row n (channel n) from RadioData and the name codes; an
    // empty channel's stray cells are erased.
    void ShowChannelRow(int n);
    // Blanks columns 3..7 of row n and erases the channel's 16 cells.
    void ClearChannel(int n);
    // Opens the editor of the grid's current cell.
    void BeginCellEdit();
    // The name being typed becomes part of the image; its editor stays open.
    void CommitPendingName();
    // Every text being typed: a name as above, a frequency as leaving its
    // cell stores it. The grid mends what it refuses: never false.
    bool commitTyped() override;
    // Caption from CurrentChannel.
    void showCaption();

    // Row operations (ChannelGridRows.cpp) on the selected channels, or the
    // current one when none is selected. Each is one change.
    ChannelSet selectedChannels() const;
    void selectChannels(const ChannelSet &channels);
    // Selects the channels with the first of them at the top of the view
    // (what an import or a paste changed).
    void showChannels(const ChannelSet &channels);
    void insertChannel();
    void deleteChannels();
    void moveChannelsUp();
    void moveChannelsDown();

signals:
    // The grid's context menu, filled, just before it shows.
    void rowMenuAboutToShow(QMenu *menu);

public:
    GridClipboard *clipboard() const { return clipboard_; }

protected:
    void applyTexts() override;
    QRect placement(const FrameSizes &sizes) const override;
    void onLoad() override;
    void onActivated() override;
    void onUnload() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static constexpr int Columns = 8;

    void buildGrid();
    // The least width of each column, and the columns set to it with the
    // window's spare room shared out.
    void measureColumns();
    void fitColumns();
    // A redraw: every row as stored, and nothing stored.
    void redrawAll();
    void drawRow(int n);
    void onRowsChanged(const ImageChange &change);
    // Whether the open editor was opened on channel n's cell in column col,
    // and the channel it was opened on (0: none).
    bool editorOn(int n, int col) const;
    int editorChannel() const;

    int currentRow() const; // channel 1..128, 0 when none
    int currentCol() const;
    void setCellText(int n, int col, const QString &text);
    void moveTo(int n, int col);

    // Editing (ChannelGridEditing.cpp).
    void onCurrentCellChanged(int row, int col, int previousRow, int previousCol);
    void onCellClicked(int row, int col);
    void commitCell(int n, int col);
    void storeTyped(int n, int col, const QString &typed);
    void onChoice(int index);
    void openTextEditor(int n, int col);
    void openListEditor(int n, int col);
    // The open editor is named by its channel and column.
    void nameEditor(QWidget *editor, int n, int col);
    void fillList(int col);
    void hideEditors();
    void focusGrid();
    void warn(const BilingualText &message);
    void closeEditorOnNewData();
    bool editorDataReplaced() const;
    void rememberEditorData();
    void abandonEdit();
    void clearAll();
    void commitOpenEditor();
    void showRowMenu(const QPoint &position);
    bool gridKey(QKeyEvent *event);
    bool textEditKey(QKeyEvent *event);
    bool listEditKey(QKeyEvent *event);
    void leaveEditorFor(int n, int col);
    void textEnter();
    void listEnter();
    void textFocusLost();
    bool keyAccepted(const QKeyEvent *event) const;

    QTableWidget *grid_ = nullptr;
    QLineEdit *textEdit_ = nullptr;
    QComboBox *comboEdit_ = nullptr;
    // Names the list editor where a list is announced by its label (Linux);
    // never shown.
    QLabel *comboLabel_ = nullptr;
    QPushButton *clear_ = nullptr;
    QPushButton *editChannel_ = nullptr;
    QPushButton *help_ = nullptr;
    QPushButton *close_ = nullptr;
    // Only the cell an editor was opened on is committed from its text;
    // leaving any other cell commits nothing.
    CellEditorOverlay *editors_ = nullptr;
    // The channel's cells and name codes as the editor last saw them. New
    // data arriving meanwhile (a read, an opened file, the edit window)
    // make the edit void.
    std::array<int16_t, BlockSize + NameLength> editorData_{};
    // Copy, cut and paste of channels (GridClipboard.cpp).
    GridClipboard *clipboard_ = nullptr;
    std::array<int, Columns> columnWidths_{};
    bool columnsMeasured_ = false;
    WindowContext context_;
};
