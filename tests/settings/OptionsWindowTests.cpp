// The optional features window as a user meets it: opened from the menu,
// in both languages, and the wiring of its rules (the rules' own cases are
// tables in SettingsRulesTests). Message boxes are recorded, not shown.
#include "ChildWindow.h"
#include "ImageChanges.h"
#include "ImageRoutines.h"
#include "MainWindow.h"
#include "Messages.h"
#include "OptionTable.h"
#include "RecordCodec.h"
#include "SettingsReport.h"
#include "TestImage.h"
#include "WindowCatalog.h"
#include "Windows.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

struct Message {
    QString text;
    QString title;
};

std::vector<int> Cells(int row, int from, int to)
{
    std::vector<int> values;
    for (int c = from; c <= to; ++c)
        values.push_back(RadioData[row][c]);
    return values;
}

// Every captioned control with its Chinese and English caption.
const struct {
    const char *name;
    const char *chinese;
    const char *english;
} Captions[] = {
    {"Label_tot", "超时定时器[分钟]", "Time Out Timer[Min]"},
    {"Label_sql", "静噪等级", "Squelch Level"},
    {"Label_APO", "自动关机[小时]", "APO[Hour]"},
    {"Label_lamp", "背光灯", "Back Light"},
    {"Label_mdf", "信道显示方式", "Channel Disp Way"},
    {"Label_Scan", "扫描方式", "Scans"},
    {"Label_KL_Mode", "按键锁定模式", "KeyLock Mode"},
    {"Frame_VOX", "声控设置", "VOX"},
    {"Label_vox_Lever", "声控等级", "VOV Gain Level"},
    {"Label_VOX_Delay_Time", "声控延迟[秒]", "VOX Delay Time[S]"},
    {"Check_VOX_ReceStop", "接收时禁止声控", "VOX Inhibit on Receive"},
    {"Frame_mode", "工作模式", "Work Mode"},
    {"Option_freq", "频率模式", "Frequncy"},
    {"Option_chann", " 信道模式", "Channel"},
    {"Check_Only_Chann", "仅工作在信道模式", "Only Channel Mode"},
    {"Frame_PowerOn", "开机", "Power On"},
    {"Label_Pon_Mode", "开机显示模式", "MsgMode"},
    {"Label_Pon_msg", "开机显示字符", "PowerOn MSG"},
    {"Check_Pon_PWD", "对讲机密码", "Radio Password"},
    {"Label_Pon_PWD", "密码设置", "Password Pin"},
    {"Check_Save", "电池省电", "Save"},
    {"Check_Beep", "哔音", "Beep"},
    {"Check_Menu", "手动设置", "Manual set-up"},
    {"Check_FM_STRX", "收音时允许接收", "Receiver When Radio Working"},
    {"Check_ROGER", "结束通话提示音", "Roger"},
    {"Frame_vfo", "频率模式", "Frequncy Mode"},
    {"Label_RX_freq", "接收频率(MHZ)", "RX Frequncy(MHZ)"},
    {"Label_Decode", "解码", "Decode"},
    {"Label_Encode", "编码", "Encode"},
    {"Label_Step", "步进频率(KHZ)", "Step(KHZ)"},
    {"Label_Sft_d", "频差方向", "Duplex"},
    {"Label_offset", "频差频率(MHZ)", "Offset Frequncy(MHZ) "},
    {"Label_WN", "宽带/窄带", "Wide / Narrow"},
    {"Label_TXP", "发射功率", "TX Power"},
    {"Check_VOX_SW", "声控", "VOX"},
    {"Check_Bcl", "繁忙锁定", "BCL"},
    {"Check_TxStop", "禁止发射", "TX Stop"},
    {"Check_DNI", "INV", "INV"},
    {"Check_ENI", "INV", "INV"},
    {"Frame_Freq_range", "工作频率范围", "Frequncy Range"},
    {"Label_From", "从", "From"},
    {"Label_to", "到", "to"},
    {"Label3", "MHZ", "MHZ"},
    {"Command_Close", "关闭", "Close"},
    {"Command_Help", "帮助", "Help"},
};

