// Base of every child window of the main window. It carries the rules that
// all of them share: the OpenWindows flag set on load and cleared on unload,
// captions applied from the current language on load, placement from the
// main window's sizes it is handed, and the redraw hook when the window
// becomes active. A window needs no main window: tests build one alone.
#pragma once

#include "Globals.h"
#include "ImageChanges.h"
#include "OpenWindows.h"

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <functional>
#include <initializer_list>

class QAbstractButton;
class QHBoxLayout;
class QMdiArea;

// The sizes the child windows' placement ratios refer to: the main window
// and its inner (client) area.
struct FrameSizes {
    QSize window;
    QSize inner;
};

class ChildWindow : public QWidget {
    Q_OBJECT
public:
    explicit ChildWindow(WindowId id, QWidget *parent = nullptr);
    ~ChildWindow() override;

    WindowId windowId() const { return id_; }
    // Between its load and its unload.
    bool isLoaded() const { return loaded_; }
    // The MDI area the window sits in; none for a window on its own.
    QMdiArea *mdiArea() const;

    // Load handler: flag, captions, placement within the sizes given, then
    // the window's own loading. Called by Windows::Open once the window sits
    // in the MDI area.
    void load(const FrameSizes &sizes);
    // The window became the active child window.
    void activated() { onActivated(); }
    // Unload the window (its close handler may refuse, e.g. while busy);
    // the windows declared to close with it go too.
    bool unload();
    // Stores what is typed into the window's fields and not yet stored, as
    // leaving each field would. False when a field's rule refused its text:
    // its message has been shown, the window is in front with the focus
    // back in that field, and whatever asked must wait. The window layer
    // asks every open window (Windows::CommitTyped) before the image is
    // taken or replaced, the windows are rebuilt or a step is undone.
    [[nodiscard]] virtual bool commitTyped() { return true; }

signals:
    // The window was unloaded, by whatever means (its buttons, the close
    // box, a reopening or a reload).
    void unloaded(WindowId id);

protected:
    // Captions and list texts of the current language (IsChinese).
    virtual void applyTexts() = 0;
    // Geometry of the window within the main window's inner area.
    virtual QRect placement(const FrameSizes &sizes) const = 0;
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
    static QRect centred(const FrameSizes &sizes, QSize size, int liftTwips = 0);
    // The sizes the window was last loaded with.
    const FrameSizes &frameSizes() const { return sizes_; }
    // A bottom row of buttons, centred, 24 pixels apart.
    static QHBoxLayout *buttonRow(std::initializer_list<QWidget *> buttons);

    // Runs an edit of the image as this window's own change
    // (ImageChanges::apply). While it runs, storingOwnChange() is true: the
    // window's handler of rowsChanged tells its own change from one made
    // elsewhere by it.
    ImageChange store(ChangeKind kind, const std::function<void(ImageTable &)> &edit);
    bool storingOwnChange() const { return storing_; }

private:
    WindowId id_;
    FrameSizes sizes_;
    bool loaded_ = false;
    bool unloaded_ = false;
    bool storing_ = false;
    QPointer<QAbstractButton> escapeButton_;
};
