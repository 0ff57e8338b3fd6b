// Several radios at once and the production line, through the built ql540
// against simulated radios on pseudo-terminals (unpaced).
#include "CliTestSupport.h"
#include "WritePreparation.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QThread>
#include <csignal>

namespace {

class Fleet : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ResetGlobals();
        prepared = StartUpImage();
        ProgramChannel(prepared, 1, "446.00625");
        ProgramChannel(prepared, 2, "438.5", "7.6", 1);
        prepared[239][15] = 0xAB;
        SaveImage(path("fleet.chann"), prepared);
        // What every radio must hold afterwards: the file as the write
        // prepares it.
        ASSERT_FALSE(PrepareWrite(prepared).has_value());
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    bool holdsTheFile(const QString &dump)
    {
        return SameRows(LoadImage(dump), prepared, 0, WriteBlockCount - 1);
    }

    QTemporaryDir dir;
    ImageTable prepared{};
};

// The summary line of a port: "DEVICE  [#]  TIME  ATTEMPTS  RESULT".
QString SummaryLine(const QString &out, const QString &device)
{
    for (const QString &line : out.split(u'\n'))
        if (line.startsWith(device + u' '))
            return line;
    return {};
}

// ql540 running in the background, its standard error read as it comes.
class Background {
public:
    explicit Background(const QStringList &arguments)
    {
        process_.start(BinaryPath("ql540"), arguments);
    }
    ~Background()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    // Waits until standard error holds the pattern; false after timeoutMs.
    bool waitFor(const QRegularExpression &pattern, int timeoutMs)
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (!err_.contains(pattern)) {
            if (deadline.hasExpired() || process_.state() == QProcess::NotRunning)
                return false;
            process_.waitForReadyRead(50);
            err_ += QString::fromUtf8(process_.readAllStandardError());
        }
        return true;
    }
    void interrupt() { ::kill(pid_t(process_.processId()), SIGINT); }
    // Exit code once it has ended by itself, -1 otherwise.
    int finish(int timeoutMs)
    {
        if (!process_.waitForFinished(timeoutMs))
            return -1;
        err_ += QString::fromUtf8(process_.readAllStandardError());
        out_ = QString::fromUtf8(process_.readAllStandardOutput());
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }
    const QString &err() const { return err_; }
    const QString &out() const { return out_; }

private:
    QProcess process_;
    QString err_;
    QString out_;
};

