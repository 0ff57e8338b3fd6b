// The fault matrix: every task of the radio link against a simulated radio
// that misbehaves in each way, at the first, a middle and the last block,
// through `ql540` as a dealer runs it. A transient fault must be recovered
// by the retry cycle with an exact result; a permanent one must end with
// the exact failure message within the retry schedule, exit code 1 and no
// file from a failed read. The cases run side by side (they mostly wait on
// the link's timers) and the matrix is printed as a table.
#include "CliTestSupport.h"
#include "PowerExchange.h"
#include "WritePreparation.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>

namespace {

const QString FailConnect = QStringLiteral("Fail connect with transceiver.");
const QString PortError =
    QStringLiteral("Communication port is error, please setting right communication port . ！");

// The link's schedule (RadioLink): four attempts, each ended 1 s after an
// unanswered frame, 5 s apart, the failure 5 s after the last.
constexpr qint64 FullScheduleMs = 4 * 1000 + 4 * 5000;
constexpr qint64 OneRetryDelayMs = 5000;
// Slack for a whole transfer (about 4 s unpaced) and a loaded machine.
constexpr qint64 SlackMs = 14000;

// The power session has no retry cycle: the link watch closes it within
// 500 ms of the link going down, after an unanswered frame 1 s on.
constexpr qint64 PowerWatchMs = 500;
constexpr qint64 PowerFrameLostMs = 1000;

// One task of the link as the command-line tool runs it.
enum class TaskKind { Read, Write, Power };
struct MatrixTask {
    const char *name;
    TaskKind kind;
    int blocks[3]; // the first, a middle and the last block it sends or asks for
};
// Power: `ql540 power --set` sends two frames, both block 240. Its first
// position is the first frame (the radio's own values), the middle and
// the last are both the --set frame (the simulator's --power-fault-frame).
const MatrixTask Tasks[] = {
    {"read", TaskKind::Read, {0, 127, 253}},
    {"write", TaskKind::Write, {0, 120, 239}},
    {"power", TaskKind::Power, {CalibrationRow, CalibrationRow, CalibrationRow}},
};
const PowerLevels PowerSet{17, 34, 51};

enum class Fault {
    Silent,
    WrongIdent,
    SplitIdent,
    BytesAfterIdent,
    DroppedReply,
    ShortReply,
    StrayBeforeReply,
    Nak,
    MissingAck,
    HangUpAfterReply,
    PortGone,
};
const struct {
    Fault fault;
    const char *name;
} Faults[] = {
    {Fault::Silent, "silent radio"},
    {Fault::WrongIdent, "wrong identification"},
    {Fault::SplitIdent, "identification in two arrivals"},
    {Fault::BytesAfterIdent, "bytes right after the identification"},
    {Fault::DroppedReply, "dropped reply"},
    {Fault::ShortReply, "short reply"},
    {Fault::StrayBeforeReply, "stray bytes before a reply"},
    {Fault::Nak, "NAK"},
    {Fault::MissingAck, "missing acknowledge"},
    {Fault::HangUpAfterReply, "hang-up right after a reply"},
    {Fault::PortGone, "port disappears"},
};
const char *const Positions[] = {"first", "middle", "last"};

// The simulator's options for a fault at a block. A fault of the
// identification strikes where the handshake is: before the first block,
// or at the handshake of the retry that a reply dropped at the middle or
// last block brings about.
QStringList SimArguments(const MatrixTask &task, Fault fault, int position)
{
    const bool power = task.kind == TaskKind::Power;
    const QString block = QString::number(task.blocks[position]);
    // A power session has one handshake: its faults strike there at every
    // position.
    auto identFault = [&](QStringList arguments) {
        if (position > 0 && !power)
            arguments << "--no-reply-block" << block << "--ident-fault-handshake"
                      << "2";
        return arguments;
    };
    auto blockFault = [&](QStringList arguments) {
        if (power && position > 0)
            arguments << "--power-fault-frame"
                      << "2";
        return arguments;
    };
    const bool read = task.kind == TaskKind::Read;
    switch (fault) {
    case Fault::Silent:
        return blockFault({"--silent-from-block", block});
    case Fault::WrongIdent:
        return identFault({"--wrong-ident"});
    case Fault::SplitIdent:
        return identFault({"--split-ident", "40"});
    case Fault::BytesAfterIdent:
        return identFault({"--stray-after-ident", "21"});
    case Fault::DroppedReply:
        return blockFault({"--no-reply-block", block});
    case Fault::ShortReply:
        return blockFault({"--short-reply-block", block});
    case Fault::StrayBeforeReply:
        return blockFault({"--stray-before-block", block});
    case Fault::Nak:
        return blockFault({read ? "--nak-request-block" : "--nak-block", block});
    case Fault::MissingAck:
        return blockFault({read ? "--no-ack-reply-block" : "--no-ack-block", block});
    case Fault::HangUpAfterReply:
        return blockFault({"--hang-up-after-block", block});
    case Fault::PortGone:
        return blockFault({"--hang-up-block", block});
    }
    return {};
}

struct Expected {
    bool completes = true;
    int handshakes = 1; // when it completes: the attempts it took
    QString message; // when it fails: the message it ends with
    qint64 minMs = 0, maxMs = 0;
    // It may also end with the message instead (a race the case cannot
    // decide, see its comment).
    bool mayFail = false;
};

Expected Expect(const MatrixTask &task, Fault fault, int position)
{
    const bool read = task.kind == TaskKind::Read;
    auto fails = [](const QString &message, qint64 schedule) {
        return Expected{false, 0, message, schedule, schedule + SlackMs};
    };
    auto recovers = [](int handshakes) {
        return Expected{true, handshakes, {}, handshakes > 1 ? OneRetryDelayMs : 0, FullScheduleMs};
    };
    if (task.kind == TaskKind::Power) {
        // Whatever the radio does not acknowledge ends the session; what is
        // not an acknowledge is dropped while one is awaited. A lost line
        // is not opened again: the watch closes the session, as on every
        // other failure, with the same message.
        switch (fault) {
        case Fault::Silent:
        case Fault::DroppedReply:
        case Fault::ShortReply: // the radio still waits for the frame's last byte
        case Fault::Nak:
        case Fault::MissingAck:
            return fails(FailConnect, PowerFrameLostMs);
        case Fault::WrongIdent:
            return fails(FailConnect, PowerWatchMs);
        case Fault::SplitIdent:
        case Fault::BytesAfterIdent:
        case Fault::StrayBeforeReply:
            return recovers(1);
        case Fault::HangUpAfterReply:
            // After the --set frame's acknowledge the values are in the radio.
            // A line dropped right after it can discard the acknowledge
            // unread, or be noticed before it: then the session ends with
            // the failure message, the safe side; either way is defined.
            if (position > 0) {
                Expected either = recovers(1);
                either.mayFail = true;
                either.message = FailConnect;
                return either;
            }
            return fails(FailConnect, 0);
        case Fault::PortGone:
            return fails(FailConnect, 0);
        }
    }
    switch (fault) {
    case Fault::Silent:
    case Fault::WrongIdent:
        return fails(FailConnect, FullScheduleMs);
    case Fault::SplitIdent:
    case Fault::BytesAfterIdent:
        return recovers(position == 0 ? 1 : 2);
    case Fault::StrayBeforeReply:
        // The write drops what is not an acknowledge; the read's replies
        // have a fixed length, so the noise shifts one and costs a retry.
        return recovers(read ? 2 : 1);
    case Fault::DroppedReply:
    case Fault::ShortReply:
    case Fault::Nak:
    case Fault::MissingAck:
        return recovers(2);
    case Fault::HangUpAfterReply:
        // The last acknowledge completes a write; the line dropping after
        // it changes nothing. Nor does it in the read's quiet period after
        // the last block: a dropped line sends no byte.
        if (position == 2)
            return recovers(1);
        return fails(PortError, OneRetryDelayMs);
    case Fault::PortGone:
        return fails(PortError, OneRetryDelayMs);
    }
    return {};
}

QStringList CliArguments(const MatrixTask &task, const QString &plan, const QString &output)
{
    if (task.kind == TaskKind::Read)
        return {"read", "--quiet", "--output", output};
    if (task.kind == TaskKind::Power)
        return {"power", "--set",
                QStringLiteral("%1,%2,%3").arg(PowerSet[0]).arg(PowerSet[1]).arg(PowerSet[2])};
    return {"write", "--quiet", plan};
}

// One case: a simulator, then ql540 against it, then the simulator stopped
// so that it saves its memory.
class CaseRun : public QObject {
public:
    const MatrixTask *task = nullptr;
    Fault fault{};
    const char *faultName = "";
    int position = 0;
    QString dir;
    QStringList simArguments, cliArguments;
    std::function<void()> finished;

