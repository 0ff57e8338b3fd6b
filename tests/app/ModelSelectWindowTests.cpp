#include "Conversions.h"
#include "ImageChanges.h"
#include "ImageRoutines.h"
#include "MainWindow.h"
#include "ModelSelectWindow.h"
#include "TestImage.h"
#include "WindowCatalog.h"
#include "Windows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

void Flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

QList<int> Row(int row, int count)
{
    QList<int> cells;
    for (int c = 0; c < count; ++c)
        cells << RadioData[row][c];
    return cells;
}

} // namespace

class ModelSelectWindowTests : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        RegisterAppWindows();
        window = new MainWindow;
        window->startUp();
    }
    void cleanup()
    {
        delete window;
        Flush();
    }

    void captionsListAndPlacementInBothLanguages()
    {
        for (bool chinese : {true, false}) {
            window->switchLanguage(chinese);
            ChildWindow *w = open();
            QCOMPARE(w->objectName(), QString("Form_type"));
            QVERIFY(OpenWindows[WindowId::ModelSelect]);
            QCOMPARE(w->windowTitle(), QString(chinese ? "机型选择" : "Model Select"));
            QCOMPARE(label(w, "Label1"), QString(chinese ? "机  型" : "Model"));
            QCOMPARE(label(w, "Label2"), QString(chinese ? "主频段" : "Main band"));
            QCOMPARE(label(w, "Label3"), QString(chinese ? "副频段" : "Vice-band"));
            QCOMPARE(check(w)->text(), QString(chinese ? "接收允许" : "Receive Enabled"));
            QCOMPARE(button(w, "Command_enter")->text(), QString(chinese ? "确 定" : "Confirm"));
            QCOMPARE(button(w, "Command_Cancel")->text(), QString(chinese ? "取 消" : "Cancel"));

            QComboBox *list = combo(w);
            QCOMPARE(list->count(), 7);
            QCOMPARE(list->itemText(0), QString("QL540 UHF"));
            QCOMPARE(list->itemText(6), QString("VM90 FULL"));
            QVERIFY(!list->isEditable());

            const QSize inner = window->mdiArea()->viewport()->size();
            const QRect frame = w->parentWidget()->geometry();
            QCOMPARE(frame.width(), qRound(inner.width() / 1.8));
            // As tall as the controls: no empty band above or below them.
            QCOMPARE(frame.height(), w->parentWidget()->sizeHint().height());
            const int margin = w->layout()->contentsMargins().top();
            QCOMPARE(combo(w)->mapTo(w, QPoint(0, 0)).y(), margin);
            const QPushButton *enter = button(w, "Command_enter");
            QCOMPARE(w->height() - enter->mapTo(w, QPoint(0, enter->height())).y(),
                     w->layout()->contentsMargins().bottom());
            QCOMPARE(frame.left(), (inner.width() - frame.width()) / 2);
            QCOMPARE(frame.top(), std::max(0, (inner.height() - frame.height()) / 2 - Twips(500)));
        }
    }

    void openingShowsTheBandsWithTheirOddBlanks()
    {
        ChildWindow *w = open();
        QCOMPARE(combo(w)->currentIndex(), 0);
        QCOMPARE(label(w, "Label_band"), QString(" UHF400 -- 470 MHZ"));
        QCOMPARE(label(w, "Label_SubBand"), QString(" VHF136 --  174 MHZ"));
        QCOMPARE(window->panelText(7), QString(" 400-- 470 MHZ"));
        QVERIFY(!check(w)->isChecked());

        // Picking another model shows its table limits as main band and the
        // radio's own limits as sub band, but changes nothing yet.
        combo(w)->setCurrentIndex(1);
        QCOMPARE(label(w, "Label_band"), QString(" VHF136 --  174 MHZ"));
        QCOMPARE(label(w, "Label_SubBand"), QString(" UHF400 --  470 MHZ"));
        QTest::keyClick(combo(w), Qt::Key_Up);
        QCOMPARE(combo(w)->currentIndex(), 0);
        // The list is pick-only: typed letters do not jump to a model.
        QTest::keyClicks(combo(w), "VQv");
        QCOMPARE(combo(w)->currentIndex(), 0);
        QCOMPARE(label(w, "Label_band"), QString(" UHF400 --  470 MHZ"));
        QCOMPARE(label(w, "Label_SubBand"), QString(" VHF136 --  174 MHZ"));
        QCOMPARE(ModelIndex, int16_t(0));
    }

    void confirmSetsModelRecordVfoAndStatusBar()
    {
        ChildWindow *w = open();
        combo(w)->setCurrentIndex(1);
        QSignalSpy changes(&ImageChanges::instance(), &ImageChanges::rowsChanged);
        QTest::mouseClick(button(w, "Command_enter"), Qt::LeftButton);
        // Record and VFO are one change.
        QCOMPARE(changes.size(), 1);
        const auto change = changes.first().first().value<ImageChange>();
        QCOMPARE(change.kind, ChangeKind::ModelSelect);
        QCOMPARE(change.rows.size(), 2);
        QVERIFY(change.touches(VfoRow) && change.touches(BandLimitRow));
        QCOMPARE(Row(BandLimitRow, 4), (QList<int>{0x60, 0x13, 0x40, 0x17}));
        QCOMPARE(Row(VfoRow, 4), (QList<int>{0x00, 0x25, 0x66, 0x13}));
        QCOMPARE(ModelIndex, int16_t(1));
        QCOMPARE(BandLowMHz, 136.0);
        QCOMPARE(BandHighMHz, 174.0);
        QCOMPARE(window->panelText(7), QString(" 136-- 174 MHZ"));
        Flush();
        QVERIFY(!OpenWindows[WindowId::ModelSelect]);

        w = open();
        QCOMPARE(combo(w)->currentIndex(), 1);
        QCOMPARE(label(w, "Label_band"), QString(" VHF136 -- 174 MHZ"));
        QCOMPARE(label(w, "Label_SubBand"), QString(" UHF400 --  470 MHZ"));

        combo(w)->setCurrentIndex(6);
        QTest::mouseClick(button(w, "Command_enter"), Qt::LeftButton);
        QCOMPARE(Row(BandLimitRow, 4), (QList<int>{0x00, 0x10, 0x10, 0x60}));
        QCOMPARE(BcdToText(RadioData[0][0], RadioData[0][1], RadioData[0][2], RadioData[0][3]),
                 QString("100.62500"));
        QCOMPARE(ModelIndex, int16_t(6));
        QCOMPARE(window->panelText(7), QString(" 100-- 601 MHZ"));
        // The rest of the VFO record stays.
        QCOMPARE(RadioData[0][7], int16_t(0x01));
        QCOMPARE(RadioData[0][13], int16_t(0x20));
    }

    void cancelKeepsTheRadiosLimitsAndModel()
    {
        SetUpCell(BandLimitRow, 3, 0x48); // the radio says 400..480
        const QList<int> vfo = Row(VfoRow, 16);
        ChildWindow *w = open();
        QCOMPARE(label(w, "Label_band"), QString(" UHF400 -- 480 MHZ"));
        combo(w)->setCurrentIndex(2);
        QCOMPARE(label(w, "Label_SubBand"), QString(" UHF400 --  480 MHZ"));
        QTest::mouseClick(button(w, "Command_Cancel"), Qt::LeftButton);
        Flush();
        QVERIFY(!OpenWindows[WindowId::ModelSelect]);
        QCOMPARE(BandLowMHz, 400.0);
        QCOMPARE(BandHighMHz, 480.0);
        QCOMPARE(ModelIndex, int16_t(0));
        QCOMPARE(window->panelText(7), QString(" 400-- 470 MHZ"));
        QCOMPARE(Row(BandLimitRow, 4), (QList<int>{0x00, 0x40, 0x00, 0x48}));
        QCOMPARE(Row(VfoRow, 16), vfo);
    }

    void subBandSwitchActsAtOnceOnBit7Only()
    {
        SetUpCell(OptionRow, 7, 0x05);
        ChildWindow *w = open();
        QVERIFY(!check(w)->isChecked());
        QSignalSpy changes(&ImageChanges::instance(), &ImageChanges::rowsChanged);
        QTest::mouseClick(check(w), Qt::LeftButton);
        QCOMPARE(RadioData[OptionRow][7], int16_t(0x85));
        QCOMPARE(changes.size(), 1);
        QVERIFY(changes.first().first().value<ImageChange>().touches(OptionRow));
        QTest::mouseClick(button(w, "Command_Cancel"), Qt::LeftButton);
        Flush();
        QCOMPARE(RadioData[OptionRow][7], int16_t(0x85));

        w = open();
        QVERIFY(check(w)->isChecked());
        QTest::mouseClick(check(w), Qt::LeftButton);
        QCOMPARE(RadioData[OptionRow][7], int16_t(0x05));
    }

private:
    static ChildWindow *open()
    {
        Windows::Open(WindowId::ModelSelect);
        return Windows::Find(WindowId::ModelSelect);
    }
    static QString label(QWidget *w, const char *name)
    {
        return w->findChild<QLabel *>(name)->text();
    }
    static QPushButton *button(QWidget *w, const char *name)
    {
        return w->findChild<QPushButton *>(name);
    }
    static QComboBox *combo(QWidget *w) { return w->findChild<QComboBox *>("Combo_type"); }
    static QCheckBox *check(QWidget *w) { return w->findChild<QCheckBox *>("Check_SC"); }

    MainWindow *window = nullptr;
};

QTEST_MAIN(ModelSelectWindowTests)
#include "ModelSelectWindowTests.moc"
