#include "OptionsWindow.h"

#include "ImageChanges.h"
#include "MainFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

OptionsWindow::OptionsWindow() : ChildWindow(WindowId::Options)
{
    setObjectName(QStringLiteral("frm_option"));
    buildControls();
    buildLayout();
    connectHandlers();
    connect(close_, &QPushButton::clicked, this, [this] { unload(); });
    // Help has no action.

    // Changes made elsewhere (a read, an opened file, another editor) show
    // at once; the window's own changes are drawn by the rules themselves.
    connect(&ImageChanges::instance(), &ImageChanges::rowsChanged, this,
            [this](const ImageChange &change) {
                if (depth_ == 0 && loaded_
                    && (change.touches(VfoRow) || change.touches(BandLimitRow)
                        || change.touches(OptionRow, PasswordRow)))
                    redrawLater();
            });
}

OptionsWindow::~OptionsWindow() { unloading_ = true; }

QRect OptionsWindow::placement(const FrameSizes &sizes) const
{
    const QSize main = sizes.window;
    const int width = qRound(main.width() / 1.04);
    const int height = qRound(main.height() / 1.25);
    const int left = (main.width() - width) / 2 - Twips(100);
    return QRect(std::max(0, left), 0, width, height);
}

void OptionsWindow::onLoad()
{
    fillLists();
    // The load's messages wait until the window is in place and active.
    const bool deferred = std::exchange(deferMessages_, true);
    act([this] { ShowOptions(); });
    deferMessages_ = deferred;
    loaded_ = true;
    // The main window regaining the focus (from another program, from a
    // message box) re-activates this window too; only a return from another
    // child window can bring anything new, and redrawing then would throw
    // away a text still being typed.
    if (QMdiArea *area = mdiArea())
        connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *sub) {
            if (sub && sub->widget() != this)
                otherWindowActivated_ = true;
        });
}

void OptionsWindow::onActivated()
{
    if (!loaded_ || !otherWindowActivated_ || depth_ > 0 || flushing_)
        return;
    otherWindowActivated_ = false;
    redraw(false);
}

// Whatever closes the window (Close, its close box, a reopening, a reload)
// first stores what is typed; a refused text keeps the window open, the
// user in the field.
bool OptionsWindow::canClose() { return commitTyped(); }

void OptionsWindow::onUnload() { unloading_ = true; }

bool OptionsWindow::commitTyped()
{
    if (unloading_)
        return true;
    // A leave whose messages still wait (the click that started this moved
    // the focus) has been decided already.
    if (!pendingFocus_ && typed_)
        leave(typed_);
    const bool refused = !pendingFocus_.isNull();
    if (refused)
        bringToFront();
    flushMessages(); // now, while the window is there to return to
    return !refused;
}

void OptionsWindow::bringToFront()
{
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!sub || !mdiArea())
        return;
    // The field keeps what the refusal left in it: no redraw on this return.
    otherWindowActivated_ = false;
    mdiArea()->setActiveSubWindow(sub);
}

void OptionsWindow::redrawLater()
{
    if (redrawPending_)
        return;
    redrawPending_ = true;
    QTimer::singleShot(0, this, [this] {
        redrawPending_ = false;
        if (!unloading_)
            redraw(true);
    });
}

bool OptionsWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (unloading_)
        return false;
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (field && fields_.count(field)) {
        if (event->type() == QEvent::FocusOut) {
            // A message box or another program taking the focus, or a popup,
            // is no leaving of the field.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
                && !flushing_)
                leave(field);
            return false;
        }
        if (event->type() == QEvent::KeyPress)
            return fieldKey(field, static_cast<QKeyEvent *>(event));
        // The X11 middle-button paste of the selection.
        if (event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton) {
            if (QApplication::clipboard()->supportsSelection())
                typeText(field, QApplication::clipboard()->text(QClipboard::Selection));
            return true;
        }
        return false;
    }
    // Lists are pick-only: a typed letter would otherwise pick an entry.
    if (event->type() == QEvent::KeyPress && qobject_cast<QComboBox *>(watched)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool typing =
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            && !key->text().isEmpty() && key->text().at(0).isPrint();
        return typing && key->key() != Qt::Key_Space;
    }
    return ChildWindow::eventFilter(watched, event);
}

std::optional<QChar> OptionsWindow::filtered(QLineEdit *field, QChar key) const
{
    QString remaining = field->text();
    if (field->hasSelectedText())
        remaining.remove(field->selectionStart(), field->selectedText().size());
    return TypedChar(fields_.at(field), remaining, key);
}

// Enter stores what was typed as leaving the field does, the focus staying;
// Esc gives up what was typed into a field that stores only when it is left.
bool OptionsWindow::fieldKey(QLineEdit *field, const QKeyEvent *key)
{
    const bool storesOnLeaving = field == receive_ || field == lower_ || field == upper_;
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && field == typed_
        && storesOnLeaving) {
        typed_ = nullptr;
        redraw(false);
        return true;
    }
    const bool handled = typeKey(field, key);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && field == typed_)
        leave(field);
    return handled;
}

// Returns true when the key was handled here (typed or discarded).
bool OptionsWindow::typeKey(QLineEdit *field, const QKeyEvent *key)
{
    if (key->matches(QKeySequence::Paste)) {
        typeText(field, QApplication::clipboard()->text());
        return true;
    }
    QChar typed;
    if (key->key() == Qt::Key_Backspace)
        typed = BackspaceKey;
    else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        typed = EnterKey;
    else if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
             && !key->text().isEmpty() && key->text().at(0).isPrint())
        typed = key->text().at(0);
    else
        return false; // moving the cursor, Delete, shortcuts: as usual
    const std::optional<QChar> accepted = filtered(field, typed);
    if (!accepted)
        return true;
    if (*accepted == BackspaceKey || *accepted == EnterKey)
        return false;
    field->insert(QString(*accepted)); // an edit: the change handler runs
    return true;
}

// Pasted text is typed key by key, up to its first line break.
void OptionsWindow::typeText(QLineEdit *field, const QString &text)
{
    for (const QChar c : text.section(u'\n', 0, 0))
        if (const std::optional<QChar> accepted = filtered(field, c);
            accepted && accepted->isPrint())
            field->insert(QString(*accepted));
}