// The attempts of a summary line ending "  ATTEMPTS  RESULT", -1 when it
// ends otherwise. Compared with the handshakes the radio answered, they
// hold however many attempts a loaded machine may have cost.
int AttemptsOf(const QString &line, const QString &result)
{
    const QRegularExpressionMatch match =
        QRegularExpression("  (\\d+) +" + QRegularExpression::escape(result) + "$").match(line);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

int Handshakes(const QString &simLog) { return int(simLog.count(QStringLiteral("handshake\n"))); }

QStringList LogLines(const QString &path)
{
    return QString::fromUtf8(LoadText(path)).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

TEST_F(Fleet, EachRadioEndsOnItsOwnAndEveryFailureIsReportedAgainstItsPort)
{
    SimulatedRadio sound({"--no-pace", "--log", "--dump", path("sound.chann")});
    SimulatedRadio silent({"--no-pace", "--silent"});
    SimulatedRadio hangsUp({"--no-pace", "--hang-up-block", "100", "--dump", path("hangup.chann")});
    SimulatedRadio naks({"--no-pace", "--log", "--nak-block", "60", "--dump", path("nak.chann")});
    const QStringList devices{sound.device(), silent.device(), hangsUp.device(), naks.device()};
    for (const QString &device : devices)
        ASSERT_FALSE(device.isEmpty());

    const CliRun run = RunCli({"write", "--port", devices[0], "--port", devices[1], "--port",
                               devices[2], "--port", devices[3], path("fleet.chann")},
                              90000);
    // The worst result decides: a radio failed.
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();

    // The sound radio and the one that refused a block once hold exactly
    // the file; neither was held up by the others' faults.
    const QString soundLog = sound.stop();
    const QString nakLog = naks.stop();
    EXPECT_TRUE(holdsTheFile(path("sound.chann")));
    EXPECT_TRUE(holdsTheFile(path("nak.chann")));

    // Each counts its own attempts; the refused block cost one.
    const QString soundLine = SummaryLine(run.out, devices[0]);
    EXPECT_EQ(AttemptsOf(soundLine, "written"), Handshakes(soundLog)) << run.out.toStdString();
    const QString nakLine = SummaryLine(run.out, devices[3]);
    EXPECT_EQ(AttemptsOf(nakLine, "written"), Handshakes(nakLog)) << run.out.toStdString();
    EXPECT_GE(Handshakes(nakLog), 2);
    // The silent radio had the four attempts of the window; the one that hung
    // up failed with the port gone. Each failure is on its own port's line.
    const QString silentLine = SummaryLine(run.out, devices[1]);
    EXPECT_TRUE(
        silentLine.contains(QRegularExpression("  4 +failed: Fail connect with transceiver\\.$")))
        << run.out.toStdString();
    const QString hangUpLine = SummaryLine(run.out, devices[2]);
    EXPECT_TRUE(hangUpLine.contains("failed: ") && !hangUpLine.contains("Fail connect"))
        << run.out.toStdString();
    // A sound radio's time is that of one write, not of the slowest port:
    // the silent one's four attempts take 24 s at least, and a sound radio
    // held until the end would show as much.
    const double soundSeconds = soundLine.section(QRegularExpression(" +"), 1, 1).toDouble();
    const double silentSeconds = silentLine.section(QRegularExpression(" +"), 1, 1).toDouble();
    EXPECT_GT(soundSeconds, 0.5);
    EXPECT_GE(silentSeconds, 24.0) << run.out.toStdString();
    EXPECT_LT(soundSeconds + 5, silentSeconds) << run.out.toStdString();
    // Progress lines name their port; no port's line carries another's result.
    for (const QString &line : run.err.split(u'\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(std::any_of(devices.begin(), devices.end(), [&](const QString &d) {
            return line.startsWith(d);
        })) << line.toStdString();
}

TEST_F(Fleet, ReadIntoAFolderSavesEachRadioUnderItsPortAndTime)
{
    ImageTable other = prepared;
    other[5][3] = 77;
    SaveImage(path("other.chann"), other);
    SimulatedRadio first({"--no-pace", "--image", path("fleet.chann")});
    SimulatedRadio second({"--no-pace", "--image", path("other.chann")});
    ASSERT_TRUE(QDir().mkdir(path("reads")));

    const CliRun run = RunCli({"read", "--quiet", "--port", first.device(), "--port",
                               second.device(), "--output-dir", path("reads")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString() << run.out.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    const QStringList files = QDir(path("reads")).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 2) << files.join(u' ').toStdString();
    for (const QString &file : files) {
        // "pts_N-YYYYMMDD-HHMMSS.chann"
        EXPECT_TRUE(QRegularExpression("^pts_\\d+-\\d{8}-\\d{6}\\.chann$").match(file).hasMatch())
            << file.toStdString();
    }
    auto fileOf = [&](const QString &device) {
        const QString name = QStringLiteral("pts_") + QFileInfo(device).fileName() + u'-';
        const QStringList found = QDir(path("reads")).entryList({name + u'*'}, QDir::Files);
        return found.size() == 1 ? QDir(path("reads")).filePath(found.first()) : QString();
    };
    ASSERT_FALSE(fileOf(first.device()).isEmpty());
    ASSERT_FALSE(fileOf(second.device()).isEmpty());
    EXPECT_TRUE(SameRows(LoadImage(fileOf(first.device())), LoadImage(path("fleet.chann")), 0,
                         ReadBlockCount - 1));
    EXPECT_TRUE(SameRows(LoadImage(fileOf(second.device())), other, 0, ReadBlockCount - 1));
    // The summary says where each went.
    EXPECT_TRUE(SummaryLine(run.out, first.device()).endsWith("read → " + fileOf(first.device())))
        << run.out.toStdString();
}

// The box's radios come and go by the line's handshakes, not by the clock,
// so a line that a loaded machine slows down still sees each change: a
// written radio answers a few looks and is gone at the next; the next radio
// comes once the line has found the cable empty twice (two silent looks
// tell it a radio has gone).
const QStringList BoxSwap{"--swap-ms", "0", "--swap-handshakes", "2"};

TEST_F(Fleet, TheProductionLineWritesEachRadioOfABoxOnceAndLogsIt)
{
    // Each radio stays on the cable for four looks after its write: the line
    // must leave it alone meanwhile.
    SimulatedRadio box(QStringList{"--no-pace", "--radios", "3", "--stay-handshakes", "4", "--log",
                                   "--dump", path("box.chann")}
                       + BoxSwap);
    Background line({"write", "--each", "--log", path("line.log"), "--port", box.device(),
                     path("fleet.chann")});
    ASSERT_TRUE(line.waitFor(QRegularExpression("3 written, 0 failed"), 90000))
        << line.err().toStdString() << box.stop().toStdString();
    // The last radio is still plugged in: give the line time to (wrongly)
    // take it for a new one.
    ASSERT_TRUE(line.waitFor(QRegularExpression("#3  unplug the radio"), 10000))
        << line.err().toStdString();
    QThread::msleep(3000);
    line.interrupt();
    EXPECT_EQ(line.finish(10000), 0) << line.err().toStdString();

    const QString simLog = box.stop();
    for (int radio = 1; radio <= 3; ++radio) {
        const QString prefix = QStringLiteral("radio %1: ").arg(radio);
        // Written once: no write began again once it was written (its own
        // retries, which a loaded machine may cost, come before).
        EXPECT_EQ(simLog.count(prefix + "end of write"), 1) << simLog.toStdString();
        EXPECT_LT(simLog.lastIndexOf(prefix + "write block 0\n"),
                  simLog.indexOf(prefix + "end of write"))
            << simLog.toStdString();
        EXPECT_TRUE(holdsTheFile(path(QStringLiteral("box-%1.chann").arg(radio))));
    }
    // The log: one line per radio, numbered, with time, port and result.
    const QStringList log = LogLines(path("line.log"));
    ASSERT_EQ(log.size(), 3) << log.join(u'\n').toStdString();
    for (int k = 0; k < 3; ++k) {
        const QStringList fields = log.at(k).split(u'\t');
        ASSERT_EQ(fields.size(), 6) << log.at(k).toStdString();
        EXPECT_TRUE(QDateTime::fromString(fields.at(0), Qt::ISODate).isValid())
            << log.at(k).toStdString();
        EXPECT_EQ(fields.at(1), box.device());
        EXPECT_EQ(fields.at(2), QString::number(k + 1));
        EXPECT_EQ(fields.at(3), "written");
    }
    EXPECT_TRUE(line.out().contains("In all: 3 written, 0 failed.")) << line.out().toStdString();
}

// A radio pulled out half way through a look (it identified itself, the
// read of block 0 went unanswered) must not be waited for through the
// retries: the next radio, plugged in meanwhile, would be taken for it and
// never written.
TEST_F(Fleet, TheProductionLineTellsARadioPulledOutMidLookFromTheNext)
{
    SimulatedRadio box(
        QStringList{"--no-pace", "--radios", "2", "--leave-after-handshakes", "2", "--log"}
        + BoxSwap);
    Background line({"write", "--each", "--port", box.device(), path("fleet.chann")});
    ASSERT_TRUE(line.waitFor(QRegularExpression("2 written, 0 failed"), 60000))
        << line.err().toStdString() << box.stop().toStdString();
    line.interrupt();
    EXPECT_EQ(line.finish(10000), 0) << line.err().toStdString();
    const QString simLog = box.stop();
    EXPECT_EQ(simLog.count("radio 1: end of write"), 1) << simLog.toStdString();
    EXPECT_EQ(simLog.count("radio 2: end of write"), 1) << simLog.toStdString();
}

TEST_F(Fleet, CtrlCFinishesTheRadioBeingWrittenAndASecondOneSaysItIsHalfWritten)
{
    {
        // At the radio's pace the write is still on some 7 s after 20 %,
        // ample for the test to press Ctrl+C while it is.
        SimulatedRadio radio({"--log", "--dump", path("finished.chann")});
        Background line({"write", "--each", "--log", path("finished.log"), "--port", radio.device(),
                         path("fleet.chann")});
        ASSERT_TRUE(line.waitFor(QRegularExpression(" 20%  Writing"), 30000))
            << line.err().toStdString();
        line.interrupt();
        EXPECT_EQ(line.finish(15000), 0) << line.err().toStdString();
        EXPECT_TRUE(line.err().contains("Stopping: finishing the radios being programmed"))
            << line.err().toStdString();
        const QString simLog = radio.stop();
        EXPECT_EQ(simLog.count("end of write"), 1) << simLog.toStdString();
        EXPECT_TRUE(holdsTheFile(path("finished.chann")));
        ASSERT_EQ(LogLines(path("finished.log")).size(), 1);
        EXPECT_TRUE(LogLines(path("finished.log")).first().contains("\twritten\t"));
    }
    {
        // A radio that falls silent half way can never complete: the two
        // presses find it being written however late they come.
        SimulatedRadio radio({"--no-pace", "--log", "--silent-from-block", "100"});
        Background line({"write", "--each", "--log", path("broken.log"), "--port", radio.device(),
                         path("fleet.chann")});
        ASSERT_TRUE(line.waitFor(QRegularExpression(" 20%  Writing"), 30000))
            << line.err().toStdString();
        line.interrupt();
        ASSERT_TRUE(line.waitFor(QRegularExpression("Stopping"), 5000));
        line.interrupt();
        EXPECT_EQ(line.finish(10000), 1) << line.err().toStdString();
        const QString simLog = radio.stop();
        EXPECT_EQ(simLog.count("end of write"), 0) << simLog.toStdString();
        // Said on the screen, in the summary and in the log.
        const QRegularExpression halfWritten(
            "interrupted, HALF WRITTEN \\(\\d+%\\): write it again");
        EXPECT_TRUE(line.err().contains(halfWritten)) << line.err().toStdString();
        EXPECT_TRUE(SummaryLine(line.out(), radio.device()).contains(halfWritten))
            << line.out().toStdString();
        const QStringList log = LogLines(path("broken.log"));
        ASSERT_EQ(log.size(), 1);
        EXPECT_TRUE(log.first().contains(halfWritten)) << log.first().toStdString();
    }
}

TEST_F(Fleet, PortsAreCheckedBeforeAnythingIsSent)
{
    SimulatedRadio radio({"--no-pace", "--log"});
    const CliRun twice =
        RunCli({"write", "--port", radio.device(), "--port", radio.device(), path("fleet.chann")});
    EXPECT_EQ(twice.exitCode, 2);
    EXPECT_TRUE(twice.err.contains("is given twice")) << twice.err.toStdString();
    // A link to the device is that device.
    const QString link = path("cable-link");
    ASSERT_TRUE(QFile::link(radio.device(), link));
    const CliRun linked =
        RunCli({"write", "--port", radio.device(), "--port", link, path("fleet.chann")});
    EXPECT_EQ(linked.exitCode, 2);
    EXPECT_TRUE(linked.err.contains("is given twice")) << linked.err.toStdString();
    const CliRun outputs = RunCli(
        {"read", "--port", radio.device(), "--port", "/dev/null", "--output", path("x.chann")});
    EXPECT_EQ(outputs.exitCode, 2);
    EXPECT_TRUE(outputs.err.contains("Several ports need --output-dir"))
        << outputs.err.toStdString();
    const CliRun noFolder =
        RunCli({"read", "--port", radio.device(), "--output-dir", path("missing")});
    EXPECT_EQ(noFolder.exitCode, 2);
    EXPECT_TRUE(radio.stop().isEmpty()); // nothing reached the radio
}

TEST_F(Fleet, SeveralRadiosAreVerifiedAtOnceEachAgainstTheFile)
{
    SaveImage(path("prepared.chann"), prepared);
    ImageTable changed = prepared;
    changed[2][12] = 2; // channel 2 loses its shift
    SaveImage(path("changed.chann"), changed);
    SimulatedRadio same({"--no-pace", "--image", path("prepared.chann")});
    SimulatedRadio differs({"--no-pace", "--image", path("changed.chann")});

    const CliRun run = RunCli(
        {"verify", "--port", same.device(), "--port", differs.device(), path("fleet.chann")});
    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString() << run.out.toStdString();
    EXPECT_TRUE(SummaryLine(run.out, same.device()).endsWith("same as the file"))
        << run.out.toStdString();
    EXPECT_TRUE(SummaryLine(run.out, differs.device()).endsWith("1 difference"))
        << run.out.toStdString();
    // What differs is listed under its port, after the table.
    const QString listed = run.out.section(differs.device() + u'\n', 1);
    EXPECT_TRUE(listed.startsWith("  CH 2  ")) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains(same.device() + u'\n')) << run.out.toStdString();

    const CliRun json = RunCli({"verify", "--json", "--port", same.device(), "--port",
                                differs.device(), path("fleet.chann")});
    EXPECT_EQ(json.exitCode, 3);
    const QJsonArray ports =
        QJsonDocument::fromJson(json.out.toUtf8()).object().value("ports").toArray();
    ASSERT_EQ(ports.size(), 2) << json.out.toStdString();
    EXPECT_EQ(ports[0].toObject().value("port").toString(), same.device());
    EXPECT_EQ(ports[0].toObject().value("result").toString(), "completed");
    EXPECT_TRUE(ports[0].toObject().value("verify").toObject().value("same").toBool());
    EXPECT_EQ(ports[1].toObject().value("result").toString(), "different");
    const QJsonArray found =
        ports[1].toObject().value("verify").toObject().value("differences").toArray();
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].toObject().value("channel").toInt(), 2);
    // A verify writes nothing.
    for (SimulatedRadio *radio : {&same, &differs})
        EXPECT_EQ(radio->stop().count("write block"), 0);
}

