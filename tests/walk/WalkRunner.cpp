#include "WalkRunner.h"

#include "ChannelFile.h"
#include "Globals.h"
#include "ImageChanges.h"
#include "MainWindow.h"
#include "Windows.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

const QString CheckName = QStringLiteral("walk-check.chann");

QString Describe(const QWidget *w)
{
    if (!w)
        return QStringLiteral("(none)");
    QString name = w->objectName();
    if (name.isEmpty())
        name = QString::fromLatin1(w->metaObject()->className());
    // The child window it belongs to, when it has a name of its own.
    for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QMdiSubWindow *>(p->parentWidget()) && !p->objectName().isEmpty())
            return p->objectName() + QLatin1Char('/') + name;
    return name;
}

QString Quoted(const std::string &text)
{
    QString shown = QString::fromStdString(text);
    if (shown.size() > 24)
        shown = shown.left(20) + QStringLiteral("...(%1)").arg(shown.size());
    shown.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

// Mostly the user works in the window in front: three times in four an
// action picks there (when it has anything to pick), else in any window.
bool InFront(uint32_t a) { return (a >> 28) % 4 != 0; }

// Visible, enabled widgets of the open child windows that pass the test,
// in a stable order; those of the window in front only, when asked and
// there are any.
template<class Test> QList<QWidget *> Controls(MainWindow &main, Test test, bool inFront = false)
{
    QList<QWidget *> found;
    for (QMdiSubWindow *sub : main.mdiArea()->subWindowList()) {
        if (!sub->widget() || !sub->isVisible())
            continue;
        for (QWidget *w : sub->widget()->findChildren<QWidget *>())
            if (w->isVisible() && w->isEnabled() && test(w))
                found.append(w);
    }
    QMdiSubWindow *front = main.mdiArea()->activeSubWindow();
    if (inFront && front) {
        QList<QWidget *> there;
        for (QWidget *w : found)
            if (front->isAncestorOf(w))
                there.append(w);
        if (!there.isEmpty())
            return there;
    }
    return found;
}

QList<QMdiSubWindow *> SubWindows(MainWindow &main)
{
    QList<QMdiSubWindow *> subs;
    for (QMdiSubWindow *sub : main.mdiArea()->subWindowList())
        if (sub->isVisible())
            subs.append(sub);
    return subs;
}

bool IsTypeTarget(QWidget *w)
{
    if (qobject_cast<QAbstractItemView *>(w))
        return true;
    // The viewport and the in-place editors of a view count as the view.
    return qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractSpinBox *>(w)
           || qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractSlider *>(w)
           || qobject_cast<QTextEdit *>(w) || qobject_cast<QPlainTextEdit *>(w);
}

// The program starts another program from here: not part of a walk.
bool IsExcludedButton(QWidget *w) { return w->objectName() == QLatin1String("cmdSysInfo"); }

// A key as the keyboard sends it; non-Latin text comes without a key code,
// as an input method delivers it.
void TypeText(QWidget *fallback, const QString &text)
{
    for (QChar c : text) {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : fallback;
        if (!target)
            return;
        if (c.unicode() < 128 && c.unicode() >= 32) {
            QTest::keyClick(target, char(c.unicode()));
        } else if (c == QLatin1Char('\t')) {
            QTest::keyClick(target, Qt::Key_Tab);
        } else {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(target, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(target, &release);
        }
    }
}

struct KeyStroke {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char *name;
};
const KeyStroke Keys[] = {
    {Qt::Key_Return, Qt::NoModifier, "Return"},
    {Qt::Key_Enter, Qt::KeypadModifier, "Enter"},
    {Qt::Key_Tab, Qt::NoModifier, "Tab"},
    {Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab"},
    {Qt::Key_Escape, Qt::NoModifier, "Escape"},
    {Qt::Key_Up, Qt::NoModifier, "Up"},
    {Qt::Key_Down, Qt::NoModifier, "Down"},
    {Qt::Key_Left, Qt::NoModifier, "Left"},
    {Qt::Key_Right, Qt::NoModifier, "Right"},
    {Qt::Key_PageUp, Qt::NoModifier, "PageUp"},
    {Qt::Key_PageDown, Qt::NoModifier, "PageDown"},
    {Qt::Key_Home, Qt::NoModifier, "Home"},
    {Qt::Key_End, Qt::NoModifier, "End"},
    {Qt::Key_Delete, Qt::NoModifier, "Delete"},
    {Qt::Key_Backspace, Qt::NoModifier, "Backspace"},
    {Qt::Key_Space, Qt::NoModifier, "Space"},
    {Qt::Key_F2, Qt::NoModifier, "F2"},
    {Qt::Key_F4, Qt::ControlModifier, "Ctrl+F4"},
    {Qt::Key_W, Qt::ControlModifier, "Ctrl+W"},
    {Qt::Key_S, Qt::ControlModifier, "Ctrl+S"},
    {Qt::Key_O, Qt::ControlModifier, "Ctrl+O"},
    {Qt::Key_R, Qt::ControlModifier, "Ctrl+R"},
    {Qt::Key_N, Qt::ControlModifier, "Ctrl+N"},
    {Qt::Key_Tab, Qt::ControlModifier, "Ctrl+Tab"},
    {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"},
    {Qt::Key_A, Qt::ControlModifier, "Ctrl+A"},
    {Qt::Key_X, Qt::ControlModifier, "Ctrl+X"},
    {Qt::Key_V, Qt::ControlModifier, "Ctrl+V"},
};

const char *const SaveNames[] = {
    "walk-a.chann", "walk-b.chann", "WALK-C.CHANN", " walk d.chann ", "walk*.chann", "walk.txt", "",
    ".chann"};
const char *const OpenNames[] = {"walk-check.chann", "walk-a.chann",  "walk-b.chann",
                                 "WALK-C.CHANN",     "pattern.chann", "garbage.chann",
                                 "short.chann",      "missing.chann"};

QAction *FindAction(MainWindow &main, const char *name)
{
    return main.findChild<QAction *>(QString::fromLatin1(name));
}

// Clicks (or double-clicks) a cell the seed picks, scrolled into view.
QString ClickCell(QAbstractItemView *view, uint32_t seed, bool twice)
{
    QAbstractItemModel *model = view->model();
    const QModelIndex root = view->rootIndex();
    const int rows = model ? model->rowCount(root) : 0, cols = model ? model->columnCount(root) : 0;
    if (rows == 0 || cols == 0) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton);
        return QStringLiteral("empty");
    }
    const QModelIndex index = model->index(int(seed % uint32_t(rows)),
                                           int((seed / uint32_t(rows)) % uint32_t(cols)), root);
    view->scrollTo(index);
    const QRect rect = view->visualRect(index);
    if (!rect.isValid())
        return QStringLiteral("hidden");
    if (twice)
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    else
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    return QStringLiteral("(%1,%2)").arg(index.row()).arg(index.column());
}

} // namespace

WalkRunner::WalkRunner(MainWindow &main, WalkPlan plan, int checkEvery)
    : main_(&main), plan_(std::move(plan)), checkEvery_(std::max(checkEvery, 1))
{ }

int WalkRunner::run()
{
    QTimer::singleShot(0, this, [this] { step(); });
    return QApplication::exec();
}

void WalkRunner::log(const QString &text)
{
    logged_ = true;
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    std::fflush(stderr);
}

void WalkRunner::fail(const QString &what)
{
    log(QStringLiteral("walk failure: ") + what);
    ::_exit(3);
}

void WalkRunner::checkAlive()
{
    if (!main_ || !main_->isVisible())
        fail(QStringLiteral("the main window is gone"));
    // What the radio stores are bytes; a cell outside them cannot be saved
    // or written.
    for (int r = 0; r < UsedRows; ++r)
        for (int c = 0; c < BlockSize; ++c)
            if (RadioData[r][c] < 0 || RadioData[r][c] > 255)
                fail(QStringLiteral("image cell (%1,%2) holds %3")
                         .arg(r)
                         .arg(c)
                         .arg(RadioData[r][c]));
}

// The walk stays in its own folder: the file windows' folder tree and
// drive list are not for it (it runs as whoever runs the tests).
void WalkRunner::guardFileSystem()
{
    for (QWidget *w : main_->findChildren<QWidget *>())
        if ((w->objectName() == QLatin1String("Dir1") || w->objectName() == QLatin1String("Drive1"))
            && w->isEnabled())
            w->setEnabled(false);
}

void WalkRunner::step()
{
    if (closing_)
        return;
    const bool more = next_ < int(plan_.size());
    const WalkAction action = more ? plan_[size_t(next_)] : WalkAction{};
    const int delay = action.kind == WalkKind::Wait ? int(20 + action.b % 380) : int(action.a % 6);
    QTimer::singleShot(delay, this, [this] { step(); });

    checkAlive();
    guardFileSystem();
    if (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    // Keys go where a user's would: to the focus of the active window.
    if (!QApplication::activeWindow() && !QApplication::activeModalWidget())
        QApplication::setActiveWindow(main_);
    if (!more) {
        finish();
        return;
    }
    ++next_;
    if (QApplication::activeModalWidget()) {
        answerModal(action);
        return;
    }
    ++performed_;
    perform(action);
    // The walk may have ended inside the action (under a message box).
    if (closing_)
        return;
    checkAlive();
    if (performed_ % checkEvery_ == 0 && !QApplication::activeModalWidget())
        checkpoint();
}

bool WalkRunner::answerModal(const WalkAction &action)
{
    QWidget *modal = QApplication::activeModalWidget();
    auto *box = qobject_cast<QMessageBox *>(modal);
    const QString what =
        box ? QStringLiteral("message \"%1\"").arg(box->text().left(40)) : Describe(modal);
    switch (action.b % 6) {
    case 0:
    case 1: {
        QAbstractButton *ok = box ? (box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)
                                                                  : box->defaultButton())
                                  : nullptr;
        log(QStringLiteral("#%1 answer %2 with OK").arg(next_ - 1).arg(what));
        if (ok)
            QTest::mouseClick(ok, Qt::LeftButton);
        else
            modal->close();
        break;
    }
    case 2:
        log(QStringLiteral("#%1 answer %2 with Return").arg(next_ - 1).arg(what));
        QTest::keyClick(modal, Qt::Key_Return);
        break;
    case 3:
        log(QStringLiteral("#%1 answer %2 with Escape").arg(next_ - 1).arg(what));
        QTest::keyClick(modal, Qt::Key_Escape);
        break;
    case 4:
        log(QStringLiteral("#%1 close %2 by its close box").arg(next_ - 1).arg(what));
        modal->close();
        break;
    default:
        log(QStringLiteral("#%1 leave %2 up").arg(next_ - 1).arg(what));
        break;
    }
    return true;
}

void WalkRunner::perform(const WalkAction &action)
{
    logged_ = false;
    performAction(action);
    if (!logged_)
        log(QStringLiteral("#%1 %2: nothing to act on")
                .arg(next_ - 1)
                .arg(QString::fromLatin1(WalkKindName(action.kind))));
}

void WalkRunner::performAction(const WalkAction &action)
{
    switch (action.kind) {
    case WalkKind::Menu:
        menu(action);
        break;
    case WalkKind::Toolbar:
        toolbar(action);
        break;
    case WalkKind::Button:
        button(action);
        break;
    case WalkKind::Type:
        type(action);
        break;
    case WalkKind::Key:
        key(action);
        break;
    case WalkKind::Cell:
        cell(action);
        break;
    case WalkKind::Pick:
        pick(action);
        break;
    case WalkKind::Close:
        close(action);
        break;
    case WalkKind::Activate:
        activate(action);
        break;
    case WalkKind::Wheel:
        wheel(action);
        break;
    case WalkKind::Language:
        language(action);
        break;
    case WalkKind::Save:
        save(action);
        break;
    case WalkKind::Open:
        open(action);
        break;
    case WalkKind::Transfer:
        transfer(action);
        break;
    case WalkKind::Wait:
        log(QStringLiteral("#%1 wait").arg(next_ - 1));
        break;
    }
}

void WalkRunner::menu(const WalkAction &action)
{
    QList<QAction *> actions;
    for (QAction *a : main_->findChildren<QAction *>()) {
        const QString name = a->objectName();
        // Leaving the program ends the walk; a submenu's own entry does nothing.
        if (name.isEmpty() || name == QLatin1String("File_exit")
            || name == QLatin1String("Menu_exit") || a->menu() || !a->isEnabled()
            || a->isSeparator())
            continue;
        actions.append(a);
    }
    // Toolbar entries have their own kind.
    actions.erase(std::remove_if(actions.begin(), actions.end(),
                                 [](QAction *a) {
                                     for (QObject *o : a->associatedObjects())
                                         if (qobject_cast<QToolBar *>(o))
                                             return true;
                                     return false;
                                 }),
                  actions.end());
    if (actions.isEmpty())
        return;
    QAction *chosen = actions.at(int(action.a % uint32_t(actions.size())));
    log(QStringLiteral("#%1 menu %2").arg(next_ - 1).arg(chosen->objectName()));
    chosen->trigger();
}

void WalkRunner::toolbar(const WalkAction &action)
{
    auto *bar = main_->findChild<QToolBar *>();
    if (!bar)
        return;
    QList<QAction *> actions;
    for (QAction *a : bar->actions())
        if (!a->isSeparator() && a->isEnabled() && a->data().toString() != QLatin1String("Exit"))
            actions.append(a);
    if (actions.isEmpty())
        return;
    QAction *chosen = actions.at(int(action.a % uint32_t(actions.size())));
    log(QStringLiteral("#%1 toolbar %2").arg(next_ - 1).arg(chosen->data().toString()));
    chosen->trigger();
}

void WalkRunner::button(const WalkAction &action)
{
    const QList<QWidget *> buttons = Controls(
        *main_,
        [](QWidget *w) {
            return qobject_cast<QAbstractButton *>(w) && !IsExcludedButton(w)
                   && !qobject_cast<QMdiSubWindow *>(w->parentWidget());
        },
        InFront(action.a));
    if (buttons.isEmpty())
        return;
    QWidget *chosen = buttons.at(int(action.a % uint32_t(buttons.size())));
    log(QStringLiteral("#%1 click %2").arg(next_ - 1).arg(Describe(chosen)));
    QTest::mouseClick(chosen, Qt::LeftButton, {}, chosen->rect().center());
}

void WalkRunner::type(const WalkAction &action)
{
    const QList<QWidget *> targets = Controls(*main_, IsTypeTarget, InFront(action.a));
    if (targets.isEmpty())
        return;
    QWidget *target = targets.at(int(action.a % uint32_t(targets.size())));
    const std::string &text = OddTexts().at(action.b % OddTexts().size());
    const KeyStroke endings[] = {Keys[0], Keys[2], Keys[4], Keys[3]};
    const int ending = int((action.b >> 8) % 5); // 4: none
    QString where;
    if (auto *view = qobject_cast<QAbstractItemView *>(target)) {
        where = ClickCell(view, action.a >> 8, (action.b >> 12) % 3 == 0);
    } else if (qobject_cast<QComboBox *>(target) || qobject_cast<QAbstractSlider *>(target)) {
        target->setFocus(Qt::TabFocusReason); // a click would open the list
    } else {
        QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    }
    log(QStringLiteral("#%1 type %2 into %3%4%5")
            .arg(next_ - 1)
            .arg(Quoted(text), Describe(target),
                 where.isEmpty() ? QString() : QStringLiteral(" at ") + where,
                 ending < 4 ? QStringLiteral(" then ") + QString::fromLatin1(endings[ending].name)
                            : QString()));
    if (!main_)
        return;
    TypeText(target, QString::fromStdString(text));
    if (ending < 4 && !QApplication::activeModalWidget()) {
        QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : main_.data();
        QTest::keyClick(focus, endings[ending].key, endings[ending].modifiers);
    }
}

void WalkRunner::key(const WalkAction &action)
{
    const KeyStroke &stroke = Keys[action.b % (sizeof Keys / sizeof Keys[0])];
    QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : main_.data();
    log(QStringLiteral("#%1 key %2 to %3")
            .arg(next_ - 1)
            .arg(QString::fromLatin1(stroke.name), Describe(focus)));
    QTest::keyClick(focus, stroke.key, stroke.modifiers);
}

void WalkRunner::cell(const WalkAction &action)
{
    const QList<QWidget *> views = Controls(
        *main_, [](QWidget *w) { return qobject_cast<QAbstractItemView *>(w) != nullptr; });
    if (views.isEmpty())
        return;
    auto *view = static_cast<QAbstractItemView *>(views.at(int(action.a % uint32_t(views.size()))));
    const bool twice = action.b % 4 == 0;
    log(QStringLiteral("#%1 %2 %3")
            .arg(next_ - 1)
            .arg(QString::fromLatin1(twice ? "double-click" : "click"), Describe(view)));
    log(QStringLiteral("   at %1").arg(ClickCell(view, action.b >> 2, twice)));
}

void WalkRunner::pick(const WalkAction &action)
{
    const QList<QWidget *> combos =
        Controls(*main_, [](QWidget *w) { return qobject_cast<QComboBox *>(w) != nullptr; });
    if (combos.isEmpty())
        return;
    QWidget *combo = combos.at(int(action.a % uint32_t(combos.size())));
    const Qt::Key keys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End, Qt::Key_PageDown};
    const Qt::Key k = keys[action.b % 5];
    const int times = 1 + int((action.b >> 4) % 4);
    log(QStringLiteral("#%1 pick in %2: key %3 x%4")
            .arg(next_ - 1)
            .arg(Describe(combo))
            .arg(int(k), 0, 16)
            .arg(times));
    combo->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < times && main_ && !QApplication::activeModalWidget(); ++i)
        if (QApplication::focusWidget())
            QTest::keyClick(QApplication::focusWidget(), k);
}