    int exitCode = -2;
    int simExitCode = -2;
    qint64 elapsedMs = 0;
    QString err;
    QString simLog;
    bool timedOut = false;

    void start()
    {
        connect(&sim_, &QProcess::readyReadStandardOutput, this, [this] {
            if (!cli_.program().isEmpty() || !sim_.canReadLine())
                return;
            const QString device = QString::fromUtf8(sim_.readLine()).trimmed();
            clock_.start();
            cli_.setProgram(BinaryPath("ql540"));
            cli_.setArguments(QStringList{cliArguments.first(), "--port", device}
                              + cliArguments.mid(1));
            cli_.start();
        });
        connect(&sim_, &QProcess::readyReadStandardError, this,
                [this] { simLog += QString::fromUtf8(sim_.readAllStandardError()); });
        connect(&cli_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
            elapsedMs = clock_.elapsed();
            exitCode = status == QProcess::NormalExit ? code : -1;
            err = QString::fromUtf8(cli_.readAllStandardError());
            sim_.terminate();
        });
        connect(&sim_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
            // In the sanitizer build a finding of the simulator's shows here.
            simExitCode = status == QProcess::NormalExit ? code : -1;
            simLog += QString::fromUtf8(sim_.readAllStandardError());
            watchdog_.stop();
            if (cli_.state() != QProcess::NotRunning) {
                cli_.kill();
                cli_.waitForFinished();
            }
            finished();
        });
        // A case that hangs is a finding too; it must not stop the others.
        watchdog_.setSingleShot(true);
        connect(&watchdog_, &QTimer::timeout, this, [this] {
            timedOut = true;
            cli_.kill();
            sim_.kill();
        });
        watchdog_.start(FullScheduleMs + 60000);
        sim_.start(BinaryPath("ql540"),
                   QStringList{"sim", "--no-pace", "--log", "--dump", dir + "/dump.chann"}
                       + simArguments);
    }

    int handshakes() const { return int(simLog.split(u'\n').count(QStringLiteral("handshake"))); }

