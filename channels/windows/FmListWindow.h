// The FM broadcast station list (Form_Edit_Test): stations 0..24 as a
// two-column table whose frequency cells are typed into an editor laid over
// the cell. Leaving a cell puts the typed text into the cell by the FM
// rules; the cells are stored through ImageChanges when the table loses the
// focus, and when the window closes, however it closes.
#pragma once

#include "ChildWindow.h"
#include "ImageChanges.h"

#include <optional>

class CellEditorOverlay;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QTableWidget;

class FmListWindow : public ChildWindow {
    Q_OBJECT
public:
    FmListWindow();

    // Column 1 of every station drawn from the image.
    void ShowFmList();
    // Opens the editor over the current cell when it is a frequency cell.
    void BeginFmEdit();
    // Stores the code of the text of grid cell (r, c) for station r - 1
    // (row 0 of the grid is its header).
    void StoreFmChannel(int r, int c);
    // The open editor's text as leaving its cell takes it, then every cell
    // into the image. An FM entry is mended, never refused: never false.
    bool commitTyped() override;

protected:
    void applyTexts() override;
    QRect placement(const FrameSizes &sizes) const override;
    void onLoad() override;
    void onActivated() override;
    void onUnload() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void leaveCell(int station, int col);
    void storeEverything();
    void storeAll();
    // The station a cell's text would store, or nothing when the text is
    // what the stored code shows (codes 211..254 stay as they are).
    std::optional<int> codeToStore(int station) const;
    void onEditorText(const QString &text);
    void onRowsChanged(const ImageChange &change);
    void showStation(int station);
    void abandonEdit();
    void moveEditor(int station);
    bool tableKey(QKeyEvent *event);
    bool editorKey(QKeyEvent *event);

    QTableWidget *table_ = nullptr;
    QLineEdit *editor_ = nullptr;
    QPushButton *close_ = nullptr;
    QPushButton *help_ = nullptr;
    CellEditorOverlay *editors_ = nullptr;
    // The code of the editor's station when it was opened or last stored:
    // new data under the editor (a read, an opened file) void the edit.
    int editorCode_ = 0;
};
