#include "ImageRoutines.h"
#include "MainWindow.h"
#include "Messages.h"
#include "OpenWindows.h"
#include "TestImage.h"
#include "WindowCatalog.h"
#include "Windows.h"

#include <QAction>
#include <QComboBox>
#include <QTableWidget>
#include <QTest>
#include <map>

// A switch reloads every open window in the new language from the same
// image: captions change, nothing is stored, no list fills up twice.
class LanguageSwitchTests : public QObject {
    Q_OBJECT
private slots:
    void switchingBackAndForthKeepsDataAndLists()
    {
        RegisterAllWindows();
        MainWindow window;
        window.startUp();
        QStringList messages;
        SetMessageHook([&](const QString &text, const QString &) { messages << text; });
        SetUpImage([](ImageTable &image) {
            StoreFrequency(image, QStringLiteral("438.5"), 5, 0);
            StoreFrequency(image, QStringLiteral("7.6"), 5, 4);
            image[5][12] = 0x42;
            image[5][13] = 0x20;
        });
        for (const char *menu :
             {"Optional_edit", "Test_edit", "Menu_About", "Prog_read", "Channel_edit"})
            window.findChild<QAction *>(menu)->trigger();
        const ImageTable image = RadioData;
        const std::map<QString, int> lists = listSizes();
        QVERIFY(lists.count("frm_option.Combo_Sql") && lists.count("frm_option.Combo_Decode"));
        const QString receive = gridCell(5, 1);
        QCOMPARE(receive, QString("438.50000"));

        const auto expect = [&](bool chinese) {
            window.switchLanguage(chinese);
            QCOMPARE(title(WindowId::Options), Tr(chinese, "可选参数", "Optional Features"));
            QCOMPARE(title(WindowId::Read),
                     Tr(chinese, "从对讲机读取数据", "Read Data From Radio"));
            QCOMPARE(title(WindowId::About), Tr(chinese, "关于", "About"));
            QVERIFY(title(WindowId::ChannelGrid)
                        .startsWith(Tr(chinese, "信道参数编辑", "Channel Information")));
            QVERIFY(Windows::IsOpen(WindowId::FmList));
            QVERIFY(RadioData == image);
            QVERIFY(listSizes() == lists);
            QCOMPARE(gridCell(5, 1), receive);
            QCOMPARE(gridCell(5, 2), QString("446.10000"));
        };
        expect(false);
        expect(true);
        QCOMPARE(messages, QStringList());
        SetMessageHook(nullptr);
    }

private:
    static QString Tr(bool chinese, const char *zh, const char *en)
    {
        return QString::fromUtf8(chinese ? zh : en);
    }
    static QString title(WindowId id)
    {
        QWidget *w = Windows::Find(id);
        return w ? w->windowTitle() : QString();
    }
    static QString gridCell(int channel, int column)
    {
        auto *table = Windows::Find(WindowId::ChannelGrid)->findChild<QTableWidget *>("MSF_chann");
        return table->item(channel - 1, column)->text();
    }
    // Item counts of every list of every open window, by window and name.
    static std::map<QString, int> listSizes()
    {
        std::map<QString, int> sizes;
        for (int i = 0; i < WindowCount; ++i)
            if (QWidget *w = Windows::Find(WindowId(i)))
                for (QComboBox *list : w->findChildren<QComboBox *>())
                    sizes[w->objectName() + u'.' + list->objectName()] = list->count();
        return sizes;
    }
};

QTEST_MAIN(LanguageSwitchTests)
#include "LanguageSwitchTests.moc"
