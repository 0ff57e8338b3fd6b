// The keyboard's ways through the program: Tab reaches every control of
// every window and Shift+Tab goes back the same way, Esc does a dialog's
// Cancel or Close, Alt and F10 lead into the menus in both languages and
// Ctrl+Tab goes from window to window. Keys go to the main window and from
// there wherever the focus is, as a user's keys do.
#include "ChildWindow.h"
#include "Conversions.h"
#include "MainWindow.h"
#include "Messages.h"
#include "PortBinding.h"
#include "SimProcess.h"
#include "StartedProgram.h"
#include "Windows.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

namespace {

QString Describe(QObject *object)
{
    if (!object)
        return QStringLiteral("nothing");
    return QString::fromLatin1(object->metaObject()->className()) + u' ' + object->objectName();
}

// What Tab should reach: every control of the window that takes the focus
// by Tab, is shown and enabled. Of option buttons that exclude each other
// Tab reaches the chosen one and the arrow keys the others.
QList<QWidget *> TabStops(QWidget *window)
{
    QList<QWidget *> stops;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        const auto *option = qobject_cast<QRadioButton *>(w);
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(window) && w->isEnabled()
            && !w->focusProxy() && (!option || option->isChecked()))
            stops << w;
    }
    return stops;
}

// A control a user acts on that Tab never reaches: one that takes no focus
// from the keyboard (a scroll area's own scroll bars and a table's headers
// aside; option buttons that exclude each other are reached by arrows).
QStringList Unreachable(QWidget *window)
{
    QStringList unreachable;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        const bool control = qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w)
                             || qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractSlider *>(w)
                             || qobject_cast<QAbstractItemView *>(w)
                             || qobject_cast<QAbstractSpinBox *>(w);
        const QWidget *up = w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr;
        const bool scrollAreasOwn =
            qobject_cast<QScrollBar *>(w) && qobject_cast<const QAbstractScrollArea *>(up);
        const auto *option = qobject_cast<QRadioButton *>(w);
        if (control && !scrollAreasOwn && !qobject_cast<QHeaderView *>(w)
            && !(option && !option->isChecked()) && w->isVisibleTo(window) && w->isEnabled()
            && !(w->focusPolicy() & Qt::TabFocus) && !w->focusProxy())
            unreachable << Describe(w);
    }
    return unreachable;
}

} // namespace

