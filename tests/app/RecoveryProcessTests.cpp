// The program run as a process of its own (headless), ended the hard way
// and started again: unsaved work must come back byte for byte, and only
// unsaved work, and only once.
#include "ChannelFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <memory>

namespace {

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Run {
    QByteArray output;
    int offers() const
    {
        return int(output.count("\nOFFER ") + (output.startsWith("OFFER ") ? 1 : 0));
    }
};

} // namespace

class RecoveryProcessTests : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        home = std::make_unique<QTemporaryDir>();
        QVERIFY(home->isValid());
        outputs.clear();
    }

    void workKilledMidEditComesBackByteForByte()
    {
        const QString expected = home->filePath(QStringLiteral("expected.chann"));
        // Edits, records what it holds, edits on... and is killed.
        auto running = startProgram({QStringLiteral("edit:11"), QStringLiteral("edit:12"),
                                     QStringLiteral("image:") + expected});
        QVERIFY(waitForRecoveryFile(*running, expected));
        kill(*running);

        // The next start offers the work once; restoring brings it back.
        const QString restored = home->filePath(QStringLiteral("restored.chann"));
        Run second = runProgram({QStringLiteral("--answer=restore"),
                                 QStringLiteral("image:") + restored, QStringLiteral("exit")});
        QCOMPARE(second.offers(), 1);
        QVERIFY(second.output.contains("The last run ended with unsaved changes"));
        QVERIFY(second.output.contains("上次运行结束时有未保存的修改"));
        QCOMPARE(FileBytes(restored), FileBytes(expected));

        // Restored work is unsaved work again: a plain Exit keeps it.
        Run third = runProgram({QStringLiteral("--answer=discard"), QStringLiteral("exit")});
        QCOMPARE(third.offers(), 1);
        // Discarded means gone: no offer any more.
        QCOMPARE(runProgram({QStringLiteral("exit")}).offers(), 0);
    }

    void noOfferAfterACleanSaveEvenWhenKilled()
    {
        const QString saved = home->filePath(QStringLiteral("saved.chann"));
        auto running = startProgram({QStringLiteral("edit:21"), QStringLiteral("save:") + saved});
        QTRY_VERIFY_WITH_TIMEOUT(output(*running).contains("DONE"), 20000);
        QVERIFY(output(*running).contains("MESSAGE 信道参数保存完毕 ！"));
        QTest::qWait(500); // longer than the recovery write delay
        kill(*running);
        QVERIFY(!FileBytes(saved).isEmpty());
        QCOMPARE(runProgram({QStringLiteral("--answer=restore"), QStringLiteral("exit")}).offers(),
                 0);
    }

    void aSecondRunningProgramLeavesTheFirstOnesWorkAlone()
    {
        const QString expected = home->filePath(QStringLiteral("first.chann"));
        auto first = startProgram({QStringLiteral("edit:31"), QStringLiteral("image:") + expected});
        QVERIFY(waitForRecoveryFile(*first, expected));
        QCOMPARE(runProgram({QStringLiteral("--answer=restore"), QStringLiteral("exit")}).offers(),
                 0);
        kill(*first);
        const QString restored = home->filePath(QStringLiteral("restored.chann"));
        QCOMPARE(runProgram({QStringLiteral("--answer=restore"),
                             QStringLiteral("image:") + restored, QStringLiteral("exit")})
                     .offers(),
                 1);
        QCOMPARE(FileBytes(restored), FileBytes(expected));
    }

    // A file the program is started with (a double-clicked file) opens
    // first; unsaved work of a killed run is offered after it, so a restore
    // is what the user ends up with, and a discard leaves the file.
    void aFileGivenAtStartOpensBeforeTheOfferToRestore()
    {
        const QString file = home->filePath(QStringLiteral("given.chann"));
        QCOMPARE(runProgram({QStringLiteral("edit:41"), QStringLiteral("save:") + file,
                             QStringLiteral("exit")})
                     .offers(),
                 0);
        const QString work = home->filePath(QStringLiteral("work.chann"));
        auto killed = startProgram({QStringLiteral("edit:42"), QStringLiteral("image:") + work});
        QVERIFY(waitForRecoveryFile(*killed, work));
        kill(*killed);

        const QString restored = home->filePath(QStringLiteral("restored.chann"));
        Run run = runProgram({QStringLiteral("--open=") + file, QStringLiteral("--answer=restore"),
                              QStringLiteral("image:") + restored, QStringLiteral("exit")});
        QCOMPARE(run.offers(), 1);
        QCOMPARE(FileBytes(restored), FileBytes(work));

        const QString opened = home->filePath(QStringLiteral("opened.chann"));
        run = runProgram({QStringLiteral("--open=") + file, QStringLiteral("--answer=discard"),
                          QStringLiteral("image:") + opened, QStringLiteral("exit")});
        QCOMPARE(run.offers(), 1);
        QCOMPARE(FileBytes(opened), FileBytes(file));
    }

private:
    std::unique_ptr<QProcess> startProgram(const QStringList &arguments)
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // Where the user's application data folder lies on Linux.
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home->path());
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(PROGRAM_DRIVER), arguments);
        if (!process->waitForStarted(10000))
            qWarning("the program did not start");
        return process;
    }

    Run runProgram(const QStringList &arguments)
    {
        auto process = startProgram(arguments);
        if (!process->waitForFinished(30000))
            qWarning("the program did not end");
        return {process->readAllStandardOutput()};
    }

    QByteArray output(QProcess &process)
    {
        outputs[&process] += process.readAllStandardOutput();
        return outputs[&process];
    }

    static void kill(QProcess &process)
    {
        process.kill(); // SIGKILL
        process.waitForFinished(10000);
    }

    // The running program's recovery file holds the expected image.
    bool waitForRecoveryFile(QProcess &process, const QString &expectedPath)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 20000) {
            // The program names its data folder first.
            const QByteArray said = output(process);
            const qsizetype data = said.indexOf("DATA ");
            const QDir folder(
                QString::fromUtf8(said.mid(data + 5, said.indexOf('\n', data) - data - 5))
                + QStringLiteral("/recovery"));
            const QByteArray expected = FileBytes(expectedPath);
            if (data >= 0 && !expected.isEmpty())
                for (const QString &name :
                     folder.entryList({QStringLiteral("work-*.chann")}, QDir::Files))
                    if (FileBytes(folder.filePath(name)) == expected)
                        return true;
            QTest::qWait(50);
        }
        return false;
    }

    std::unique_ptr<QTemporaryDir> home;
    std::map<QProcess *, QByteArray> outputs;
};

QTEST_GUILESS_MAIN(RecoveryProcessTests)
#include "RecoveryProcessTests.moc"
