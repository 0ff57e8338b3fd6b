// A radio that never answers: the same four attempts as the read window,
// then the failure message, exit code 1, and no file.
#include "CliTestSupport.h"

#include <QElapsedTimer>
#include <QFile>

TEST(SilentRadio, ReadFailsAfterTheRetriesAndLeavesTheFileAlone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath("radio.chann");
    QFile existing(out);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("yesterday's radio");
    existing.close();

    SimulatedRadio sim({"--no-pace", "--silent"});
    ASSERT_FALSE(sim.device().isEmpty());
    QElapsedTimer clock;
    clock.start();
    const CliRun run = RunCli({"read", "--port", sim.device(), "--output", out});
    const qint64 elapsed = clock.elapsed();

    EXPECT_EQ(run.exitCode, 1);
    const QStringList lines = run.err.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << run.err.toStdString();
    EXPECT_EQ(lines.at(0), "  0%  Connecting with transceiver.");
    EXPECT_EQ(lines.at(1), "Fail connect with transceiver.");
    // Three retry delays of 5 s lie between the four attempts.
    EXPECT_GE(elapsed, 15000);

    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), "yesterday's radio");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"radio.chann"});
}