QString CaptionOf(QWidget *w)
{
    if (auto *label = qobject_cast<QLabel *>(w))
        return label->text();
    if (auto *frame = qobject_cast<QGroupBox *>(w))
        return frame->title();
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        return button->text();
    return QStringLiteral("<no caption>");
}

} // namespace

class OptionsWindowTests : public QObject {
    Q_OBJECT
    std::unique_ptr<MainWindow> main;
    ChildWindow *window = nullptr;
    std::vector<Message> messages;

    void open()
    {
        main->findChild<QAction *>("Optional_edit")->trigger();
        window = Windows::Find(WindowId::Options);
        QVERIFY(window);
        QCoreApplication::processEvents();
    }
    template<class T = QWidget> T *w(const char *name) const
    {
        T *found = window->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QComboBox *list(const char *name) const { return w<QComboBox>(name); }
    QLineEdit *field(const char *name) const { return w<QLineEdit>(name); }
    QString shown(const char *name) const { return list(name)->currentText(); }
    bool ticked(const char *name) const { return w<QAbstractButton>(name)->isChecked(); }

    // A user's pick with the keys: the last item by End, others by Home
    // and Down (each step is a pick of its own).
    void choose(const char *name, int position)
    {
        QComboBox *l = list(name);
        if (position == l->count() - 1) {
            QTest::keyClick(l, Qt::Key_End);
        } else {
            QTest::keyClick(l, Qt::Key_Home);
            for (int i = 0; i < position; ++i)
                QTest::keyClick(l, Qt::Key_Down);
        }
        QCOMPARE(l->currentIndex(), position);
    }
    // Replaces a field's text by typing, as a user does.
    void type(const char *name, const QString &text)
    {
        QLineEdit *f = field(name);
        f->setFocus();
        QTest::keyClick(f, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(f, Qt::Key_Backspace);
        QTest::keyClicks(f, text);
    }
    // Leaves a field for another control, then lets the deferred messages
    // show.
    void leave(const char *name)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(field(name), &out);
        QCoreApplication::processEvents();
    }
    QStringList texts() const
    {
        QStringList list;
        for (const Message &m : messages)
            list << m.text;
        return list;
    }
    void activateAgain()
    {
        QMdiArea *area = main->mdiArea();
        QMdiSubWindow *options = area->activeSubWindow();
        for (QMdiSubWindow *sub : area->subWindowList())
            if (sub != options)
                area->setActiveSubWindow(sub);
        area->setActiveSubWindow(options);
        QCoreApplication::processEvents();
    }

private slots:
    void init()
    {
        messages.clear();
        SetMessageHook([this](const QString &text, const QString &title) {
            messages.push_back({text, title});
        });
        RegisterAllWindows();
        main = std::make_unique<MainWindow>();
        main->startUp();
    }
    void cleanup()
    {
        main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetMessageHook(nullptr);
    }

    void menuOpensEveryControlCaptionedInBothLanguages()
    {
        for (bool chinese : {true, false, true}) {
            main->switchLanguage(chinese);
            open();
            QCOMPARE(window->objectName(), QString("frm_option"));
            QVERIFY(OpenWindows[WindowId::Options]);
            QCOMPARE(window->windowTitle(), QString(chinese ? "可选参数" : "Optional Features"));
            for (const auto &c : Captions)
                QCOMPARE(CaptionOf(w(c.name)), QString::fromUtf8(chinese ? c.chinese : c.english));
            QCOMPARE(shown("Combo_Lamp"), QString(chinese ? "自动" : "Key"));
            QCOMPARE(shown("Combo_Scan"), QString(chinese ? "载波" : "CO"));
            QCOMPARE(shown("Combo_KL_Mode"), QString(chinese ? "按键和上下键" : "Key&UPDN"));
            // Cleared before each fill: reopening never duplicates items.
            QCOMPARE(list("Combo_TOT")->count(), 8);
            QCOMPARE(list("Combo_APO")->count(), 16);
            QCOMPARE(list("Combo_Decode")->count(), 265);
            QCOMPARE(list("Combo_Decode")->itemText(0), QString("OFF"));
            QCOMPARE(list("Combo_Encode")->itemText(158), QString("D017I"));
            QCOMPARE(list("Combo_Step")->itemText(3), QString("12.5K"));
            for (QComboBox *l : window->findChildren<QComboBox *>())
                QVERIFY(!l->isEditable());
        }
        QVERIFY(!w("Check_VOX_ReceStop")->isVisibleTo(window));
        QVERIFY(!w("Check_VOX_ReceStop")->isEnabled());
        QVERIFY(!w("Text_TX_Freq")->isVisibleTo(window));
        QVERIFY(!w("Check_DNI")->isEnabled() && !w("Check_ENI")->isEnabled());

        const QSize mainSize = main->size();
        const QRect frame = window->parentWidget()->geometry();
        QCOMPARE(frame.width(), qRound(mainSize.width() / 1.04));
        QCOMPARE(frame.height(), qRound(mainSize.height() / 1.25));
        QCOMPARE(frame.top(), 0);

        w<QPushButton>("Command_Help")->click();
        QVERIFY(OpenWindows[WindowId::Options]);
        w<QPushButton>("Command_Close")->click();
        QVERIFY(!OpenWindows[WindowId::Options]);
    }

    void startUpImageShowsItsValues()
    {
        main->switchLanguage(false);
        open();
        const std::pair<const char *, const char *> lists[] = {
            {"Combo_Sql", "5"},
            {"Combo_Scan", "CO"},
            {"Combo_Mdf", "Frequncy"},
            {"Combo_Lamp", "Key"},
            {"Combo_Pon_Mode", "Off"},
            {"Combo_TOT", "3"},
            {"Combo_APO", "Off"},
            {"Combo_VOX_lever", "5"},
            {"Combo_VOX_Delay_Time", "4"},
            {"Combo_KL_Mode", "Key&UPDN"},
            {"Combo_Decode", "OFF"},
            {"Combo_Encode", "OFF"},
            {"Combo_Sft_d", "Off"},
            {"Combo_TXP", "High"},
            {"Combo_Step", "5K"},
            {"Combo_WN", "Wide"},
        };
        for (const auto &[name, text] : lists)
            QCOMPARE(shown(name), QString(text));
        const std::pair<const char *, bool> boxes[] = {
            {"Check_Menu", true},    {"Check_ROGER", false},   {"Check_FM_STRX", true},
            {"Check_Save", true},    {"Check_Pon_PWD", false}, {"Option_freq", true},
            {"Option_chann", false}, {"Check_Beep", true},     {"Check_Only_Chann", false},
            {"Check_VOX_SW", false}, {"Check_Bcl", false},     {"Check_TxStop", false},
        };
        for (const auto &[name, on] : boxes)
            QCOMPARE(ticked(name), on);
        QCOMPARE(field("Text_RX_Freq")->text(), QString("462.01250"));
        QCOMPARE(field("Text_Offset_Freq")->text(), QString("10.00000"));
        QCOMPARE(field("Text_Pon_Msg")->text(), QString("HELLO"));
        QVERIFY(!field("Text_Pon_Msg")->isEnabled());
        QVERIFY(!field("Text_Pon_PWD")->isEnabled());
        QCOMPARE(field("Text_pvfo_d0")->text(), QString("400"));
        QCOMPARE(field("Text_pvfo_d1")->text(), QString("470"));
        QVERIFY(messages.empty());
        // Showing them changed nothing but the always-cleared VOX-inhibit bit.
        QCOMPARE(Cells(OptionRow, 0, 12),
                 (std::vector<int>{5, 0x61, 0x81, 3, 0, 4, 3, 0, 0, 0, 0, 0, 0}));
    }

    void openingTakesTheWorkingRangeClearsBitsAndWritesBackClampedValues()
    {
        SetUpImage([&](ImageTable &image) {
            EncodeBandLimits(image, 430, 460);
            image[OptionRow][1] |= 0x10;
            image[OptionRow][10] = 0x09;
            image[OptionRow][3] = 9;
            image[OptionRow][7] = 0x82;
        });
        main->switchLanguage(false);
        open();
        QCOMPARE(BandLowMHz, 430.0);
        QCOMPARE(BandHighMHz, 460.0);
        QCOMPARE(RadioData[OptionRow][1] & 0x10, 0);
        QCOMPARE(RadioData[OptionRow][10], 0x08);
        QCOMPARE(shown("Combo_TOT"), QString("7"));
        QCOMPARE(RadioData[OptionRow][3], 7);
        QCOMPARE(shown("Combo_KL_Mode"), QString("Key"));
        choose("Combo_KL_Mode", 3);
        QCOMPARE(RadioData[OptionRow][7], 0x83);

        // Also when the list already shows its last item. A mere return to
        // the window shows the value and stores nothing; the user's next
        // action in the window does.
        choose("Combo_TOT", 7);
        SetUpCell(OptionRow, 3, 12);
        activateAgain();
        QCOMPARE(shown("Combo_TOT"), QString("7"));
        QCOMPARE(RadioData[OptionRow][3], 12);
        type("Text_RX_Freq", "435");
        leave("Text_RX_Freq");
        QCOMPARE(RadioData[OptionRow][3], 7);
    }

    void leavingTheReceiveFieldInBandAlwaysReturnsToSimplex()
    {
        main->switchLanguage(false);
        open();
        choose("Combo_Sft_d", 2);
        QCOMPARE(RadioData[VfoRow][12] >> 6, 2);
        type("Text_RX_Freq", "462.01250"); // the same frequency again
        leave("Text_RX_Freq");
        QCOMPARE(RadioData[VfoRow][12] >> 6, 0);
        QCOMPARE(shown("Combo_Sft_d"), QString("Off"));

        choose("Combo_Sft_d", 2);
        type("Text_RX_Freq", "435.0125");
        leave("Text_RX_Freq");
        QCOMPARE(Cells(VfoRow, 0, 3), (std::vector<int>{0x50, 0x12, 0x50, 0x43}));
        QCOMPARE(RadioData[VfoRow][12], 0x02);
        QCOMPARE(field("Text_RX_Freq")->text(), QString("435.01250"));
        QVERIFY(messages.empty());

        type("Text_RX_Freq", "470");
        leave("Text_RX_Freq");
        QCOMPARE(texts(), QStringList{"Over the range of RX frequency ."});
        QCOMPARE(messages.back().title, QString("Operate prompt"));
        QCOMPARE(field("Text_RX_Freq")->text(), QString());
        QCOMPARE(RadioData[VfoRow][3], 0x43);
        QVERIFY(field("Text_RX_Freq")->hasFocus() || !main->isActiveWindow());
    }

    void transmitOutsideTheBandPutsTheShiftBackToOff()
    {
        SetUpImage([&](ImageTable &image) {
            Record::Rx.store(image, VfoRow, "465");
            Record::Offset.store(image, VfoRow, "1");
        });
        main->switchLanguage(false);
        open();
        choose("Combo_Sft_d", 1);
        QCOMPARE(field("Text_TX_Freq")->text(), QString("466"));
        type("Text_Offset_Freq", "10"); // 475 MHz
        QCOMPARE(texts(), QStringList{"Over the range of TX frequency ."});
        QCOMPARE(shown("Combo_Sft_d"), QString("Off"));
        QCOMPARE(RadioData[VfoRow][12] >> 6, 0);
        QCOMPARE(field("Text_Offset_Freq")->text(), QString("1.00000"));
        QCOMPARE(Cells(VfoRow, 4, 7), (std::vector<int>{0, 0, 0x10, 0}));

        choose("Combo_Sft_d", 2);
        type("Text_Offset_Freq", "10"); // 455 MHz
        QCOMPARE(messages.size(), size_t(1));
        QCOMPARE(field("Text_TX_Freq")->text(), QString("455"));
        QCOMPARE(Cells(VfoRow, 4, 7), (std::vector<int>{0, 0, 0, 0x01}));
    }

    void offsetLimitsWhileTypingAndOnLeave()
    {
        main->switchLanguage(false);
        open();
        type("Text_Offset_Freq", "70");
        QCOMPARE(texts(), QStringList{"Over the range of Offset frequency ."});
        QCOMPARE(field("Text_Offset_Freq")->text(), QString());
        QCOMPARE(Cells(VfoRow, 4, 7), std::vector<int>(4, 255));
        leave("Text_Offset_Freq");
        QCOMPARE(Cells(VfoRow, 4, 7), std::vector<int>(4, 0));
        QCOMPARE(field("Text_Offset_Freq")->text(), QString("0.00000"));

        type("Text_Offset_Freq", "69.99");
        QCOMPARE(messages.size(), size_t(1));
        leave("Text_Offset_Freq");
        QCOMPARE(messages.size(), size_t(2));
        QCOMPARE(field("Text_Offset_Freq")->text(), QString("69.99")); // left as typed
    }

    // Opening the window on an erased offset warns once and leaves it
    // erased; returning to the window warns no more.
    void anErasedOffsetIsClearedWithOneMessage()
    {
        SetUpImage([&](ImageTable &image) { Record::Offset.fill(image, VfoRow, 255); });
        main->switchLanguage(false);
        open();
        QCOMPARE(texts(), QStringList{"Over the range of Offset frequency ."});
        QCOMPARE(field("Text_Offset_Freq")->text(), QString());
        activateAgain();
        QCOMPARE(messages.size(), size_t(1));
        QCOMPARE(field("Text_Offset_Freq")->text(), QString());
        QCOMPARE(Cells(VfoRow, 4, 7), std::vector<int>(4, 255));
    }

    // New data arriving while the window is open (an opened file, a read)
    // is shown, and what showing it on load would say is said once; the
    // redraw mends nothing in the image, nor does the return to the window.
    void newDataIsShownWithItsWarningOnceAndNotMended()
    {
        main->switchLanguage(false);
        open();
        auto image = std::make_unique<ImageTable>(RadioData);
        Record::Offset.fill(*image, VfoRow, 255);
        (*image)[OptionRow][3] = 12; // time-out timer beyond its list
        (*image)[OptionRow][10] |= 0x01;
        ImageChanges::instance().replaceImage(ChangeKind::OpenedFile, *image);
        QTRY_COMPARE(texts(), QStringList{"Over the range of Offset frequency ."});
        QCOMPARE(shown("Combo_TOT"), QString("7"));
        QCOMPARE(field("Text_Offset_Freq")->text(), QString());
        activateAgain();
        QCoreApplication::processEvents();
        QCOMPARE(messages.size(), size_t(1));
        QVERIFY(RadioData == *image);
    }

    // Close, the close box, a reopening: a text the field refuses is said
    // once while the window is there, and the user stays in the field; an
    // accepted text is stored as leaving the field stores it. The recorder
    // lets pending deletions run, as the event loop of a real box does.
    void closingAfterTypingKeepsARefusedTextAndStoresAnAcceptedOne()
    {
        main->switchLanguage(false);
        SetMessageHook([this](const QString &text, const QString &title) {
            messages.push_back({text, title});
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        });
        open();
        w<QCheckBox>("Check_Pon_PWD")->click();
        const struct {
            const char *field;
            const char *typed;
            const char *message;
            const char *valid;
        } cases[] = {
            {"Text_RX_Freq", "480", "Over the range of RX frequency .", "435"},
            {"Text_Offset_Freq", "69.99", "Over the range of Offset frequency .", "1"},
            {"Text_Pon_PWD", "12", "Password length is 4 digit.", "1234"},
            {"Text_pvfo_d0", "100",
             "frequency of lower limit can't less than the lowest of work frequency. ", "400"},
        };
        enum { CloseButton, CloseBox, Reopen };
        for (const auto &c : cases) {
            for (int how : {CloseButton, CloseBox, Reopen}) {
                messages.clear();
                type(c.field, c.typed);
                if (how == CloseButton)
                    QTest::mouseClick(w<QPushButton>("Command_Close"), Qt::LeftButton);
                else if (how == CloseBox)
                    window->parentWidget()->close();
                else
                    main->findChild<QAction *>("Optional_edit")->trigger();
                QCoreApplication::processEvents();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                QVERIFY2(Windows::Find(WindowId::Options) == window, c.field);
                QCOMPARE(texts(), QStringList{c.message});
                QCOMPARE(window->focusWidget(), field(c.field));
                type(c.field, c.valid);
                leave(c.field);
            }
        }
        messages.clear();
        type("Text_RX_Freq", "446.1");
        window->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!Windows::IsOpen(WindowId::Options));
        QVERIFY(messages.empty());
        QCOMPARE(Cells(VfoRow, 0, 3), (std::vector<int>{0x00, 0x00, 0x61, 0x44}));
    }

