// Base of every child window of the main window. It carries the rules that
// all of them share: the OpenWindows flag set on load and cleared on unload,
// captions applied from the current language on load, placement from the
// main window's size, and the redraw hook when the window becomes active.
#pragma once

#include "Globals.h"
#include "OpenWindows.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

class QAbstractButton;

class ChildWindow : public QWidget {
    Q_OBJECT
public:
    explicit ChildWindow(WindowId id, QWidget *parent = nullptr);
    ~ChildWindow() override;

    WindowId windowId() const { return id_; }

    // Load handler: flag, captions, placement, then the window's own
    // loading. Called by Windows::Open once the window sits in the MDI area.
    void load();
    // The window became the active child window.
    void activated() { onActivated(); }
    // Unload the window (its close handler may refuse, e.g. while busy);
    // the windows declared to close with it go too.
    bool unload();

signals:
    // The window was unloaded, by whatever means (its buttons, the close
    // box, a reopening or a reload).
    void unloaded(WindowId id);

protected:
    // Captions and list texts of the current language (IsChinese).
    virtual void applyTexts() = 0;
    // Geometry of the window within the main window's inner area.
    virtual QRect placement() const = 0;
    // Read the values from RadioData; runs after captions and placement.
    virtual void onLoad() { }
    virtual void onActivated() { }
    // Return false to refuse closing (a transfer in progress).
    virtual bool canClose() { return true; }
    virtual void onUnload() { }

    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    // Esc in the window does what this button does (its Cancel or Close),
    // as in a dialog. Windows whose editors take Esc to cancel an edit
    // leave it unset.
    void setEscapeButton(QAbstractButton *button);

    // Common placement: the given size centred in the inner area, its top
    // edge lifted by liftTwips (the windows' "- 500 twips" rule).
    static QRect centred(QSize size, int liftTwips = 0);

private:
    WindowId id_;
    bool unloaded_ = false;
    QPointer<QAbstractButton> escapeButton_;
};
