// gui_walk: random walks of user actions through every window, each in a
// fresh process of its own (a crash ends only that walk), against the
// simulated radio. A walk that fails is shrunk to a short list of actions
// that fails the same way, replayed from a fresh start each time, and
// printed with what each action did.
//
//   gui_walk [--first-seed S] [--walks N | --seconds T] [--actions N]
//            [--check-every K] [--shrink-seconds T] [--verbose]
//   gui_walk --replay PLAN      one walk of a saved plan, with its log
//   gui_walk --run PLAN         (the walk itself, in this process)
#include "ChannelFile.h"
#include "Globals.h"
#include "MainWindow.h"
#include "PortBinding.h"
#include "SimProcess.h"
#include "WalkPlan.h"
#include "WalkRunner.h"
#include "WindowCatalog.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void Print(const QString &text)
{
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

// A memory whose bytes differ from their neighbours and reach every value,
// so that editors show stored values beyond their lists too.
RadioMemory WalkMemory()
{
    RadioMemory memory{};
    for (int a = 0; a < RadioMemorySize; ++a)
        memory[a] = uint8_t((a * 13 + a / 16 + 1) % 256);
    return memory;
}

// Files the open action picks from, besides the ones the walk saves.
void WriteSampleFiles()
{
    ImageTable image{};
    const RadioMemory memory = WalkMemory();
    for (int a = 0; a < RadioMemorySize; ++a)
        image[a / 16][a % 16] = int16_t(memory[(a * 7) % RadioMemorySize]);
    WriteChannelFile(QStringLiteral("pattern.chann"), image, nullptr);
    QFile garbage(QStringLiteral("garbage.chann"));
    if (garbage.open(QIODevice::WriteOnly)) {
        QByteArray bytes;
        for (int i = 0; i < 5000; ++i)
            bytes.append(char((i * 37 + 11) % 256));
        garbage.write(bytes);
    }
    QFile shortFile(QStringLiteral("short.chann"));
    if (shortFile.open(QIODevice::WriteOnly))
        shortFile.write(QByteArray(" 1  2  3 \r\n 4  5 \r\n"));
}

// The walk itself, in this process.
int RunWalk(int argc, char **argv, const QString &planPath, int checkEvery)
{
    QApplication app(argc, argv);
    QFile file(planPath);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "walk failure: cannot read the plan %s\n", qPrintable(planPath));
        return 2;
    }
    const std::optional<WalkPlan> plan = ParseWalkPlan(file.readAll().toStdString());
    if (!plan) {
        std::fprintf(stderr, "walk failure: the plan %s does not parse\n", qPrintable(planPath));
        return 2;
    }
    WriteSampleFiles();
    SimProcess sim;
    if (!sim.start(WalkMemory(), {QStringLiteral("--no-pace")})) {
        std::fprintf(stderr, "walk failure: the simulated radio does not start\n");
        return 2;
    }
    BindPort(1, sim.device());
    RegisterAllWindows();
    int code = 0;
    {
        MainWindow main;
        main.startUp();
        WalkRunner runner(main, *plan, checkEvery);
        code = runner.run();
    }
    return code;
}

struct Outcome {
    bool failed = false;
    QString signature; // how it failed, without the numbers that vary
    QString log;
    int lastAction = -1; // the action under way when it failed
};

QString Normalised(QString text)
{
    static const QRegularExpression numbers(QStringLiteral("(0x)?[0-9a-f]*[0-9][0-9a-f]*"));
    return text.replace(numbers, QStringLiteral("#")).trimmed();
}

Outcome Classify(int exitCode, QProcess::ExitStatus status, bool timedOut, const QString &log)
{
    Outcome outcome;
    outcome.log = log;
    static const QRegularExpression actionLine(QStringLiteral("^#(\\d+) "),
                                               QRegularExpression::MultilineOption);
    for (auto it = actionLine.globalMatch(log); it.hasNext();)
        outcome.lastAction = it.next().captured(1).toInt();
    const QStringList lines = log.split(QLatin1Char('\n'));
    auto lineWith = [&](const QString &marker) {
        for (const QString &line : lines)
            if (line.contains(marker))
                return line.mid(line.indexOf(marker) + marker.size());
        return QString();
    };
    if (const QString asan = lineWith(QStringLiteral("ERROR: AddressSanitizer: ")); !asan.isEmpty())
        outcome.signature =
            QStringLiteral("AddressSanitizer: ") + asan.section(QLatin1Char(' '), 0, 0);
    else if (const QString ubsan = lineWith(QStringLiteral("runtime error: ")); !ubsan.isEmpty())
        outcome.signature = QStringLiteral("runtime error: ") + Normalised(ubsan);
    else if (const QString leak = lineWith(QStringLiteral("ERROR: LeakSanitizer: "));
             !leak.isEmpty())
        outcome.signature = QStringLiteral("LeakSanitizer: ") + Normalised(leak);
    else if (const QString walk = lineWith(QStringLiteral("walk failure: ")); !walk.isEmpty())
        outcome.signature = Normalised(walk);
    else if (timedOut)
        outcome.signature = QStringLiteral("hang: the walk did not end in time");
    else if (status == QProcess::CrashExit)
        outcome.signature = QStringLiteral("crash");
    else if (exitCode != 0)
        outcome.signature = QStringLiteral("exit code %1").arg(exitCode);
    outcome.failed = !outcome.signature.isEmpty();
    return outcome;
}