TEST_F(Fleet, AWriteOverSeveralPortsVerifiesEachRadioAndTheWorstResultDecides)
{
    SimulatedRadio sound({"--no-pace", "--log", "--dump", path("sound.chann")});
    // Acknowledges block 12 but keeps a wrong byte: only reading back finds it.
    SimulatedRadio corrupts({"--no-pace", "--log", "--corrupt-block", "12:3"});
    const CliRun run = RunCli({"write", "--verify", "--port", sound.device(), "--port",
                               corrupts.device(), path("fleet.chann")});
    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString() << run.out.toStdString();
    // The verify's own opening is not a retry: the attempts are the radio's
    // handshakes but one.
    const QString soundOut = SummaryLine(run.out, sound.device());
    const QString corruptsOut = SummaryLine(run.out, corrupts.device());
    const QString log = sound.stop();
    EXPECT_EQ(AttemptsOf(soundOut, "written and verified"), Handshakes(log) - 1)
        << run.out.toStdString();
    EXPECT_EQ(AttemptsOf(corruptsOut, "written, but the verify found 1 difference"),
              Handshakes(corrupts.stop()) - 1)
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QRegularExpression("\n  Row 12  Column 3  \\d+ → \\d+\n")))
        << run.out.toStdString();
    // Read back after the write, not before.
    EXPECT_GT(log.indexOf("read block 239"), log.indexOf("end of write")) << log.toStdString();
    EXPECT_TRUE(holdsTheFile(path("sound.chann")));
}