void WalkRunner::close(const WalkAction &action)
{
    const QList<QMdiSubWindow *> subs = SubWindows(*main_);
    if (subs.isEmpty())
        return;
    QMdiSubWindow *sub = subs.at(int(action.a % uint32_t(subs.size())));
    if (QMdiSubWindow *front = main_->mdiArea()->activeSubWindow();
        front && front->isVisible() && InFront(action.a))
        sub = front;
    const QString name = Describe(sub->widget());
    switch (action.b % 4) {
    case 0:
        log(QStringLiteral("#%1 close %2 by its close box").arg(next_ - 1).arg(name));
        sub->close();
        break;
    case 1: {
        log(QStringLiteral("#%1 close %2 by Ctrl+F4").arg(next_ - 1).arg(name));
        main_->mdiArea()->setActiveSubWindow(sub);
        QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : sub;
        QTest::keyClick(focus, Qt::Key_F4, Qt::ControlModifier);
        break;
    }
    case 2: {
        QAbstractButton *own = nullptr;
        for (const char *n :
             {"Command_Close", "Command_Cancel", "Command_close", "cmdOK", "Command1"})
            if (auto *b = sub->widget()->findChild<QAbstractButton *>(QString::fromLatin1(n)))
                if (b->isVisible() && b->isEnabled()) {
                    own = b;
                    break;
                }
        if (own) {
            log(QStringLiteral("#%1 close %2 by %3").arg(next_ - 1).arg(name, own->objectName()));
            QTest::mouseClick(own, Qt::LeftButton, {}, own->rect().center());
        } else {
            log(QStringLiteral("#%1 close %2 by its close box").arg(next_ - 1).arg(name));
            sub->close();
        }
        break;
    }
    default: {
        log(QStringLiteral("#%1 close %2 by Escape").arg(next_ - 1).arg(name));
        main_->mdiArea()->setActiveSubWindow(sub);
        QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : sub;
        QTest::keyClick(focus, Qt::Key_Escape);
        break;
    }
    }
}

