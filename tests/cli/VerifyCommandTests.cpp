// ql540 verify, write --verify and diff as a user runs them, against the
// simulated radio (unpaced); one radio stores a wrong byte while it
// acknowledges the block.
#include "CliTestSupport.h"
#include "RecordCodec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

class Verify : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ResetGlobals();
        // Channels 1..12 at high power, 12 on 446.10000.
        for (int n = 1; n <= 12; ++n)
            ProgramChannel(plan, n, n == 12 ? "446.1" : "446.00625");
        SaveImage(path("plan.chann"), plan);
    }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    ImageTable plan = StartUpImage();
};

} // namespace

TEST_F(Verify, AfterACleanWriteTheRadioHoldsTheFile)
{
    SimulatedRadio sim({"--no-pace"});
    const CliRun write = RunCli({"write", "--verify", "--port", sim.device(), path("plan.chann")});
    EXPECT_EQ(write.exitCode, 0) << write.err.toStdString();
    EXPECT_EQ(write.out, "The radio holds what the file writes.\n");
    EXPECT_TRUE(write.err.contains("100%  Radio data read back.")) << write.err.toStdString();

    // The file as saved, with stale derived rows: the same preparation as
    // the write makes them agree.
    const CliRun verify =
        RunCli({"verify", "--quiet", "--json", "--port", sim.device(), path("plan.chann")});
    EXPECT_EQ(verify.exitCode, 0) << verify.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(verify.out.toUtf8()).object();
    EXPECT_TRUE(json["same"].toBool());
    EXPECT_EQ(json["count"].toInt(), 0);
    EXPECT_TRUE(verify.err.isEmpty()) << verify.err.toStdString();
}

TEST_F(Verify, AWrongByteIsFoundAsTheChannelAndFieldItChanged)
{
    // Column 12 of channel 12 stored as 0: low power instead of high.
    SimulatedRadio sim({"--no-pace", "--corrupt-block", "12:12:0"});
    const CliRun write =
        RunCli({"write", "--verify", "--quiet", "--port", sim.device(), path("plan.chann")});
    EXPECT_EQ(write.exitCode, 3) << write.err.toStdString();
    EXPECT_EQ(write.out, "CH 12  TX Power  High → Low\n");

    const CliRun verify =
        RunCli({"verify", "--port", sim.device(), "--lang", "zh", path("plan.chann")});
    EXPECT_EQ(verify.exitCode, 3) << verify.err.toStdString();
    EXPECT_EQ(verify.out, "信道 12  发射功率  高 → 低\n1 处不同。\n");

    const CliRun json =
        RunCli({"verify", "--json", "--quiet", "--port", sim.device(), path("plan.chann")});
    EXPECT_EQ(json.exitCode, 3);
    const QJsonArray list =
        QJsonDocument::fromJson(json.out.toUtf8()).object()["differences"].toArray();
    ASSERT_EQ(list.size(), 1) << json.out.toStdString();
    EXPECT_EQ(list[0]["channel"].toInt(), 12);
    EXPECT_EQ(list[0]["key"].toString(), "power");
    EXPECT_EQ(list[0]["file"].toString(), "High");
    EXPECT_EQ(list[0]["radio"].toString(), "Low");
}

TEST_F(Verify, AFlippedFrequencyBitShowsInRxAndTx)
{
    // The lowest bit of column 3 (hundreds and tens of MHz): 44 becomes 45.
    SimulatedRadio sim({"--no-pace", "--corrupt-block", "12:3"});
    ASSERT_EQ(RunCli({"write", "--quiet", "--port", sim.device(), path("plan.chann")}).exitCode, 0);
    const CliRun verify = RunCli({"verify", "--quiet", "--port", sim.device(), path("plan.chann")});
    EXPECT_EQ(verify.exitCode, 3);
    EXPECT_EQ(verify.out, "CH 12  RX Frequency  446.10000 → 456.10000\n"
                          "CH 12  TX Frequency  446.10000 → 456.10000\n");
}

TEST_F(Verify, ALinkFailureIsNotADifference)
{
    const CliRun run = RunCli({"verify", "--port", "/dev/ql540-no-such-port", path("plan.chann")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(RunCli({"verify", path("plan.chann")}).exitCode, 2);
    EXPECT_EQ(RunCli({"verify", "--port", "1", path("missing.chann")}).exitCode, 2);
    EXPECT_EQ(RunCli({"write", "--json", "--port", "1", path("plan.chann")}).exitCode, 2);
}

TEST_F(Verify, DiffListsWhatDiffersBetweenTwoFiles)
{
    plan[3][13] &= ~0x20; // narrow
    plan[200][5] = 9;
    SaveImage(path("other.chann"), plan);

    const CliRun same = RunCli({"diff", path("plan.chann"), path("plan.chann")});
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_EQ(same.out, "The files are the same.\n");

    const CliRun diff = RunCli({"diff", path("plan.chann"), path("other.chann")});
    EXPECT_EQ(diff.exitCode, 3);
    EXPECT_EQ(diff.out, "CH 3  W/N  Wide → Narrow\nRow 200  Column 5  255 → 9\n2 differences.\n");

    const CliRun json = RunCli({"diff", "--json", path("other.chann"), path("plan.chann")});
    EXPECT_EQ(json.exitCode, 3);
    const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(object["count"].toInt(), 2);
    const QJsonObject first = object["differences"].toArray().first().toObject();
    EXPECT_EQ(first["a"].toString(), "Narrow");
    EXPECT_EQ(first["b"].toString(), "Wide");

    QFile bad(path("bad.chann"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("1 2 3");
    bad.close();
    const CliRun refused = RunCli({"diff", path("plan.chann"), path("bad.chann")});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.out.isEmpty());
}
