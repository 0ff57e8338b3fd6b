// ql540 read and write against the simulated radio on a pseudo-terminal
// (unpaced: the protocol is the same, only faster).
#include "CliTestSupport.h"
#include "ImageRoutines.h"
#include "WritePreparation.h"

#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <unistd.h>

namespace {

class Transfers : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ResetGlobals();
    }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(Transfers, ReadSavesTheRadiosBlocksOverTheStartUpImage)
{
    // Any byte values at all, in every block the radio has.
    ImageTable radio = StartUpImage();
    QRandomGenerator random(540);
    for (int r = 0; r < UsedRows; ++r)
        for (int c = 0; c < BlockSize; ++c)
            radio[r][c] = int16_t(random.bounded(256));
    SaveImage(path("radio.chann"), radio);
    // An older file of the same name is replaced.
    QFile old(path("read.chann"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();

    SimulatedRadio sim({"--no-pace", "--image", path("radio.chann")});
    ASSERT_FALSE(sim.device().isEmpty());
    const CliRun run = RunCli({"read", "--port", sim.device(), "--output", path("read.chann")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    const ImageTable read = LoadImage(path("read.chann"));
    EXPECT_TRUE(SameRows(read, radio, 0, ReadBlockCount - 1));
    // Rows 254 and 255 are never sent: they keep the start-up image.
    EXPECT_TRUE(SameRows(read, StartUpImage(), ReadBlockCount, UsedRows - 1));

    // Not a terminal: plain percentage lines, then the completion notice.
    const QStringList lines = run.err.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 12) << run.err.toStdString();
    EXPECT_EQ(lines.first(), "  0%  Connecting with transceiver.");
    EXPECT_EQ(lines.at(10), "100%  Read Data in gear.");
    EXPECT_EQ(lines.last(), "Complete reading the data from transceiver.");
    EXPECT_TRUE(run.out.isEmpty());
}

TEST_F(Transfers, WriteSendsTheFileAfterTheWritePreparation)
{
    ImageTable file = StartUpImage();
    ProgramChannel(file, 1, "446.00625");
    ProgramChannel(file, 9, "438.5", "7.6", 1);
    ProgramChannel(file, 128, "400");
    file[OptionRow][1] |= 0x10; // cleared by the preparation
    file[OptionRow][12] = 77; // power-on channel, recomputed
    file[CalibrationRow][0] = 12; // block 240 is never written
    file[239][15] = 0xAB; // the last block that is
    SaveImage(path("plan.chann"), file);

    SimulatedRadio sim({"--no-pace", "--dump", path("dump.chann")});
    const CliRun run = RunCli({"write", "--quiet", "--port", sim.device(), path("plan.chann")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString(); // quiet
    sim.stop();
    const ImageTable radio = LoadImage(path("dump.chann"));

    ASSERT_FALSE(PrepareWrite(file).has_value());
    EXPECT_TRUE(SameRows(radio, file, 0, WriteBlockCount - 1));
    EXPECT_EQ(radio[OptionRow][12], 1);
    EXPECT_EQ(radio[OptionRow][1] & 0x10, 0);
    EXPECT_EQ(radio[ChannelMapRow][0], 0xFE);
    EXPECT_EQ(radio[ChannelMapRow][1], 0xFE);
    EXPECT_EQ(radio[ChannelMapRow][15], 0x7F);
    EXPECT_EQ(radio[IdentRow][0], 'Q');
    EXPECT_EQ(radio[239][15], 0xAB);
    // Blocks 240.. keep what the radio had.
    EXPECT_TRUE(SameRows(radio, StartUpImage(), WriteBlockCount, UsedRows - 1));
}

TEST_F(Transfers, AWriteOutsideTheBandIsRefusedAndSendsNothing)
{
    struct Case {
        int channel; // 0: the VFO
        const char *rx;
        QString message;
    };
    const QList<Case> cases{
        {5, "145",
         QStringLiteral("Channel 5that Receiving or transmitting frequency  out of "
                        "frequency limitation range ")},
        {0, "480",
         QStringLiteral("Receiving or transmitting frequency that frequency Mode out of "
                        "frequency limitation range ")},
    };
    for (const Case &c : cases) {
        ImageTable bad = StartUpImage();
        ProgramChannel(bad, 1, "446");
        if (c.channel == 0)
            StoreFrequency(bad, QString::fromLatin1(c.rx), VfoRow, 0);
        else
            ProgramChannel(bad, c.channel, c.rx);
        SaveImage(path("bad.chann"), bad);
        QFile::remove(path("dump.chann"));

        SimulatedRadio sim({"--no-pace", "--log", "--dump", path("dump.chann")});
        const CliRun run = RunCli({"write", "--port", sim.device(), path("bad.chann")});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, c.message + u'\n');
        // The simulator saw no byte at all and still holds its memory.
        EXPECT_TRUE(sim.stop().isEmpty());
        EXPECT_TRUE(SameRows(LoadImage(path("dump.chann")), StartUpImage(), 0, UsedRows - 1));
    }
}

namespace {

// The shell example of the README's section on ql540, with its paths.
QString ReadmeExample()
{
    QFile readme(QStringLiteral(QL540_SOURCE_DIR "/README.md"));
    if (!readme.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(readme.readAll());
    const qsizetype section = text.indexOf(QLatin1String("## Command-line tool"));
    const qsizetype start = text.indexOf(QLatin1String("```sh\n"), section);
    const qsizetype end = text.indexOf(QLatin1String("```"), start + 6);
    if (section < 0 || start < 0 || end < 0)
        return {};
    return text.mid(start + 6, end - start - 6);
}

} // namespace

TEST_F(Transfers, TheReadmeCloningExampleRunsAsWritten)
{
    QString script = ReadmeExample();
    ASSERT_TRUE(script.contains(QLatin1String("ql540 sim"))) << script.toStdString();
    // Only the paths and the pace differ from what a user types.
    script.replace(QLatin1String("build/bin/"), QDir(QStringLiteral(QL540_BIN_DIR)).path() + u'/');
    script.replace(QLatin1String("ql540 sim"), QLatin1String("ql540 sim --no-pace"));
    QFile file(path("example.sh"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(script.toUtf8());
    file.close();

    // The example makes its own folder for its files; TMPDIR puts it here.
    const QString checkout = dir.filePath("checkout");
    ASSERT_TRUE(QDir().mkdir(checkout));
    QProcess shell;
    shell.setWorkingDirectory(checkout);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), dir.path());
    shell.setProcessEnvironment(environment);
    // A group of its own, so that a simulator the script leaves behind can be
    // stopped afterwards.
    shell.setChildProcessModifier([] { ::setsid(); });
    shell.start(QStringLiteral("sh"), {path("example.sh")});
    const qint64 group = shell.processId();
    const bool finished = shell.waitForFinished(60000);
    if (!finished)
        shell.kill();
    shell.waitForFinished();
    // The stopped simulators save their memory on the way out.
    const QDeadlineTimer deadline(5000);
    while (group > 0 && ::kill(pid_t(-group), 0) == 0 && !deadline.hasExpired())
        QThread::msleep(20);
    const bool leftBehind = group > 0 && ::kill(pid_t(-group), SIGTERM) == 0;
    ASSERT_TRUE(finished);

    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
    EXPECT_FALSE(leftBehind) << "the example left a simulator running";
    // Nothing lands where the user typed the commands.
    EXPECT_TRUE(QDir(checkout).isEmpty()) << QDir(checkout).entryList().join(u' ').toStdString();
    // show listed the source radio's channels.
    const QString out = QString::fromUtf8(shell.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("\n1 +446\\.00625 ")))
                && out.contains(QRegularExpression(QStringLiteral("\n8 +446\\.09375 "))))
        << out.toStdString();
    EXPECT_TRUE(out.contains("Optional Features"));
    const QStringList made = QDir(dir.path())
                                 .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                                 .filter(QRegularExpression("^tmp\\."));
    ASSERT_EQ(made.size(), 1) << out.toStdString();
    const QDir work(dir.filePath(made.first()));
    EXPECT_TRUE(out.contains("files in " + work.path())) << out.toStdString();
    // The second radio now holds the first one's configuration.
    ImageTable written = LoadImage(work.filePath("fleet.chann"));
    ASSERT_FALSE(PrepareWrite(written).has_value());
    EXPECT_TRUE(
        SameRows(LoadImage(work.filePath("target.chann")), written, 0, WriteBlockCount - 1));
}