    // A language switch, a save or a read take what is typed as leaving
    // the field would; a refused text stops them, the user back in the field.
    void typedTextIsStoredBeforeASwitchOrASaveOrRefusedWithItsMessage()
    {
        open();
        type("Text_RX_Freq", "446.1");
        main->switchLanguage(false);
        QCOMPARE(Cells(VfoRow, 0, 3), (std::vector<int>{0x00, 0x00, 0x61, 0x44}));
        window = Windows::Find(WindowId::Options);
        QCOMPARE(field("Text_RX_Freq")->text(), QString("446.10000"));

        type("Text_pvfo_d0", "410");
        main->findChild<QAction *>("Optional_edit")->trigger();
        QCOMPARE(Cells(BandLimitRow, 0, 1), (std::vector<int>{0x00, 0x41}));
        window = Windows::Find(WindowId::Options);

        type("Text_RX_Freq", "447");
        main->toolbarButton("save");
        QVERIFY(Windows::IsOpen(WindowId::SaveChannel));
        QCOMPARE(Cells(VfoRow, 0, 3), (std::vector<int>{0x00, 0x00, 0x70, 0x44}));
        Windows::Unload(WindowId::SaveChannel);
        QVERIFY(messages.empty());

        main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(window->parentWidget()));
        type("Text_RX_Freq", "480");
        main->switchLanguage(true);
        QVERIFY(!IsChinese);
        QCOMPARE(main->findChild<QAction *>("Language_eng")->isChecked(), true);
        QCOMPARE(main->findChild<QAction *>("Language_chn")->isChecked(), false);
        QCOMPARE(Windows::Find(WindowId::Options), window);
        QCOMPARE(window->focusWidget(), field("Text_RX_Freq"));
        type("Text_RX_Freq", "447");
        leave("Text_RX_Freq");
        type("Text_Offset_Freq", "69.99");
        main->toolbarButton("read");
        main->toolbarButton("save");
        QVERIFY(!Windows::IsOpen(WindowId::Read));
        QVERIFY(!Windows::IsOpen(WindowId::SaveChannel));
        QCOMPARE(texts(), (QStringList{"Over the range of RX frequency .",
                                       "Over the range of Offset frequency .",
                                       "Over the range of Offset frequency ."}));
        QCOMPARE(main->mdiArea()->activeSubWindow()->widget(), window);
        QCOMPARE(window->focusWidget(), field("Text_Offset_Freq"));
    }

    // Everything else that takes the image waits for a refused text as the
    // save and the read do: no dialog, no window, nothing copied or undone,
    // the message said once each time and the user back in the field.
    void aRefusedTextHoldsBackEveryActionThatTakesTheImage()
    {
        main->switchLanguage(false);
        open();
        ImageChanges::instance().apply(ChangeKind::FmEdit, [](ImageTable &image) {
            FmPresets::Preset(0).set(image, 20);
        }); // something to undo
        QApplication::clipboard()->setText(QStringLiteral("before"));
        // A dialog an action opens is noted and closed at once.
        QStringList dialogs;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&dialogs] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                dialogs << modal->objectName();
                modal->close();
            }
        });
        watch.start(0);

        type("Text_Offset_Freq", "69.99");
        for (const char *action :
             {"File_Print", "File_ExportPdf", "File_ExportCsv", "File_ImportCsv", "File_Compare",
              "Prog_verify", "Prog_batch", "Edit_CopyChannels", "Edit_Undo"}) {
            messages.clear();
            QVERIFY2(main->findChild<QAction *>(action)->isEnabled(), action);
            main->findChild<QAction *>(action)->trigger();
            QCoreApplication::processEvents();
            QVERIFY2(dialogs.isEmpty(), action);
            QCOMPARE(texts(), QStringList{"Over the range of Offset frequency ."});
            QCOMPARE(main->mdiArea()->activeSubWindow()->widget(), window);
            QCOMPARE(window->focusWidget(), field("Text_Offset_Freq"));
        }
        for (WindowId id : {WindowId::Compare, WindowId::Verify, WindowId::BatchWrite})
            QVERIFY(!Windows::IsOpen(id));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
        QCOMPARE(FmPresets::Preset(0).get(RadioData), 20);

        // Once the field holds what it accepts, the action goes ahead.
        type("Text_Offset_Freq", "1");
        main->findChild<QAction *>("File_Print")->trigger();
        QCOMPARE(dialogs, QStringList{"Form_Print_Preview"});
    }

    // Exit asks nothing, but typed text reaches the image (and so the
    // recovery file) first; a refused one keeps the program open.
    void exitStoresTypedTextOrStaysOpenOnARefusal()
    {
        main->switchLanguage(false);
        open();
        type("Text_RX_Freq", "480");
        QVERIFY(!main->close());
        QVERIFY(main->isVisible());
        QCOMPARE(texts(), (QStringList{"Over the range of RX frequency ."}));
        type("Text_RX_Freq", "446.1");
        QVERIFY(main->close());
        QCOMPARE(Cells(VfoRow, 0, 3), (std::vector<int>{0x00, 0x00, 0x61, 0x44}));
    }

    // The wheel passing over a list picks nothing unless the list has the
    // focus.
    void theWheelOverAnUnfocusedListStoresNothing()
    {
        open();
        QComboBox *squelch = list("Combo_Sql");
        field("Text_RX_Freq")->setFocus();
        const int before = squelch->currentIndex();
        const QPointF at(squelch->rect().center());
        QWheelEvent wheel(at, squelch->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(squelch, &wheel);
        QCOMPARE(squelch->currentIndex(), before);
        QCOMPARE(int(RadioData[OptionRow][0]), before);
        QCOMPARE(squelch->focusPolicy(), Qt::StrongFocus);
    }

    void tonesShowTheirInvIndicator()
    {
        SetUpImage([&](ImageTable &image) {
            image[VfoRow][8] = 2;
            image[VfoRow][9] = 0;
            image[VfoRow][10] = 0;
            image[VfoRow][11] = 60;
        });
        open();
        QCOMPARE(shown("Combo_Decode"), QString("D017I"));
        QVERIFY(ticked("Check_DNI"));
        QCOMPARE(shown("Combo_Encode"), QString("254.1"));
        QVERIFY(!ticked("Check_ENI"));
        QCOMPARE(Cells(VfoRow, 10, 11), (std::vector<int>{0, 49})); // written back as shown
        choose("Combo_Decode", 0);
        QCOMPARE(Cells(VfoRow, 8, 9), (std::vector<int>{255, 255}));
        QVERIFY(!ticked("Check_DNI"));
    }

    void workingRangeLimitsAndChecksTheChannels()
    {
        SetUpImage([&](ImageTable &image) {
            Record::Rx.store(image, 12, "463");
            Record::Offset.fill(image, 12, 0);
        });
        main->switchLanguage(false);
        open();
        type("Text_pvfo_d0", "100");
        leave("Text_pvfo_d0");
        QCOMPARE(texts(), QStringList{"frequency of lower limit can't less than the lowest of work "
                                      "frequency. "});
        QCOMPARE(messages.back().title, QString("Operate Prompt"));
        QCOMPARE(field("Text_pvfo_d0")->text(), QString("400"));

        type("Text_pvfo_d1", "462.9");
        leave("Text_pvfo_d1");
        QCOMPARE(Cells(BandLimitRow, 0, 3), (std::vector<int>{0x00, 0x40, 0x20, 0x46}));
        QCOMPARE(BandHighMHz, 462.0);
        QCOMPARE(field("Text_pvfo_d1")->text(), QString("462"));
        QCOMPARE(messages.back().text, QString("Channel 12that Receiving or transmitting frequency "
                                               " out of frequency limitation range "));
        QCOMPARE(messages.back().title, QString("Operate prompt"));
    }

    void channelOnlyModeFixesTheWorkMode()
    {
        open();
        w<QCheckBox>("Check_Only_Chann")->click();
        QVERIFY(ticked("Option_chann") && !ticked("Option_freq"));
        QVERIFY(!w("Option_chann")->isEnabled() && !w("Option_freq")->isEnabled());
        QCOMPARE(RadioData[OptionRow][2] & 0x40, 0x40);
        QCOMPARE(RadioData[OptionRow][10] & 0x08, 0x08);
        w<QCheckBox>("Check_Only_Chann")->click();
        QVERIFY(w("Option_freq")->isEnabled() && ticked("Option_chann"));
        QCOMPARE(RadioData[OptionRow][10] & 0x08, 0);
        w<QRadioButton>("Option_freq")->click();
        QCOMPARE(RadioData[OptionRow][2] & 0x40, 0);
    }

    void powerOnPasswordAndMessage()
    {
        open(); // Chinese
        w<QCheckBox>("Check_Pon_PWD")->click();
        QVERIFY(field("Text_Pon_PWD")->isEnabled());
        QCOMPARE(RadioData[OptionRow][2] & 0x08, 0x08);
        type("Text_Pon_PWD", "12");
        leave("Text_Pon_PWD");
        QCOMPARE(texts(), QStringList{"效验码的有效长度为 4 位 ！"});
        QCOMPARE(messages.back().title, QString("Operate Prompt"));
        QTest::keyClicks(field("Text_Pon_PWD"), "345");
        QCOMPARE(field("Text_Pon_PWD")->text(), QString("1234"));
        QCOMPARE(Cells(PasswordRow, 0, 3), (std::vector<int>{1, 2, 3, 4}));

        choose("Combo_Pon_Mode", 2);
        QVERIFY(field("Text_Pon_Msg")->isEnabled());
        type("Text_Pon_Msg", "ab-1#x");
        QCOMPARE(field("Text_Pon_Msg")->text(), QString("AB-1X"));
        QCOMPARE(Cells(PasswordRow, 4, 8), (std::vector<int>{12, 13, 10, 1, 35}));
        QTest::keyClick(field("Text_Pon_Msg"), Qt::Key_Backspace);
        QCOMPARE(Cells(PasswordRow, 4, 8), (std::vector<int>{12, 13, 10, 1, 255}));

        // A paste goes through the same key rules.
        QGuiApplication::clipboard()->setText("x9 y#z\nmore");
        type("Text_Pon_Msg", "");
        QTest::keyClick(field("Text_Pon_Msg"), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field("Text_Pon_Msg")->text(), QString("X9YZ"));
        QCOMPARE(Cells(PasswordRow, 4, 8), (std::vector<int>{35, 9, 36, 37, 255}));
    }

    // The command-line report reads the same image through the same table.
    void reportAgreesWithTheWindow()
    {
        main->switchLanguage(false);
        open();
        choose("Combo_KL_Mode", 3);
        choose("Combo_Sql", 8);
        w<QCheckBox>("Check_ROGER")->click();
        choose("Combo_Sft_d", 2);
        for (const QList<ReportItem> &items : {OptionItems(RadioData), VfoItems(RadioData)}) {
            for (const ReportItem &item : items) {
                const OptionEntry *entry = FindOption(item.key);
                auto *control = entry->control.isEmpty()
                                    ? nullptr
                                    : window->findChild<QWidget *>(entry->control);
                if (auto *l = qobject_cast<QComboBox *>(control))
                    QCOMPARE(item.value, l->currentText());
                else if (auto *box = qobject_cast<QCheckBox *>(control))
                    QCOMPARE(item.value, QString(box->isChecked() ? "On" : "Off"));
                else if (auto *text = qobject_cast<QLineEdit *>(control); text && text->isVisible())
                    QCOMPARE(item.value, text->text());
            }
        }
    }

    void newImageShowsWhenItArrivesAndOnActivation()
    {
        open();
        auto image = std::make_unique<ImageTable>(RadioData);
        (*image)[OptionRow][0] = 2;
        ImageChanges::instance().replaceImage(ChangeKind::CompletedRead, *image);
        QTRY_COMPARE(shown("Combo_Sql"), QString("2"));

        SetUpCell(OptionRow, 0, 7); // not announced: shown on activation
        activateAgain();
        QCOMPARE(shown("Combo_Sql"), QString("7"));

        // The main window coming back from another program (or from a
        // message box) leaves a text being typed alone.
        SetUpCell(OptionRow, 0, 4);
        type("Text_RX_Freq", "44");
        window->activated();
        QCOMPARE(field("Text_RX_Freq")->text(), QString("44"));
        QCOMPARE(shown("Combo_Sql"), QString("7"));
    }
};

QTEST_MAIN(OptionsWindowTests)
#include "OptionsWindowTests.moc"