private:
    QProcess sim_, cli_;
    QElapsedTimer clock_;
    QTimer watchdog_;
};

// Runs the cases, at most jobs at a time, until all have finished.
void RunAll(std::vector<std::unique_ptr<CaseRun>> &runs, int jobs)
{
    QEventLoop loop;
    std::deque<CaseRun *> waiting;
    for (auto &run : runs)
        waiting.push_back(run.get());
    int running = 0;
    std::function<void()> next = [&] {
        while (running < jobs && !waiting.empty()) {
            CaseRun *run = waiting.front();
            waiting.pop_front();
            ++running;
            run->finished = [&] {
                --running;
                next();
                if (running == 0 && waiting.empty())
                    loop.quit();
            };
            run->start();
        }
    };
    next();
    if (running > 0)
        loop.exec();
}

class FaultMatrix : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ResetGlobals();
        startUp = StartUpImage();
        // The radio: any byte values in every block.
        radio = startUp;
        QRandomGenerator random(540);
        for (int r = 0; r < UsedRows; ++r)
            for (int c = 0; c < BlockSize; ++c)
                radio[r][c] = int16_t(random.bounded(256));
        SaveImage(path("radio.chann"), radio);
        // The plan written: a few channels in band and recognisable names.
        prepared = startUp;
        ProgramChannel(prepared, 1, "446.00625");
        ProgramChannel(prepared, 9, "438.5", "7.6", 1);
        ProgramChannel(prepared, 128, "400");
        for (int r = 160; r < 200; ++r)
            for (int c = 0; c < BlockSize; ++c)
                prepared[r][c] = int16_t(random.bounded(41));
        prepared[239][15] = 0xAB;
        SaveImage(path("plan.chann"), prepared);
        ASSERT_FALSE(PrepareWrite(prepared).has_value());
    }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    ImageTable startUp{}, radio{}, prepared{};
};

} // namespace

