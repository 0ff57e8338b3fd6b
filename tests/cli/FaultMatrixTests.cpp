// The fault matrix through `ql540` as a dealer runs it, against the
// simulator process: every fault of FaultMatrixCases.h at the first, a
// middle and the last block of every task. A transient fault must end in an
// exact transfer, a permanent one in exit code 1, the failure message amid
// nothing but progress lines and a file read earlier left as it was. The attempts and times
// are pinned in virtual time (FaultMatrixEngineTests); here a loaded machine
// may cost an attempt or stretch a wait, so only their bounds are checked.
// The cases run side by side (they mostly wait on the link's timers) and the
// matrix is printed as a table.
#include "CliTestSupport.h"
#include "FaultMatrixCases.h"
#include "WritePreparation.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>

using namespace FaultMatrix;

namespace {

const QString FailConnect = QStringLiteral("Fail connect with transceiver.");
const QString PortError =
    QStringLiteral("Communication port is error, please setting right communication port . ！");
// What a failed read leaves where its file was to go.
const QByteArray EarlierFile = QByteArrayLiteral("yesterday's radio");

// Cases side by side for each core: each mostly sleeps on the link's timers
// (a case takes some 50 ms of processor time in 1 to 30 s).
constexpr int CasesPerCore = 8;

// The simulator's options for the faults (those that differ from none).
QStringList SimOptions(const SimFaults &f)
{
    const SimFaults none;
    QStringList options;
    if (f.silent)
        options << "--silent";
    if (f.wrongIdent)
        options << "--wrong-ident";
    const struct {
        const char *option;
        int SimFaults::*field;
    } numbers[] = {
        {"--ident-offset", &SimFaults::identOffset},
        {"--ident-length", &SimFaults::identLength},
        {"--stray-after-ident", &SimFaults::strayAfterIdent},
        {"--split-ident", &SimFaults::splitIdentMs},
        {"--ident-fault-handshake", &SimFaults::identFaultHandshake},
        {"--silent-from-block", &SimFaults::silentFromBlock},
        {"--no-reply-block", &SimFaults::noReplyBlock},
        {"--short-reply-block", &SimFaults::shortReplyBlock},
        {"--stray-before-block", &SimFaults::strayBlock},
        {"--stray-count", &SimFaults::strayCount},
        {"--nak-block", &SimFaults::nakBlock},
        {"--no-ack-block", &SimFaults::noAckBlock},
        {"--nak-request-block", &SimFaults::nakRequestBlock},
        {"--no-ack-reply-block", &SimFaults::noAckReplyBlock},
        {"--hang-up-block", &SimFaults::hangUpBlock},
        {"--hang-up-after-block", &SimFaults::hangUpAfterBlock},
        {"--power-fault-frame", &SimFaults::powerFaultFrame},
    };
    for (const auto &n : numbers)
        if (f.*n.field != none.*n.field)
            options << n.option << QString::number(f.*n.field);
    if (f.corruptBlock != none.corruptBlock) {
        QString corrupt = QStringLiteral("%1:%2").arg(f.corruptBlock).arg(f.corruptColumn);
        if (f.corruptValue >= 0)
            corrupt += QStringLiteral(":%1").arg(f.corruptValue);
        options << "--corrupt-block" << corrupt;
    }
    return options;
}

QStringList CliArguments(const Task &task, const QString &plan, const QString &output)
{
    // The read shows its progress lines, as in a log: nothing else may come
    // with its message.
    if (task.kind == TaskKind::Read)
        return {"read", "--output", output};
    if (task.kind == TaskKind::Power)
        return {"power", "--set",
                QStringLiteral("%1,%2,%3").arg(PowerSet[0]).arg(PowerSet[1]).arg(PowerSet[2])};
    return {"write", "--quiet", plan};
}

// One case: a simulator, then ql540 against it, then the simulator stopped
// so that it saves its memory.
class CaseRun : public QObject {
public:
    const Task *task = nullptr;
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
        watchdog_.start(2 * FullScheduleMs + 60000);
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

class ProcessFaultMatrix : public ::testing::Test {
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

bool IsProgressLine(const QString &line)
{
    static const QRegularExpression progress(QStringLiteral("^ *\\d+%  \\S"));
    return progress.match(line).hasMatch();
}

// Standard error of a failed run: the message (a port error with its device
// and reason), and nothing else but progress lines (the read's) around it.
bool OnlyProgressAround(const QStringList &lines, const QString &message)
{
    auto at = std::find_if_not(lines.begin(), lines.end(), IsProgressLine);
    if (at == lines.end() || *at != message)
        return false;
    while (++at != lines.end() && (at->startsWith("Device: ") || at->startsWith("Reason: ")))
        ;
    return std::all_of(at, lines.end(), IsProgressLine);
}

} // namespace

TEST_F(ProcessFaultMatrix, EveryFaultAtTheFirstAMiddleAndTheLastBlockOfEveryTask)
{
    std::vector<std::unique_ptr<CaseRun>> runs;
    for (const Task &task : Tasks)
        for (const auto &fault : Faults)
            for (int position = 0; position < 3; ++position) {
                auto run = std::make_unique<CaseRun>();
                run->task = &task;
                run->fault = fault.fault;
                run->faultName = fault.name;
                run->position = position;
                run->dir = dir.filePath(
                    QStringLiteral("%1-%2-%3").arg(task.name).arg(int(fault.fault)).arg(position));
                // The read's file is there from an earlier read, alone in its
                // folder: a failed read must leave it as it was.
                ASSERT_TRUE(QDir().mkpath(run->dir + "/out"));
                QFile earlier(run->dir + "/out/read.chann");
                ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
                earlier.write(EarlierFile);
                earlier.close();
                run->simArguments = QStringList{"--image", path("radio.chann")}
                                    + SimOptions(FaultsFor(task, fault.fault, position));
                run->cliArguments =
                    CliArguments(task, path("plan.chann"), run->dir + "/out/read.chann");
                runs.push_back(std::move(run));
            }
    const int jobs = qEnvironmentVariableIntValue("QL540_MATRIX_JOBS") > 0
                         ? qEnvironmentVariableIntValue("QL540_MATRIX_JOBS")
                         : CasesPerCore * std::max(1, QThread::idealThreadCount());
    RunAll(runs, jobs);

    // Check each case; the table shows what each did.
    QString table = QStringLiteral("| fault |");
    QString rule = QStringLiteral("|---|");
    for (const Task &task : Tasks)
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
            const QString readPath = run->dir + "/out/read.chann";
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
            if (expected.outcome == Outcome::Done && !(expected.mayFail && run->exitCode == 1)) {
                expect(run->exitCode == 0,
                       QStringLiteral("exit code %1: %2").arg(run->exitCode).arg(run->err));
                // A loaded machine may cost an attempt more (a reply taken
                // too late for its timeout, noise the simulator sent late),
                // never one less: the fault has struck.
                expect(run->handshakes() >= expected.handshakes
                           && run->handshakes() <= expected.handshakes + 1,
                       QStringLiteral("%1 handshakes, not %2 (or one more)")
                           .arg(run->handshakes())
                           .arg(expected.handshakes));
                if (run->task->kind == TaskKind::Read) {
                    const ImageTable read = LoadImage(readPath);
                    expect(SameRows(read, radio, 0, ReadBlockCount - 1)
                               && SameRows(read, startUp, ReadBlockCount, UsedRows - 1),
                           QStringLiteral("the file read is not the radio's memory"));
                } else if (run->task->kind == TaskKind::Power) {
                    // Row 240 as the window leaves it; the rest untouched.
                    ImageTable held = radio;
                    PowerLevels reported{};
                    for (int k = 0; k < Calibration::LevelCount; ++k)
                        reported[size_t(k)] = radio[CalibrationRow][k];
                    const RadioBlock row = PowerRowAfterSet(startUp, reported);
                    for (int c = 0; c < BlockSize; ++c)
                        held[CalibrationRow][c] = row[c];
                    expect(SameRows(LoadImage(run->dir + "/dump.chann"), held, 0, UsedRows - 1),
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
                const QString message =
                    expected.outcome == Outcome::PortError ? PortError : FailConnect;
                expect(run->exitCode == 1,
                       QStringLiteral("exit code %1: %2").arg(run->exitCode).arg(run->err));
                expect(OnlyProgressAround(lines, message),
                       QStringLiteral("not the message \"%1\" amid progress lines: %2")
                           .arg(message, run->err));
                if (run->task->kind == TaskKind::Read) {
                    expect(LoadText(readPath) == EarlierFile
                               && QDir(run->dir + "/out").entryList(QDir::Files)
                                      == QStringList{"read.chann"},
                           QStringLiteral("a failed read touched the folder of its file"));
                }
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
            // Timers end no wait early; a loaded machine only makes them late.
            expect(
                run->elapsedMs >= expected.minMs,
                QStringLiteral("took %1 ms, less than %2").arg(run->elapsedMs).arg(expected.minMs));
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