struct Driver {
    QString self;
    int checkEvery = 25;
    int childTimeoutMs = 240000;

    // One walk of the plan in a fresh process and a fresh folder.
    Outcome walk(const WalkPlan &plan, QString *planPath = nullptr)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("plan.txt"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return Classify(2, QProcess::NormalExit, false,
                            QStringLiteral("walk failure: no plan file"));
        file.write(QByteArray::fromStdString(FormatWalkPlan(plan)));
        file.close();
        if (planPath)
            *planPath = path;
        QProcess child;
        child.setWorkingDirectory(dir.path());
        child.setProcessChannelMode(QProcess::MergedChannels);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(environment);
        child.start(self, {QStringLiteral("--run"), path, QStringLiteral("--check-every"),
                           QString::number(checkEvery)});
        const bool ended = child.waitForFinished(childTimeoutMs);
        if (!ended) {
            child.kill();
            child.waitForFinished(5000);
        }
        const QString log = QString::fromUtf8(child.readAll());
        return Classify(child.exitCode(), child.exitStatus(), !ended, log);
    }
};

QString ActionLines(const QString &log)
{
    QStringList kept;
    for (const QString &line : log.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1String("   "))
            || line.contains(QLatin1String("walk failure"))
            || line.contains(QLatin1String("ERROR: "))
            || line.contains(QLatin1String("runtime error"))
            || line.startsWith(QLatin1String("SUMMARY")))
            kept << QStringLiteral("    ") + line;
    return kept.join(QLatin1Char('\n'));
}

QString Tail(const QString &log, int lines)
{
    const QStringList all = log.split(QLatin1Char('\n'));
    return all.mid(std::max(0, int(all.size()) - lines)).join(QLatin1Char('\n'));
}

// Shrinks a failing plan and prints the reproduction; the plan is kept in
// the current folder so that --replay can run it again.
void Report(Driver &driver, uint64_t seed, const WalkPlan &plan, const Outcome &first,
            int shrinkSeconds)
{
    Print(QStringLiteral("seed %1 FAILED: %2").arg(seed).arg(first.signature));
    Print(QStringLiteral("last lines of the walk:\n") + Tail(first.log, 40));
    WalkPlan start = plan;
    if (first.lastAction >= 0 && first.lastAction + 1 < int(plan.size()))
        start.resize(size_t(first.lastAction + 1));
    QElapsedTimer clock;
    clock.start();
    bool outOfTime = false;
    Outcome smallest = first;
    auto fails = [&](const WalkPlan &candidate) {
        if (clock.elapsed() > qint64(shrinkSeconds) * 1000) {
            outOfTime = true;
            return false;
        }
        const Outcome outcome = driver.walk(candidate);
        const bool same = outcome.failed && outcome.signature == first.signature;
        if (same)
            smallest = outcome;
        return same;
    };
    int tries = 0;
    WalkPlan shrunk = start;
    if (start.size() < plan.size() && !fails(start))
        shrunk = plan; // it needed what came after the action under way (timers)
    shrunk = ShrinkWalkPlan(shrunk, fails, &tries);
    const QString kept = QStringLiteral("gui-walk-seed-%1.txt").arg(seed);
    QFile file(kept);
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray::fromStdString("# seed " + std::to_string(seed) + ": "
                                             + first.signature.toStdString() + "\n"
                                             + FormatWalkPlan(shrunk)));
    Print(QStringLiteral("shrunk from %1 to %2 actions in %3 walks%4; replay: %5 --replay %6")
              .arg(plan.size())
              .arg(shrunk.size())
              .arg(tries)
              .arg(outOfTime ? QStringLiteral(" (shrinking stopped: out of time)") : QString())
              .arg(driver.self, QDir::current().filePath(kept)));
    Print(QString::fromStdString(FormatWalkPlan(shrunk)).trimmed());
    Print(QStringLiteral("what it did:\n") + ActionLines(smallest.log));
}

} // namespace

