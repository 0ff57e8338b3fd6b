#include "ChannelFile.h"
#include "FileWindows.h"
#include "ImageChanges.h"
#include "ImageOrigin.h"
#include "KeepingUi.h"
#include "MainWindow.h"
#include "Messages.h"
#include "UndoHistory.h"
#include "WindowCatalog.h"
#include "WorkKeeper.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

namespace {

void Edit(int row, int16_t value)
{
    ImageChanges::instance().apply(ChangeKind::CellEdit,
                                   [row, value](ImageTable &image) { image[row][3] = value; });
}

QStringList ActionTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << action->text();
    return texts;
}

} // namespace

class KeepingUiTests : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        messages.clear();
        SetMessageHook([this](const QString &text, const QString &) { messages << text; });
        RegisterAllWindows();
        keeper = std::make_unique<WorkKeeper>(dir->path());
        QVERIFY(keeper->start());
        window = std::make_unique<MainWindow>();
        ui = new KeepingUi(*window, *keeper);
        window->startUp();
        label = window->findChild<QLabel *>(QStringLiteral("Label_work"));
        recentFiles = window->findChild<QMenu *>(QStringLiteral("File_recent"));
        recentReads = window->findChild<QMenu *>(QStringLiteral("File_recent_reads"));
        QVERIFY(label && recentFiles && recentReads);
    }
    void cleanup()
    {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        keeper.reset();
        SetMessageHook(nullptr);
        SetRecoveryAnswerHook(nullptr);
    }

    void theListsSitInTheFileMenuAboveExitInBothLanguages()
    {
        const QList<QAction *> file = window->findChild<QMenu *>(QStringLiteral("File"))->actions();
        const auto at = [&file](const char *name) {
            for (int i = 0; i < file.size(); ++i)
                if (file[i]->objectName() == QLatin1String(name))
                    return i;
            return -1;
        };
        QVERIFY(at("File_saveas") < at("File_recent"));
        QVERIFY(at("File_recent") < at("File_recent_reads"));
        QVERIFY(at("File_recent_reads") < at("File_exit"));
        QCOMPARE(recentFiles->title(), QStringLiteral("最近文件"));
        QCOMPARE(recentReads->title(), QStringLiteral("最近读取"));
        QCOMPARE(label->text(), QStringLiteral("未命名"));
        window->switchLanguage(false);
        QCOMPARE(recentFiles->title(), QStringLiteral("Recent files"));
        QCOMPARE(recentReads->title(), QStringLiteral("Recent reads"));
        QCOMPARE(label->text(), QStringLiteral("Untitled"));
        // The specified captions stay as they are.
        QCOMPARE(
            window->windowTitle(),
            QStringLiteral("Norvale TARVEX Electronic Co.,Ltd. QL540 series program software "));
        QCOMPARE(window->panelText(2), QString());
    }

    void theLabelFollowsEditsSavesAndReads()
    {
        Edit(5, 42);
        QCOMPARE(label->text(), QStringLiteral("● 未命名（有未保存的修改）"));
        const QString saved = dir->filePath(QStringLiteral("radio.chann"));
        ChannelFileError error;
        QVERIFY(WriteChannelFile(saved, RadioData, &error));
        ImageOrigin::instance().fileSaved(saved);
        QCOMPARE(label->text(), QStringLiteral("radio.chann"));
        QCOMPARE(label->toolTip(), QDir::toNativeSeparators(saved));
        emit recentFiles->aboutToShow();
        QCOMPARE(recentFiles->actions().size(), 1);
        QCOMPARE(recentFiles->actions()[0]->data().toString(), saved);
        ImageOrigin::instance().radioRead();
        QVERIFY(label->text().startsWith(QStringLiteral("读取于 ")));
    }

    void aRecentReadOpensThroughTheOpenPath()
    {
        emit recentReads->aboutToShow();
        QCOMPARE(ActionTexts(recentReads), QStringList{QStringLiteral("（无）")});
        Edit(230, 99);
        ImageOrigin::instance().radioRead(); // backed up with 99
        Edit(230, 1);
        emit recentReads->aboutToShow();
        QCOMPARE(recentReads->actions().size(), 1);
        QCOMPARE(recentReads->actions()[0]->text(), BackupMenuText(keeper->backups()[0].readAt));
        recentReads->actions()[0]->trigger();
        QCOMPARE(RadioData[230][3], int16_t(99));
        QCOMPARE(messages, QStringList{QStringLiteral("信道参数从文件调入成功 ！")});
        QVERIFY(!keeper->isModified());

        // A damaged backup is refused with the open window's message and
        // leaves the image alone.
        QFile damaged(keeper->backups()[0].path);
        QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write("1 2 3");
        damaged.close();
        messages.clear();
        Edit(230, 5);
        recentReads->actions()[0]->trigger();
        QCOMPARE(RadioData[230][3], int16_t(5));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains(QStringLiteral("信道参数没有调入")));
    }

    // The unsaved mark and the recovery file follow the undo history: back
    // at what was saved or opened nothing is unsaved, a step away it is.
    void theMarkAndTheRecoveryFileFollowUndoAndRedo()
    {
        UndoHistory *history = window->history();
        const QString unsaved = QStringLiteral("● 未命名（有未保存的修改）");
        Edit(5, 42);
        QCOMPARE(label->text(), unsaved);
        QTRY_VERIFY(QFile::exists(keeper->recoveryImagePath()));
        history->undo();
        QCOMPARE(label->text(), QStringLiteral("未命名"));
        QVERIFY(!QFile::exists(keeper->recoveryImagePath()));
        history->redo();
        QCOMPARE(label->text(), unsaved);
        QTRY_VERIFY(QFile::exists(keeper->recoveryImagePath()));

        const QString saved = dir->filePath(QStringLiteral("radio.chann"));
        ChannelFileError error;
        QVERIFY(WriteChannelFile(saved, RadioData, &error));
        ImageOrigin::instance().fileSaved(saved);
        Edit(6, 7);
        QVERIFY(keeper->isModified());
        history->undo();
        QCOMPARE(label->text(), QStringLiteral("radio.chann"));
        QVERIFY(!QFile::exists(keeper->recoveryImagePath()));
        history->undo(); // before the save
        QCOMPARE(label->text(), QStringLiteral("● radio.chann（有未保存的修改）"));
        history->redo();
        QVERIFY(!keeper->isModified());

        // An opened file: undoing the opening is a change, redoing it is not.
        Edit(6, 9);
        QVERIFY(OpenChannelFileAt(saved, window.get()));
        QVERIFY(!keeper->isModified());
        history->undo();
        QVERIFY(keeper->isModified());
        QTRY_VERIFY(QFile::exists(keeper->recoveryImagePath()));
        history->redo();
        QVERIFY(!keeper->isModified());
        QCOMPARE(label->text(), QStringLiteral("radio.chann"));
        // No recovery write is left pending.
        QTest::qWait(2 * RecoveryWriteDelayMs);
        QVERIFY(!QFile::exists(keeper->recoveryImagePath()));
    }

    // Closing the program is no undo: the unsaved work stays for next time.
    void unsavedWorkOutlivesTheWindows()
    {
        Edit(5, 42);
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(keeper->isModified());
        keeper->finish();
        QVERIFY(QFile::exists(keeper->recoveryImagePath()));
    }

    void aMissingRecentFileIsReportedAndDropped()
    {
        const QString gone = dir->filePath(QStringLiteral("gone.chann"));
        ImageOrigin::instance().fileSaved(gone); // listed, but never written
        emit recentFiles->aboutToShow();
        recentFiles->actions()[0]->trigger();
        QCOMPARE(messages.size(), 1);
        QVERIFY(keeper->recentFiles().isEmpty());
    }

    void theOfferRestoresAsOneChange()
    {
        // An ended run's work, as a killed program leaves it.
        {
            WorkKeeper ended(dir->path());
            QVERIFY(ended.start());
            Edit(231, 78);
            ended.finish();
        }
        Edit(231, 0);
        QStringList offers;
        SetRecoveryAnswerHook([&offers](const QString &text) {
            offers << text;
            return RecoveryAnswer::Restore;
        });
        ui->offerRecovery();
        QCOMPARE(offers.size(), 1);
        QCOMPARE(RadioData[231][3], int16_t(78));
        QVERIFY(label->text().startsWith(QStringLiteral("●")));
        ui->offerRecovery();
        QCOMPARE(offers.size(), 1); // once
    }

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<WorkKeeper> keeper;
    std::unique_ptr<MainWindow> window;
    KeepingUi *ui = nullptr;
    QLabel *label = nullptr;
    QMenu *recentFiles = nullptr;
    QMenu *recentReads = nullptr;
    QStringList messages;
};

QTEST_MAIN(KeepingUiTests)
#include "KeepingUiTests.moc"