class KeyboardPathsTests : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        BindPort(1, QStringLiteral("/dev/ql540-no-such-port"));
        window = StartProgram([](const QString &, const QString &) {});
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    void cleanup() { EndProgram(window); }

    // From the window's first control, Tab visits each control once and
    // comes back round; Shift+Tab retraces the same path.
    void tabReachesEveryControlAndShiftTabGoesBack_data()
    {
        QTest::addColumn<int>("id");
        for (int i = 0; i < WindowCount; ++i)
            QTest::newRow(qPrintable(QString::number(i))) << i;
    }
    void tabReachesEveryControlAndShiftTabGoesBack()
    {
        QFETCH(int, id);
        if (WindowId(id) == WindowId::ChannelEdit)
            Windows::Open(WindowId::ChannelGrid);
        // The power window stays open only while a radio answers.
        SimProcess radio;
        if (WindowId(id) == WindowId::Power) {
            RadioMemory memory;
            memory.fill(0xFF);
            QVERIFY(radio.start(memory, {"--no-pace"}));
            BindPort(1, radio.device());
        }
        ChildWindow *child = Windows::Open(WindowId(id));
        QVERIFY(child);
        QTRY_VERIFY(child->isAncestorOf(QApplication::focusWidget()));
        QVERIFY2(Unreachable(child).isEmpty(), qPrintable(Unreachable(child).join(", ")));
        const QList<QWidget *> expected = TabStops(child);
        QList<QWidget *> forward;
        for (int i = 0; i < 2 * expected.size() + 2; ++i) {
            QWidget *focus = QApplication::focusWidget();
            QVERIFY2(child->isAncestorOf(focus),
                     qPrintable(QStringLiteral("Tab left the window for ") + Describe(focus)));
            if (!forward.isEmpty() && focus == forward.first())
                break;
            forward << focus;
            key(Qt::Key_Tab);
        }
        for (QWidget *stop : expected)
            QVERIFY2(forward.contains(stop), qPrintable(Describe(stop) + " is never reached"));
        QCOMPARE(forward.size(), expected.size());
        for (int i = forward.size() - 1; i >= 0; --i) {
            key(Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(Describe(QApplication::focusWidget()), Describe(forward.at(i)));
        }
    }

    // Esc in a window that asks one thing does what its Cancel or Close
    // button does, wherever the focus is in it.
    void escapeCancelsTheDialogs_data()
    {
        QTest::addColumn<int>("id");
        for (WindowId id :
             {WindowId::About, WindowId::PortSetup, WindowId::ModelSelect, WindowId::SaveChannel,
              WindowId::OpenChannel, WindowId::Read, WindowId::Write, WindowId::Verify,
              WindowId::Compare, WindowId::BatchWrite})
            QTest::newRow(qPrintable(QString::number(int(id)))) << int(id);
    }
    void escapeCancelsTheDialogs()
    {
        QFETCH(int, id);
        QVERIFY(Windows::Open(WindowId(id)));
        QTRY_VERIFY(Windows::Find(WindowId(id))->isAncestorOf(QApplication::focusWidget()));
        key(Qt::Key_Escape);
        QTRY_VERIFY(!Windows::IsOpen(WindowId(id)));
    }

    // The editors keep Esc for giving up an edit: it closes none of them.
    void escapeLeavesTheEditorsOpen()
    {
        for (WindowId id : {WindowId::Options, WindowId::FmList, WindowId::ChannelGrid}) {
            Windows::Open(id);
            QTRY_VERIFY(Windows::Find(id)->isAncestorOf(QApplication::focusWidget()));
            key(Qt::Key_Escape);
            QVERIFY(Windows::IsOpen(id));
        }
    }

    // Alt and F10 lead into the menus; the arrows walk them in both
    // languages, Esc leaves them for where the focus was.
    void altAndF10WalkTheMenus_data()
    {
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<int>("menuKey");
        QTest::newRow("Chinese, Alt") << true << int(Qt::Key_Alt);
        QTest::newRow("English, Alt") << false << int(Qt::Key_Alt);
        QTest::newRow("Chinese, F10") << true << int(Qt::Key_F10);
        QTest::newRow("English, F10") << false << int(Qt::Key_F10);
    }
    void altAndF10WalkTheMenus()
    {
        QFETCH(bool, chinese);
        QFETCH(int, menuKey);
        window->switchLanguage(chinese);
        QTest::qWait(20); // the switch's own events (new translations) first
        QTRY_VERIFY(QApplication::focusWidget());
        QWidget *before = QApplication::focusWidget();
        const QList<QAction *> top = window->menuBar()->actions();
        const auto enter = [&] {
            key(Qt::Key(menuKey), menuKey == Qt::Key_Alt ? Qt::AltModifier : Qt::NoModifier);
            QCOMPARE(window->menuBar()->activeAction(), top.first());
        };

        // Right goes round every entry of the bar back to the first.
        enter();
        for (int i = 1; i <= top.size(); ++i) {
            key(Qt::Key_Right);
            QCOMPARE(window->menuBar()->activeAction(), top.at(i % top.size()));
        }
        // Esc closes an open menu, then leaves the bar.
        for (int i = 0; i < 2 && QApplication::focusWidget() != before; ++i)
            key(Qt::Key_Escape);
        QTRY_COMPARE(QApplication::focusWidget(), before);

        // Into the language menu, down to English (or 中文) and Enter.
        enter();
        const int language =
            top.indexOf(window->findChild<QMenu *>("Language_Setup")->menuAction());
        for (int i = 0; i < language; ++i)
            key(Qt::Key_Right);
        if (!QApplication::activePopupWidget())
            key(Qt::Key_Down);
        QTRY_VERIFY(QApplication::activePopupWidget());
        if (chinese)
            key(Qt::Key_Down); // past 中文 to English
        key(Qt::Key_Return);
        QTRY_COMPARE(IsChinese, !chinese);
    }

    // A window chosen from the menu bar takes the focus: the keys go on in
    // it, not in the window behind (here: Tab from the port chosen to the
    // port list and on to the device field).
    void aWindowChosenFromTheMenuBarTakesTheFocus_data()
    {
        QTest::addColumn<int>("menuKey");
        QTest::newRow("Alt") << int(Qt::Key_Alt);
        QTest::newRow("F10") << int(Qt::Key_F10);
    }
    void aWindowChosenFromTheMenuBarTakesTheFocus()
    {
        QFETCH(int, menuKey);
        Windows::Open(WindowId::ChannelGrid);
        QTRY_VERIFY(
            Windows::Find(WindowId::ChannelGrid)->isAncestorOf(QApplication::focusWidget()));
        const QList<QAction *> top = window->menuBar()->actions();
        key(Qt::Key(menuKey), menuKey == Qt::Key_Alt ? Qt::AltModifier : Qt::NoModifier);
        const int setup = top.indexOf(window->findChild<QAction *>("proc_setup"));
        for (int i = 0; i < setup; ++i)
            key(Qt::Key_Right);
        key(Qt::Key_Return);
        QTRY_VERIFY(Windows::IsOpen(WindowId::PortSetup));
        ChildWindow *port = Windows::Find(WindowId::PortSetup);
        QTRY_VERIFY(port->isAncestorOf(QApplication::focusWidget()));
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Option1"));
        key(Qt::Key_Tab);
        key(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Text_device"));
        key(Qt::Key_Escape);
        QTRY_VERIFY(!Windows::IsOpen(WindowId::PortSetup));
    }

    // Ctrl+Tab goes to the window that was in front before; Ctrl+Shift+Tab
    // back.
    void ctrlTabGoesFromWindowToWindow()
    {
        Windows::Open(WindowId::Options);
        QMdiArea *area = window->mdiArea();
        const auto front = [area] {
            QMdiSubWindow *sub = area->activeSubWindow();
            return sub ? sub->widget()->objectName() : QString();
        };
        QCOMPARE(front(), QString("frm_option"));
        key(Qt::Key_Tab, Qt::ControlModifier);
        QTRY_COMPARE(front(), QString("frm_chann"));
        QTRY_VERIFY(
            Windows::Find(WindowId::ChannelGrid)->isAncestorOf(QApplication::focusWidget()));
        key(Qt::Key_Tab, Qt::ControlModifier);
        QTRY_COMPARE(front(), QString("frm_option"));
    }

    // The channel edit window: Esc gives up a frequency being typed, Enter
    // stores it and the focus stays, Page Up and Down step the channels
    // round, storing what is typed first.
    void channelEditWindowTakesEnterEscAndPageKeys()
    {
        Windows::Open(WindowId::ChannelGrid);
        ChildWindow *edit = Windows::Open(WindowId::ChannelEdit);
        auto *receive = edit->findChild<QLineEdit *>("Text_RX_Freq");
        auto *number = edit->findChild<QLineEdit *>("Text_CHN");
        receive->setFocus();
        QTRY_VERIFY(receive->hasFocus());
        const ImageTable before = RadioData;
        type("446");
        key(Qt::Key_Escape);
        QCOMPARE(receive->text(), QString());
        QVERIFY(RadioData == before);
        QVERIFY(Windows::IsOpen(WindowId::ChannelEdit));
        type("446");
        key(Qt::Key_Return);
        QCOMPARE(BcdToText(RadioData[1][0], RadioData[1][1], RadioData[1][2], RadioData[1][3]),
                 QString("446.00000"));
        QVERIFY(receive->hasFocus());
        key(Qt::Key_PageDown);
        QCOMPARE(number->text(), QString("2"));
        type("447.5");
        key(Qt::Key_PageUp); // channel 2 is stored on the way
        QCOMPARE(number->text(), QString("1"));
        QCOMPARE(BcdToText(RadioData[2][0], RadioData[2][1], RadioData[2][2], RadioData[2][3]),
                 QString("447.50000"));
        key(Qt::Key_PageUp);
        QCOMPARE(number->text(), QString("128"));
    }

    // The options window: Esc gives up a receive frequency or limit being
    // typed, Enter stores it as leaving the field does.
    void optionsWindowTakesEnterAndEsc()
    {
        ChildWindow *options = Windows::Open(WindowId::Options);
        auto *receive = options->findChild<QLineEdit *>("Text_RX_Freq");
        receive->setFocus();
        QTRY_VERIFY(receive->hasFocus());
        const QString shown = receive->text();
        const ImageTable before = RadioData;
        key(Qt::Key_End);
        key(Qt::Key_Backspace);
        key(Qt::Key_Escape);
        QCOMPARE(receive->text(), shown);
        QVERIFY(RadioData == before);
        receive->selectAll();
        type("450");
        key(Qt::Key_Return);
        QCOMPARE(BcdToText(RadioData[0][0], RadioData[0][1], RadioData[0][2], RadioData[0][3]),
                 QString("450.00000"));
        QVERIFY(receive->hasFocus());
    }

    // Page Down out of a grid cell being typed in stores it and moves a
    // page on, as from the grid itself.
    void gridEditorGivesPageKeysToTheGrid()
    {
        ChildWindow *grid = Windows::Find(WindowId::ChannelGrid);
        auto *table = grid->findChild<QTableWidget *>("MSF_chann");
        table->setFocus();
        table->setCurrentCell(0, 1);
        type("446");
        QVERIFY(grid->findChild<QLineEdit *>("Text_Edit")->hasFocus());
        key(Qt::Key_PageDown);
        QVERIFY(table->currentRow() > 1);
        QCOMPARE(table->currentColumn(), 1);
        QCOMPARE(table->item(0, 1)->text(), QString("446.00000"));
        key(Qt::Key_PageUp);
        QCOMPARE(table->currentRow(), 0);
    }

    // A port of the batch window is ticked from the keyboard.
    void batchPortsAreTickedWithSpace()
    {
        ChildWindow *batch = Windows::Open(WindowId::BatchWrite);
        auto *ports = batch->findChild<QTableWidget *>("Table_ports");
        QVERIFY(ports->rowCount() > 0);
        ports->setFocus();
        QTRY_VERIFY(ports->hasFocus());
        key(Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(ports->currentRow(), 0);
        QCOMPARE(ports->currentColumn(), 0);
        const Qt::CheckState before = ports->item(0, 0)->checkState();
        key(Qt::Key_Space);
        QVERIFY(ports->item(0, 0)->checkState() != before);
    }

private:
    void type(const char *text)
    {
        for (; *text; ++text)
            QTest::keyClick(window->windowHandle(), *text);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(window->windowHandle(), k, modifiers);
        QCoreApplication::processEvents();
    }

    MainWindow *window = nullptr;
};

QTEST_MAIN(KeyboardPathsTests)
#include "KeyboardPathsTests.moc"