TEST_F(FaultMatrix, EveryFaultAtTheFirstAMiddleAndTheLastBlockOfEveryTask)
{
    std::vector<std::unique_ptr<CaseRun>> runs;
    for (const MatrixTask &task : Tasks)
        for (const auto &fault : Faults)
            for (int position = 0; position < 3; ++position) {
                auto run = std::make_unique<CaseRun>();
                run->task = &task;
                run->fault = fault.fault;
                run->faultName = fault.name;
                run->position = position;
                run->dir = dir.filePath(
                    QStringLiteral("%1-%2-%3").arg(task.name).arg(int(fault.fault)).arg(position));
                ASSERT_TRUE(QDir().mkpath(run->dir));
                run->simArguments = QStringList{"--image", path("radio.chann")}
                                    + SimArguments(task, fault.fault, position);
                run->cliArguments =
                    CliArguments(task, path("plan.chann"), run->dir + "/read.chann");
                runs.push_back(std::move(run));
            }
    const int jobs = qEnvironmentVariableIntValue("QL540_MATRIX_JOBS") > 0
                         ? qEnvironmentVariableIntValue("QL540_MATRIX_JOBS")
                         : 22;
    RunAll(runs, jobs);

    // Check each case; the table shows what each did.
    QString table = QStringLiteral("| fault |");
    QString rule = QStringLiteral("|---|");
    for (const MatrixTask &task : Tasks)
        for (const char *position : Positions) {
            table += QStringLiteral(" %1 %2 |")
                         .arg(QString::fromLatin1(task.name), QString::fromLatin1(position));
            rule += QStringLiteral("---|");
        }
    table += u'\n' + rule + u'\n';
    for (const auto &fault : Faults) {
        table += QStringLiteral("| %1 |").arg(QString::fromLatin1(fault.name));
        for (const auto &run : runs) {
            if (run->fault != fault.fault)
                continue;
            SCOPED_TRACE(QStringLiteral("%1, %2 at the %3 block (%4)")
                             .arg(QString::fromLatin1(run->task->name),
                                  QString::fromLatin1(run->faultName),
                                  QString::fromLatin1(Positions[run->position]),
                                  run->simArguments.mid(2).join(u' '))
                             .toStdString());
            const Expected expected = Expect(*run->task, run->fault, run->position);
            bool good = true;
            auto expect = [&good](bool holds, const QString &what) {
                EXPECT_TRUE(holds) << what.toStdString();
                good = good && holds;
            };
            expect(!run->timedOut, QStringLiteral("did not finish"));
            expect(run->simExitCode == 0, QStringLiteral("the simulator ended with %1: %2")
                                              .arg(run->simExitCode)
                                              .arg(run->simLog));
            const QStringList lines = run->err.split(u'\n', Qt::SkipEmptyParts);
            if (expected.completes && !(expected.mayFail && run->exitCode == 1)) {
                expect(run->exitCode == 0,
                       QStringLiteral("exit code %1: %2").arg(run->exitCode).arg(run->err));
                expect(run->handshakes() == expected.handshakes,
                       QStringLiteral("%1 handshakes, not %2")
                           .arg(run->handshakes())
                           .arg(expected.handshakes));
                if (run->task->kind == TaskKind::Read) {
                    const ImageTable read = LoadImage(run->dir + "/read.chann");
                    expect(SameRows(read, radio, 0, ReadBlockCount - 1)
                               && SameRows(read, startUp, ReadBlockCount, UsedRows - 1),
                           QStringLiteral("the file read is not the radio's memory"));
                } else if (run->task->kind == TaskKind::Power) {
                    // Row 240 as the window leaves it: the radio's values
                    // taken, then the new ones set; the rest untouched.
                    ImageTable expected = radio;
                    const ImageTable dumped = LoadImage(run->dir + "/dump.chann");
                    PowerLevels reported{};
                    for (int k = 0; k < Calibration::LevelCount; ++k)
                        reported[size_t(k)] = radio[CalibrationRow][k];
                    ImageTable row = startUp;
                    StorePowerLevels(row, reported, PowerLevels{});
                    StorePowerLevels(row, PowerSet, reported);
                    for (int c = 0; c < BlockSize; ++c)
                        expected[CalibrationRow][c] = row[CalibrationRow][c];
                    expect(SameRows(dumped, expected, 0, UsedRows - 1),
                           QStringLiteral("the radio does not hold the values set"));
                    expect(run->simLog.contains(QStringLiteral("power %1 %2 %3\n")
                                                    .arg(PowerSet[0])
                                                    .arg(PowerSet[1])
                                                    .arg(PowerSet[2])),
                           QStringLiteral("no --set frame in: %1").arg(run->simLog));
                } else {
                    const ImageTable written = LoadImage(run->dir + "/dump.chann");
                    expect(SameRows(written, prepared, 0, WriteBlockCount - 1)
                               && SameRows(written, radio, WriteBlockCount, UsedRows - 1),
                           QStringLiteral("the radio does not hold the prepared image"));
                }
            } else {
                expect(run->exitCode == 1,
                       QStringLiteral("exit code %1: %2").arg(run->exitCode).arg(run->err));
                expect(lines.contains(expected.message),
                       QStringLiteral("no message \"%1\" in: %2").arg(expected.message, run->err));
                if (run->task->kind == TaskKind::Read)
                    expect(!QFile::exists(run->dir + "/read.chann"),
                           QStringLiteral("a failed read left a file"));
                // A fault at the --set frame strikes after the first frame
                // was acknowledged.
                const bool identFault = run->fault == Fault::WrongIdent;
                if (run->task->kind == TaskKind::Power && run->position > 0 && !identFault)
                    expect(run->simLog.contains(QStringLiteral("power %1 %2 %3\n")
                                                    .arg(radio[CalibrationRow][0])
                                                    .arg(radio[CalibrationRow][1])
                                                    .arg(radio[CalibrationRow][2])),
                           QStringLiteral("the first frame was not taken: %1").arg(run->simLog));
            }
            expect(run->elapsedMs >= expected.minMs && run->elapsedMs <= expected.maxMs,
                   QStringLiteral("took %1 ms, not %2..%3")
                       .arg(run->elapsedMs)
                       .arg(expected.minMs)
                       .arg(expected.maxMs));
            const QString outcome = run->exitCode == 0 ? QStringLiteral("done (%1 attempt%2)")
                                                             .arg(run->handshakes())
                                                             .arg(run->handshakes() > 1 ? "s" : "")
                                    : run->timedOut ? QStringLiteral("hung")
                                    : run->exitCode != 1
                                        ? QStringLiteral("exit %1").arg(run->exitCode)
                                    : run->err.contains(PortError) ? QStringLiteral("port error")
                                                                   : QStringLiteral("failed");
            table += QStringLiteral(" %1%2 %3 s |")
                         .arg(good ? QString() : QStringLiteral("WRONG: "), outcome)
                         .arg(double(run->elapsedMs) / 1000, 0, 'f', 1);
        }
        table += u'\n';
    }
    std::printf("\n%s\n", qPrintable(table));
    QFile out(QStringLiteral(QL540_BIN_DIR "/../fault-matrix.md"));
    if (out.open(QIODevice::WriteOnly))
        out.write(table.toUtf8());
}
