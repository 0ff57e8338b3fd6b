// ql540 power against the simulated radio: the values it reports, the
// values it sends, and how it ends when the radio does not play along.
#include "CliTestSupport.h"

namespace {

class PowerCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ResetGlobals();
        image[CalibrationRow][0] = 0x30;
        image[CalibrationRow][1] = 0x50;
        image[CalibrationRow][2] = 0x70;
        image[CalibrationRow][3] = 0;
        for (int c = 4; c < BlockSize; ++c)
            image[CalibrationRow][c] = int16_t(c);
        SaveImage(path("radio.chann"), image);
    }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QStringList radio(const QStringList &faults = {}) const
    {
        return QStringList{"--no-pace",         "--log",  "--image",
                           path("radio.chann"), "--dump", path("dump.chann")}
               + faults;
    }

    QTemporaryDir dir;
    ImageTable image = StartUpImage(); // the radio's memory
};

} // namespace

TEST_F(PowerCommand, PrintsTheRadiosValuesAfterTheWindowsFirstFrame)
{
    SimulatedRadio sim(radio());
    CliRun run = RunCli({"power", "--port", sim.device()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "Low Power   48\nMid Power   80\nHigh Power  112\n");
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();

    run = RunCli({"--lang", "zh", "power", "--port", sim.device()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("低功率  48\n中功率  80\n高功率  112\n"));

    // Each run: the handshake, the window's first frame with the radio's
    // own values, the leave byte.
    EXPECT_EQ(sim.stop(), QStringLiteral("handshake\npower 48 80 112\nleave\n").repeated(2));
    const ImageTable dumped = LoadImage(path("dump.chann"));
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(dumped[CalibrationRow][c], image[CalibrationRow][c]);
}

TEST_F(PowerCommand, SetSendsTheNewValuesInOneFrameAfterTheFirst)
{
    SimulatedRadio sim(radio());
    const CliRun run = RunCli({"power", "--port", sim.device(), "--set", "60, 90,130"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "Low Power   48 -> 60\nMid Power   80 -> 90\nHigh Power  112 -> 130\n");
    EXPECT_EQ(sim.stop(), "handshake\npower 48 80 112\npower 60 90 130\nleave\n");
    const ImageTable dumped = LoadImage(path("dump.chann"));
    const int expected[] = {60, 90, 130, 2};
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(dumped[CalibrationRow][c], expected[c]) << c;
}

TEST_F(PowerCommand, BadArgumentsEndWithCodeTwoBeforeThePortIsTouched)
{
    SimulatedRadio sim(radio());
    const QString device = sim.device();
    const QList<QStringList> cases{
        {"power"},
        {"power", "--port"},
        {"power", "--port", device, "extra"},
        {"power", "--port", device, "--set", "1,2"},
        {"power", "--port", device, "--set", "1,2,3,4"},
        {"power", "--port", device, "--set", "1,2,256"},
        {"power", "--port", device, "--set", "-1,2,3"},
        {"power", "--port", device, "--set", "a,b,c"},
        {"power", "--port", device, "--set", ""},
    };
    for (const QStringList &arguments : cases) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_FALSE(run.err.trimmed().isEmpty());
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_FALSE(sim.stop().contains("handshake"));
}

TEST_F(PowerCommand, ARadioOrPortFailureEndsWithCodeOneAndNothingOnStandardOutput)
{
    const struct {
        const char *why;
        QStringList faults;
        const char *error;
    } cases[] = {
        {"silent", {"--silent"}, "Fail connect with transceiver."},
        {"wrong radio", {"--wrong-ident"}, "Fail connect with transceiver."},
        {"first frame not acknowledged",
         {"--no-ack-block", "240"},
         "Fail connect with transceiver."},
        {"frame refused", {"--nak-block", "240"}, "Fail connect with transceiver."},
        {"no such port", {}, "Communication port is error"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.why);
        SimulatedRadio sim(radio(c.faults));
        const QString device =
            c.faults.isEmpty() ? QStringLiteral("/dev/ql540-no-such-port") : sim.device();
        const CliRun run = RunCli({"power", "--port", device, "--set", "1,2,3"}, 10000);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.startsWith(QString::fromUtf8(c.error))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_FALSE(sim.stop().contains("power 1 2 3"));
    }
}