void WalkRunner::activate(const WalkAction &action)
{
    const QList<QMdiSubWindow *> subs = SubWindows(*main_);
    if (subs.isEmpty())
        return;
    QMdiSubWindow *sub = subs.at(int(action.a % uint32_t(subs.size())));
    const char *const ways[] = {"activate", "maximise", "minimise", "restore"};
    const uint32_t way = action.b % 4;
    log(QStringLiteral("#%1 %2 %3")
            .arg(next_ - 1)
            .arg(QString::fromLatin1(ways[way]), Describe(sub->widget())));
    switch (way) {
    case 0:
        main_->mdiArea()->setActiveSubWindow(sub);
        break;
    case 1:
        sub->showMaximized();
        break;
    case 2:
        sub->showMinimized();
        break;
    default:
        sub->showNormal();
        break;
    }
}

void WalkRunner::wheel(const WalkAction &action)
{
    const QList<QWidget *> targets = Controls(*main_, IsTypeTarget);
    if (targets.isEmpty())
        return;
    QWidget *target = targets.at(int(action.a % uint32_t(targets.size())));
    const int delta = action.b % 2 ? 120 : -120;
    log(QStringLiteral("#%1 wheel %2 over %3").arg(next_ - 1).arg(delta).arg(Describe(target)));
    const QPointF at = QRectF(target->rect()).center();
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

void WalkRunner::language(const WalkAction &action)
{
    const char *name = action.b % 2 ? "Language_eng" : "Language_chn";
    log(QStringLiteral("#%1 language %2").arg(next_ - 1).arg(QString::fromLatin1(name)));
    if (QAction *a = FindAction(*main_, name))
        a->trigger();
}

// Opens the save window from its menu entry and saves under the name;
// false when the window did not come (a message refused it first).
bool WalkRunner::saveAs(const QString &name)
{
    if (QAction *a = FindAction(*main_, "File_save"))
        a->trigger();
    ChildWindow *window = Windows::Find(WindowId::SaveChannel);
    if (!window || QApplication::activeModalWidget())
        return false;
    auto *text = window->findChild<QLineEdit *>(QStringLiteral("Text1"));
    auto *enter = window->findChild<QPushButton *>(QStringLiteral("Command_enter"));
    if (!text || !enter)
        return false;
    text->setText(name);
    QTest::mouseClick(enter, Qt::LeftButton, {}, enter->rect().center());
    return true;
}

void WalkRunner::save(const WalkAction &action)
{
    const QString name =
        QString::fromLatin1(SaveNames[action.b % (sizeof SaveNames / sizeof SaveNames[0])]);
    const char *const ways[] = {"File_save", "File_saveas", "save"};
    const char *way = ways[action.a % 3];
    log(QStringLiteral("#%1 save as \"%2\" through %3")
            .arg(next_ - 1)
            .arg(name, QString::fromLatin1(way)));
    if (QAction *a = FindAction(*main_, way))
        a->trigger();
    ChildWindow *window = Windows::Find(WindowId::SaveChannel);
    if (!window || QApplication::activeModalWidget())
        return;
    auto *text = window->findChild<QLineEdit *>(QStringLiteral("Text1"));
    auto *enter = window->findChild<QPushButton *>(QStringLiteral("Command_enter"));
    if (!text || !enter)
        return;
    QTest::mouseClick(text, Qt::LeftButton);
    QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
    TypeText(text, name);
    if (action.b >> 8 & 1)
        QTest::keyClick(text, Qt::Key_Return);
    else
        QTest::mouseClick(enter, Qt::LeftButton, {}, enter->rect().center());
}

void WalkRunner::open(const WalkAction &action)
{
    const QString name =
        QString::fromLatin1(OpenNames[action.b % (sizeof OpenNames / sizeof OpenNames[0])]);
    const char *const ways[] = {"File_Open", "open"};
    const char *way = ways[action.a % 2];
    log(QStringLiteral("#%1 open \"%2\" through %3")
            .arg(next_ - 1)
            .arg(name, QString::fromLatin1(way)));
    if (QAction *a = FindAction(*main_, way))
        a->trigger();
    ChildWindow *window = Windows::Find(WindowId::OpenChannel);
    if (!window || QApplication::activeModalWidget())
        return;
    auto *text = window->findChild<QLineEdit *>(QStringLiteral("Text1"));
    auto *enter = window->findChild<QPushButton *>(QStringLiteral("Command_enter"));
    if (!text || !enter)
        return;
    text->setText(name);
    QTest::mouseClick(enter, Qt::LeftButton, {}, enter->rect().center());
}

void WalkRunner::transfer(const WalkAction &action)
{
    struct Task {
        const char *menu;
        WindowId window;
        const char *start;
    };
    const Task tasks[] = {{"Prog_read", WindowId::Read, "Command_read"},
                          {"Prog_write", WindowId::Write, "Command_Write"},
                          {"Adj_Txp", WindowId::Power, nullptr}};
    const Task &task = tasks[action.b % 3];
    log(QStringLiteral("#%1 transfer %2").arg(next_ - 1).arg(QString::fromLatin1(task.menu)));
    if (QAction *a = FindAction(*main_, task.menu))
        a->trigger();
    if (!task.start || QApplication::activeModalWidget())
        return;
    if (ChildWindow *window = Windows::Find(task.window))
        if (auto *start = window->findChild<QPushButton *>(QString::fromLatin1(task.start)))
            QTest::mouseClick(start, Qt::LeftButton, {}, start->rect().center());
}

void WalkRunner::checkpoint()
{
    const QString path = QDir::current().filePath(CheckName);
    QFile::remove(path);
    const int before = performed_;
    // The radio changes the image too (the power window stores the levels
    // it reports): count every change while the save is under way.
    int changes = 0;
    const QMetaObject::Connection counting = connect(
        &ImageChanges::instance(), &ImageChanges::rowsChanged, this, [&changes] { ++changes; });
    log(QStringLiteral("   checkpoint: save %1").arg(CheckName));
    const bool asked = saveAs(CheckName);
    disconnect(counting);
    if (!asked || !QFileInfo::exists(path)) {
        ++skipped_;
        log(QStringLiteral("   checkpoint: not saved (refused or left)"));
        return;
    }
    auto image = std::make_unique<ImageTable>();
    ChannelFileError error;
    if (!ReadChannelFile(path, *image, &error))
        fail(QStringLiteral("the saved image does not read back: ") + error.message.english);
    // Nothing else changed the image meanwhile: the file holds what it holds.
    if (performed_ == before && changes == 0)
        for (int r = 0; r < UsedRows; ++r)
            for (int c = 0; c < BlockSize; ++c)
                if ((*image)[r][c] != RadioData[r][c])
                    fail(QStringLiteral(
                             "the saved file differs from the image at (%1,%2): %3, image %4")
                             .arg(r)
                             .arg(c)
                             .arg((*image)[r][c])
                             .arg(RadioData[r][c]));
    ++saved_;
}

void WalkRunner::finish()
{
    if (QWidget *modal = QApplication::activeModalWidget()) {
        if (++finishing_ > 400)
            fail(QStringLiteral("a message box does not go away"));
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (box && box->button(QMessageBox::Ok))
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        else
            modal->close();
        return;
    }
    if (finalCheck_)
        return; // the last checkpoint is under way
    finalCheck_ = true;
    checkpoint();
    closing_ = true;
    log(QStringLiteral("walk done: %1 actions, %2 checkpoints saved, %3 not saved")
            .arg(plan_.size())
            .arg(saved_)
            .arg(skipped_));
    // Leaving the program as a user does, whatever is still open.
    main_->close();
    QApplication::exit(0);
}
