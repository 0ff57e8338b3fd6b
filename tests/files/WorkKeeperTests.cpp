#include "ChannelFile.h"
#include "ImageChanges.h"
#include "ImageOrigin.h"
#include "WorkKeeper.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>
#ifdef _WIN32
#include <QProcess>
#include <cstdlib>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

bool SameUsedCells(const ImageTable &a, const ImageTable &b)
{
    for (int r = 0; r < UsedRows; ++r)
        for (int c = 0; c < BlockSize; ++c)
            if (a[r][c] != b[r][c])
                return false;
    return true;
}

// A user's edit: one change through the change path.
void Edit(quint32 seed)
{
    QRandomGenerator random(seed);
    ImageChanges::instance().apply(ChangeKind::CellEdit, [&random](ImageTable &image) {
        for (int r = 0; r < UsedRows; ++r)
            for (int c = 0; c < BlockSize; ++c)
                image[r][c] = int16_t(random.bounded(256));
    });
}

std::unique_ptr<ImageTable> Read(const QString &path)
{
    auto image = std::make_unique<ImageTable>();
    ChannelFileError error;
    return ReadChannelFile(path, *image, &error) ? std::move(image) : nullptr;
}

QStringList FilesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

class WorkKeeperTests : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        ResetGlobals();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
    }

    void unsavedWorkReachesTheRecoveryFileAndSavingRemovesIt()
    {
        WorkKeeper keeper(dir->path());
        QVERIFY(keeper.start());
        QVERIFY(!keeper.isModified());
        Edit(1);
        QVERIFY(keeper.isModified());
        // A burst of changes is written together, a moment later.
        Edit(2);
        QVERIFY(!QFile::exists(keeper.recoveryImagePath()));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(keeper.recoveryImagePath()), 2000);
        auto kept = Read(keeper.recoveryImagePath());
        QVERIFY(kept && SameUsedCells(*kept, RadioData));

        const QString saved = dir->filePath(QStringLiteral("saved.chann"));
        ImageOrigin::instance().fileSaved(saved);
        QVERIFY(!keeper.isModified());
        QVERIFY(!QFile::exists(keeper.recoveryImagePath()));
        QCOMPARE(keeper.source().origin, WorkOrigin::File);
        QCOMPARE(keeper.recentFiles(), QStringList{saved});

        // A change right before the save is not written after it.
        Edit(3);
        ImageOrigin::instance().fileOpened(saved);
        QTest::qWait(RecoveryWriteDelayMs * 2);
        QVERIFY(!QFile::exists(keeper.recoveryImagePath()));
    }

    void theEndOfARunKeepsOnlyUnsavedWork()
    {
        QString path;
        {
            WorkKeeper keeper(dir->path());
            QVERIFY(keeper.start());
            path = keeper.recoveryImagePath();
            Edit(4);
            // Ended before the delayed write: the end writes it.
        }
        auto kept = Read(path);
        QVERIFY(kept && SameUsedCells(*kept, RadioData));
        QVERIFY(!QFile::exists(path.chopped(6) + QStringLiteral(".lock")));

        WorkKeeper clean(dir->path());
        QVERIFY(clean.start());
        const QList<RecoveryCandidate> left = clean.claimOrphans();
        QCOMPARE(left.size(), 1);
        clean.discard(left[0].id);
        Edit(5);
        ImageOrigin::instance().fileSaved(dir->filePath(QStringLiteral("x.chann")));
        clean.finish();
        QCOMPARE(FilesIn(clean.recoveryFolder()), QStringList());
    }

    void aRunningProgramsFileIsNeverTakenAnEndedOnesIsRestoredOnce()
    {
        auto first = std::make_unique<WorkKeeper>(dir->path());
        QVERIFY(first->start());
        Edit(6);
        const QString file = dir->filePath(QStringLiteral("radio.chann"));
        ImageOrigin::instance().fileSaved(file);
        Edit(7);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(first->recoveryImagePath()), 2000);
        const ImageTable edited = RadioData;

        WorkKeeper second(dir->path());
        QVERIFY(second.start());
        QVERIFY(second.claimOrphans().isEmpty()); // the first is still running

        first.reset(); // ends with unsaved work
        ResetGlobals();
        // Put off ("later"): it stays, to be offered again.
        const QList<RecoveryCandidate> putOff = second.claimOrphans();
        QCOMPARE(putOff.size(), 1);
        second.release(putOff[0].id);
        const QList<RecoveryCandidate> candidates = second.claimOrphans();
        QCOMPARE(candidates.size(), 1);
        QCOMPARE(candidates[0].id, putOff[0].id);
        QCOMPARE(candidates[0].source.path, file);
        // Claimed by the second: a third program does not see it.
        WorkKeeper third(dir->path());
        QVERIFY(third.start());
        QVERIFY(third.claimOrphans().isEmpty());

        QSignalSpy changes(&ImageChanges::instance(), &ImageChanges::rowsChanged);
        ChannelFileError error;
        QVERIFY(second.restore(candidates[0].id, &error));
        QVERIFY(SameUsedCells(RadioData, edited));
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes[0][0].value<ImageChange>().kind, ChangeKind::Recovered);
        QVERIFY(second.isModified());
        QCOMPARE(second.source().path, file);
        // Now the second's own file holds the work; the old one is gone.
        auto kept = Read(second.recoveryImagePath());
        QVERIFY(kept && SameUsedCells(*kept, edited));
        QVERIFY(!QFile::exists(
            QDir(second.recoveryFolder()).filePath(RecoveryFilesOf(candidates[0].id).image)));
        QVERIFY(third.claimOrphans().isEmpty());
    }

    void theFileOfAKilledProgramIsOffered()
    {
        // A child process takes a recovery slot, writes its image and is
        // killed: its lock file stays behind with a process id now gone.
        QString folder = QDir(dir->path()).filePath(QStringLiteral("recovery"));
        QVERIFY(QDir().mkpath(folder));
        QString id = RecoveryId(QDateTime::currentDateTime().addSecs(-5), 1);
#ifdef Q_OS_WIN
        // Run again as the child (there is no fork): its folder and slot
        // come from the parent.
        const QStringList asChild =
            qEnvironmentVariable("QL540_KILLED_CHILD").split(u'|', Qt::SkipEmptyParts);
        if (asChild.size() == 2) {
            folder = asChild[0];
            id = asChild[1];
        }
#endif
        const RecoveryFileNames names = RecoveryFilesOf(id);
        Edit(8);
        const ImageTable edited = RadioData;
        // The child's work: lock, write, and end without a word while it
        // holds the lock, as a killed program does.
        auto childWork = [&](auto die) {
            QLockFile lock(QDir(folder).filePath(names.lock));
            lock.setStaleLockTime(0);
            ChannelFileError error;
            if (lock.tryLock(0)
                && WriteChannelFile(QDir(folder).filePath(names.image), RadioData, &error))
                die();
        };
#ifdef Q_OS_WIN
        if (asChild.size() == 2) {
            childWork([] { std::_Exit(9); });
            std::_Exit(1);
        }
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QL540_KILLED_CHILD"), folder + u'|' + id);
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("theFileOfAKilledProgramIsOffered")});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 9);
#else
        const pid_t child = fork();
        if (child == 0) {
            childWork([] { raise(SIGKILL); });
            _exit(1);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
#endif
        QVERIFY(QFile::exists(QDir(folder).filePath(names.lock)));

        ResetGlobals();
        WorkKeeper keeper(dir->path());
        QVERIFY(keeper.start());
        const QList<RecoveryCandidate> candidates = keeper.claimOrphans();
        QCOMPARE(candidates.size(), 1);
        QCOMPARE(candidates[0].id, id);
        QCOMPARE(candidates[0].source.origin, WorkOrigin::None); // no description written
        ChannelFileError error;
        QVERIFY(keeper.restore(id, &error));
        QVERIFY(SameUsedCells(RadioData, edited));
    }

    void everyReadIsBackedUpAndTheLastFiftyAreKept()
    {
        WorkKeeper keeper(dir->path());
        QVERIFY(keeper.start());
        const QDir backups(keeper.backupFolder());
        QVERIFY(QDir().mkpath(backups.path()));
        // Fifty earlier reads and two files that are not backups.
        const QDateTime first = QDateTime::currentDateTime().addDays(-3);
        for (int i = 0; i < BackupsKept; ++i) {
            ChannelFileError error;
            QVERIFY(WriteChannelFile(backups.filePath(BackupFileName(first.addSecs(i * 60))),
                                     RadioData, &error));
        }
        for (const char *other : {"notes.txt", "radio.chann"}) {
            QFile file(backups.filePath(QString::fromLatin1(other)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }

        Edit(9);
        QSignalSpy listed(&keeper, &WorkKeeper::backupsChanged);
        ImageOrigin::instance().radioRead();
        QCOMPARE(listed.size(), 1);
        QVERIFY(!keeper.isModified());
        const QList<BackupEntry> entries = keeper.backups();
        QCOMPARE(entries.size(), BackupsKept);
        // The new read is first and holds the image; the oldest went.
        auto newest = Read(entries[0].path);
        QVERIFY(newest && SameUsedCells(*newest, RadioData));
        QCOMPARE(keeper.source(), (WorkSource{WorkOrigin::Read, entries[0].path}));
        QVERIFY(!backups.exists(BackupFileName(first)));
        QVERIFY(backups.exists(BackupFileName(first.addSecs(60))));
        QVERIFY(backups.exists(QStringLiteral("notes.txt"))
                && backups.exists(QStringLiteral("radio.chann")));

        // Two reads within one millisecond keep both.
        ImageOrigin::instance().radioRead();
        ImageOrigin::instance().radioRead();
        const QList<BackupEntry> after = keeper.backups();
        QCOMPARE(after.size(), BackupsKept);
        QCOMPARE(FilesIn(backups.path()).size(), BackupsKept + 2);
        const auto newer =
            std::count_if(after.begin(), after.end(), [&first](const BackupEntry &entry) {
                return entry.readAt > first.addDays(1);
            });
        QCOMPARE(newer, 3);

        // Opening a backup counts as that read, not as a recent file.
        ImageOrigin::instance().fileOpened(entries[0].path);
        QCOMPARE(keeper.source().origin, WorkOrigin::Read);
        QVERIFY(keeper.recentFiles().isEmpty());
    }

    void aBackupThatCannotBeWrittenIsReported()
    {
        WorkKeeper keeper(dir->path());
        QVERIFY(keeper.start());
        // A plain file where the backup folder should be.
        QFile blocker(keeper.backupFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QSignalSpy failed(&keeper, &WorkKeeper::backupFailed);
        Edit(10);
        ImageOrigin::instance().radioRead();
        QCOMPARE(failed.size(), 1);
        QVERIFY(!failed[0][0].value<BilingualText>().english.isEmpty());
        QCOMPARE(keeper.source(), (WorkSource{WorkOrigin::Read, {}}));
    }

private:
    std::unique_ptr<QTemporaryDir> dir;
};

QTEST_GUILESS_MAIN(WorkKeeperTests)
#include "WorkKeeperTests.moc"