int main(int argc, char **argv)
{
    // The walk's own process: no driver, a GUI.
    for (int i = 1; i + 1 < argc; ++i)
        if (QByteArray(argv[i]) == "--run") {
            int checkEvery = 25;
            for (int j = 1; j + 1 < argc; ++j)
                if (QByteArray(argv[j]) == "--check-every")
                    checkEvery = QByteArray(argv[j + 1]).toInt();
            return RunWalk(argc, argv, QString::fromLocal8Bit(argv[i + 1]), checkEvery);
        }

    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Random walks of user actions through the windows."));
    parser.addHelpOption();
    auto number = [](const char *name, const char *help, const char *fallback) {
        return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(help),
                                  QStringLiteral("N"), QString::fromLatin1(fallback));
    };
    const QCommandLineOption firstSeed = number("first-seed", "Seed of the first walk.", "1");
    const QCommandLineOption walks = number("walks", "Number of walks (unless --seconds).", "1");
    const QCommandLineOption seconds =
        number("seconds", "Start walks until this many seconds have passed.", "0");
    const QCommandLineOption actions = number("actions", "Actions per walk.", "200");
    const QCommandLineOption checkEvery =
        number("check-every", "Save and check the image every N actions.", "25");
    const QCommandLineOption shrinkSeconds =
        number("shrink-seconds", "Time allowed to shrink a failure.", "300");
    const QCommandLineOption verbose(QStringLiteral("verbose"),
                                     QStringLiteral("Print what each walk did."));
    const QCommandLineOption replay(QStringLiteral("replay"),
                                    QStringLiteral("Walk a saved plan once."),
                                    QStringLiteral("PLAN"));
    parser.addOptions(
        {firstSeed, walks, seconds, actions, checkEvery, shrinkSeconds, verbose, replay});
    parser.process(app);

    Driver driver;
    driver.self = QCoreApplication::applicationFilePath();
    driver.checkEvery = std::max(1, parser.value(checkEvery).toInt());

    if (parser.isSet(replay)) {
        QFile file(parser.value(replay));
        const std::optional<WalkPlan> plan = file.open(QIODevice::ReadOnly)
                                                 ? ParseWalkPlan(file.readAll().toStdString())
                                                 : std::nullopt;
        if (!plan) {
            Print(QStringLiteral("cannot read the plan ") + parser.value(replay));
            return 2;
        }
        const Outcome outcome = driver.walk(*plan);
        Print(outcome.log.trimmed());
        Print(outcome.failed ? QStringLiteral("FAILED: ") + outcome.signature
                             : QStringLiteral("passed"));
        return outcome.failed ? 1 : 0;
    }

    const uint64_t first = parser.value(firstSeed).toULongLong();
    const int count = std::max(1, parser.value(walks).toInt());
    const int budget = parser.value(seconds).toInt();
    const int length = std::max(1, parser.value(actions).toInt());
    QElapsedTimer clock;
    clock.start();
    int done = 0, totalActions = 0;
    for (uint64_t seed = first;; ++seed) {
        if (budget > 0 ? clock.elapsed() >= qint64(budget) * 1000 : done >= count)
            break;
        const WalkPlan plan = MakeWalkPlan(seed, length);
        QElapsedTimer walkClock;
        walkClock.start();
        const Outcome outcome = driver.walk(plan);
        ++done;
        if (outcome.failed) {
            Report(driver, seed, plan, outcome, parser.value(shrinkSeconds).toInt());
            return 1;
        }
        if (parser.isSet(verbose))
            Print(outcome.log.trimmed());
        totalActions += length;
        const QString summary = outcome.log.section(QStringLiteral("walk done: "), 1, 1)
                                    .section(QLatin1Char('\n'), 0, 0);
        Print(QStringLiteral("seed %1: %2 (%3 s)")
                  .arg(seed)
                  .arg(summary)
                  .arg(walkClock.elapsed() / 1000.0, 0, 'f', 1));
    }
    Print(QStringLiteral("%1 walks, seeds %2..%3, %4 actions in %5 s: no failure")
              .arg(done)
              .arg(first)
              .arg(first + uint64_t(done) - 1)
              .arg(totalActions)
              .arg(clock.elapsed() / 1000.0, 0, 'f', 1));
    return 0;
}
