// Channel windows built on their own, without the main window or the
// window registry: they are handed the sizes to place themselves by, follow
// the current channel as it is announced, and store what is typed when
// asked to, so a test needs nothing else (this one links no main window).
#include "ChannelEditWindow.h"
#include "ChannelTexts.h"
#include "FmListWindow.h"
#include "Globals.h"
#include "Messages.h"
#include "RecordCodec.h"
#include "SessionState.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <memory>

class StandaloneWindowTests : public QObject {
    Q_OBJECT
    const FrameSizes sizes{QSize(1200, 800), QSize(1180, 700)};
    QStringList messages;

private slots:
    void init()
    {
        ResetGlobals();
        ResetOpenWindows();
        messages.clear();
        SetMessageHook([this](const QString &text, const QString &) { messages << text; });
    }
    void cleanup() { SetMessageHook(nullptr); }

    void theEditWindowFollowsTheCurrentChannelAndStoresWhatIsTyped()
    {
        SessionState &session = SessionState::instance();
        session.setCurrentChannel(3);
        auto window = std::make_unique<ChannelEditWindow>();
        window->load(sizes);
        QCOMPARE(window->width(), int(1200 / 1.5)); // placed by the sizes it was handed
        QCOMPARE(window->channel(), 3);
        auto *number = window->findChild<QLineEdit *>("Text_CHN");
        QCOMPARE(number->text(), QString("3"));

        // The grid choosing a channel announces it; the form follows.
        session.setCurrentChannel(5);
        QCOMPARE(window->channel(), 5);
        QCOMPARE(number->text(), QString("5"));

        // A frequency typed and not yet left is stored when the window is
        // asked, and belongs to the channel it was typed for.
        auto *receive = window->findChild<QLineEdit *>("Text_RX_Freq");
        QTest::keyClicks(receive, "446.00625");
        QVERIFY(Record::IsEmpty(RadioData, 5));
        QVERIFY(window->commitTyped());
        QCOMPARE(ReceiveText(RadioData, 5), QString("446.00625"));

        // A frequency out of band is mended with its message (the band's
        // lower limit stored instead); nothing waits.
        receive->selectAll();
        QTest::keyClicks(receive, "480");
        QVERIFY(window->commitTyped());
        QCOMPARE(messages, QStringList{"接收频率超出范围 ！"});
        QCOMPARE(ReceiveText(RadioData, 5), QString("400.00000"));

        // Moving the form by its own number field announces the channel.
        QSignalSpy announced(&session, &SessionState::currentChannelChanged);
        number->selectAll();
        QTest::keyClicks(number, "7");
        QCOMPARE(CurrentChannel, int16_t(7));
        QCOMPARE(window->channel(), 7);
        QCOMPARE(announced.size(), 1);
    }

    void theFmListStoresItsTypedEntryWhenAsked()
    {
        auto window = std::make_unique<FmListWindow>();
        window->load(sizes);
        QCOMPARE(window->width(), 1200 / 2);
        auto *table = window->findChild<QTableWidget *>("MSF_chann");
        table->setCurrentCell(4, 1);
        window->BeginFmEdit();
        auto *edit = window->findChild<QLineEdit *>("Text_Edit");
        QVERIFY(edit->isVisible());
        edit->selectAll();
        QTest::keyClicks(edit, "100");
        QCOMPARE(FmPresets::Preset(4).get(RadioData), 255);
        QVERIFY(window->commitTyped());
        QCOMPARE(FmPresets::Preset(4).get(RadioData), 130);
        QVERIFY(messages.isEmpty());
    }
};

QTEST_MAIN(StandaloneWindowTests)
#include "StandaloneWindowTests.moc"
