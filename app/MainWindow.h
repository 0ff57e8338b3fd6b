// MDImain: the program's single top-level window: menus, toolbar, eight status
// panels and the MDI area that holds every child window.
#pragma once

#include "Globals.h"
#include "MainFrame.h"
#include "OpenWindows.h"

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>

class DataBandPanel;
class EditActions;
class QAction;
class QMdiArea;
class QToolBar;
class UndoHistory;

class MainWindow : public QMainWindow, public MainFrame {
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    // The start-up sequence; shows the window and opens the channel grid.
    void startUp();

    QWidget *widget() override { return this; }
    QMdiArea *mdiArea() override { return area_; }
    // Status bar panels are numbered 1..8.
    void setPanelText(int panel, const QString &text);
    QString panelText(int panel) const;

    // Toolbar buttons act by key; keys are compared exactly.
    void toolbarButton(const QString &key);
    // Language_chn / Language_eng.
    void switchLanguage(bool chinese);
    // The image's undo history, one for the program.
    UndoHistory *history() const { return history_; }

signals:
    // The main window has its new captions and the open windows reloaded.
    void languageSwitched();

protected:
    // Exit asks nothing, but what is still typed in a field is stored first
    // (so it reaches the recovery file); a field that refuses its text keeps
    // the program open with the user in that field.
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void applyTexts();
    void setPanelWidths();
    void fitPortPanel();
    // A menu entry named name that runs command, or opens the window target.
    QAction *addCommand(QMenu *menu, const char *name, std::function<void()> command);
    QAction *addOpenAction(QMenu *menu, const char *name, WindowId target);
    // F10: the first menu opens and the arrow keys walk the menus, as after
    // Alt; leaving them without a choice gives the focus back.
    void enterMenuBar();
    void leaveMenuBar();

    QMdiArea *area_ = nullptr;
    QToolBar *toolbar_ = nullptr;
    UndoHistory *history_ = nullptr;
    EditActions *editActions_ = nullptr;
    std::array<QLabel *, 8> panels_{};
    std::array<int, 8> panelWidths_{}; // as set at start-up
    DataBandPanel *dataBand_ = nullptr;
    // Where the focus was when F10 took it to the menu bar.
    QPointer<QWidget> beforeMenuBar_;
};