TEST_F(Fleet, TheProductionLineVerifiesEachRadioBeforeTakingTheNext)
{
    // Each radio stays for the verify's handshake and two looks: however
    // slow the verify (the sanitizers, a loaded machine), it is not pulled
    // out half way through.
    SimulatedRadio box(QStringList{"--no-pace", "--radios", "2", "--stay-handshakes", "3", "--log"}
                       + BoxSwap);
    Background line({"write", "--each", "--verify", "--log", path("line.log"), "--port",
                     box.device(), path("fleet.chann")});
    ASSERT_TRUE(line.waitFor(QRegularExpression("2 written, 0 failed"), 90000))
        << line.err().toStdString();
    line.interrupt();
    EXPECT_EQ(line.finish(10000), 0) << line.err().toStdString();

    const QString simLog = box.stop();
    for (int radio = 1; radio <= 2; ++radio) {
        const QString prefix = QStringLiteral("radio %1: ").arg(radio);
        EXPECT_EQ(simLog.count(prefix + "end of write"), 1) << simLog.toStdString();
        // The line's looks read block 0 only; the verify reads all 240.
        EXPECT_EQ(simLog.count(prefix + "read block 239\n"), 1) << simLog.toStdString();
        EXPECT_GT(simLog.indexOf(prefix + "read block 239"),
                  simLog.indexOf(prefix + "end of write"));
    }
    const QStringList log = LogLines(path("line.log"));
    ASSERT_EQ(log.size(), 2) << log.join(u'\n').toStdString();
    for (const QString &entry : log)
        EXPECT_EQ(entry.section(u'\t', 3, 3), "written and verified") << entry.toStdString();
}

