// ql540 read and write against a simulated radio that misbehaves on the
// line: every run ends, and a read never saves a shifted image.
#include "CliTestSupport.h"

#include <QFile>
#include <QRandomGenerator>

namespace {

class LinkFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ResetGlobals();
        radio = StartUpImage();
        QRandomGenerator random(253);
        for (int r = 0; r < UsedRows; ++r)
            for (int c = 0; c < BlockSize; ++c)
                radio[r][c] = int16_t(random.bounded(256));
        SaveImage(path("radio.chann"), radio);
    }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    ImageTable radio{};
};

} // namespace

// The line drops in the pause between a reply and the next frame, where
// only the send trigger was running: the run used to wait for ever.
TEST_F(LinkFaults, AHangUpRightAfterAReplyEndsTheRunWithThePortError)
{
    ImageTable plan = StartUpImage();
    ProgramChannel(plan, 1, "446");
    SaveImage(path("plan.chann"), plan);
    const QStringList runs[] = {{"read", "--output", path("read.chann")},
                                {"write", path("plan.chann")}};
    for (const QStringList &arguments : runs) {
        SCOPED_TRACE(arguments.first().toStdString());
        SimulatedRadio sim(
            {"--no-pace", "--image", path("radio.chann"), "--hang-up-after-block", "20"});
        const CliRun run = RunCli(
            QStringList{arguments.first(), "--port", sim.device()} + arguments.mid(1), 30000);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains("Communication port is error")) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path("read.chann")));
}

TEST_F(LinkFaults, NoiseAfterTheIdentificationOrBeforeTheLastReplyNeverShiftsTheImage)
{
    const struct {
        QStringList fault;
        int handshakes;
    } cases[] = {
        {{"--stray-after-ident", "21"}, 1}, // dropped before the first request
        {{"--stray-before-block", "253"}, 2}, // costs a retry
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.fault.first().toStdString());
        QFile::remove(path("read.chann"));
        SimulatedRadio sim(QStringList{"--no-pace", "--log", "--image", path("radio.chann")}
                           + c.fault);
        const CliRun run =
            RunCli({"read", "--quiet", "--port", sim.device(), "--output", path("read.chann")});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(SameRows(LoadImage(path("read.chann")), radio, 0, ReadBlockCount - 1));
        EXPECT_EQ(sim.stop().count(QStringLiteral("handshake\n")), c.handshakes);
    }
}