TEST_F(Fleet, CtrlCDuringAVerifyLetsItFinishAndASecondOneSaysTheRadioIsUnchecked)
{
    for (int presses : {1, 2}) {
        // For two presses the radio no longer identifies itself after its
        // write: the verify can never complete, so both presses find it on
        // however late they come. One press lets the verify finish, early or
        // late: either way the radio ends written and verified.
        QStringList radioOptions{"--no-pace", "--log"};
        if (presses == 2)
            radioOptions << "--wrong-ident"
                         << "--ident-fault-handshake"
                         << "2";
        SimulatedRadio radio(radioOptions);
        const QString logPath = path(QStringLiteral("verify-%1.log").arg(presses));
        Background line({"write", "--each", "--verify", "--log", logPath, "--port", radio.device(),
                         path("fleet.chann")});
        const char *verifying = presses == 1 ? " 20%  verify: Reading" : "  verify: Connecting";
        ASSERT_TRUE(line.waitFor(QRegularExpression(verifying), 30000)) << line.err().toStdString();
        line.interrupt();
        if (presses == 2) {
            ASSERT_TRUE(line.waitFor(QRegularExpression("Stopping"), 5000));
            line.interrupt();
        }
        const QString expected =
            presses == 1 ? "written and verified" : "written, the verify was broken off";
        EXPECT_EQ(line.finish(15000), presses == 1 ? 0 : 1) << line.err().toStdString();
        EXPECT_TRUE(SummaryLine(line.out(), radio.device()).endsWith(expected))
            << line.out().toStdString();
        const QStringList log = LogLines(logPath);
        ASSERT_EQ(log.size(), 1);
        EXPECT_EQ(log.first().section(u'\t', 3, 3), expected);
        // Never half written: the write had ended before the verify began.
        EXPECT_EQ(radio.stop().count("end of write"), 1);
    }
}
