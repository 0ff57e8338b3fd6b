#include "RadioSimulator.h"

#include "ChannelFile.h"
#include "RadioSimCore.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace {

// Blocks a write frame can address: the write sends 0..239.
constexpr int WriteBlockLimit = 240;

volatile sig_atomic_t stopRequested = 0;
void RequestStop(int) { stopRequested = 1; }

qint64 NowUs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

struct Options {
    SimFaults faults;
    QString image;
    bool sample = false;
    QString dump;
    bool paced = true;
    bool log = false;
    // A box of radios taking turns on the line: each stays plugged in for
    // stayMs after its write has ended, then the line is silent for swapMs
    // until the next one is plugged in.
    int radios = 1;
    int stayMs = 3000;
    int swapMs = 4000;
    // A written radio is pulled out right after it has answered this many
    // handshakes since its write (0: after stayMs), so the program's look
    // at it breaks off half way.
    int leaveAfterHandshakes = 0;
    // Counted instead of timed, so that a program slow to look (a loaded
    // machine) still sees what is meant: a written radio answers this many
    // handshakes and is gone at the next (0: stayMs); the next radio comes
    // only once this many handshakes have met the empty line (and swapMs
    // has passed).
    int stayHandshakes = 0;
    int swapHandshakes = 0;
};

// Parses the command line; false (with a message printed) when it is wrong
// or when only help was asked for (then exitCode is 0).
bool ParseOptions(const QStringList &arguments, Options &options, int &exitCode)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated QL540 radio on a pseudo-terminal. Prints the device path on the "
                       "first line of standard output and answers the programming protocol "
                       "until it is stopped (SIGTERM or Ctrl+C) or, when standard input is a "
                       "pipe, until that pipe closes."));
    parser.addHelpOption();
    const QCommandLineOption image(QStringLiteral("image"),
                                   QStringLiteral("Start with this memory."),
                                   QStringLiteral("FILE.chann"));
    const QCommandLineOption dump(
        QStringLiteral("dump"),
        QStringLiteral(
            "Save the memory here on exit, after each write and after each power frame."),
        QStringLiteral("FILE.chann"));
    const QCommandLineOption sample(
        QStringLiteral("sample"),
        QStringLiteral("Start with eight programmed channels (the demo)."));
    const QCommandLineOption noPace(QStringLiteral("no-pace"),
                                    QStringLiteral("Answer at once instead of at 9600 baud."));
    const QCommandLineOption log(QStringLiteral("log"),
                                 QStringLiteral("Print protocol events on standard error."));
    const QCommandLineOption silent(QStringLiteral("silent"), QStringLiteral("Never answer."));
    const QCommandLineOption wrongIdent(QStringLiteral("wrong-ident"),
                                        QStringLiteral("Identify as another model."));
    auto number = [](const char *name, const char *help) {
        return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(help),
                                  QStringLiteral("N"));
    };
    const QCommandLineOption identOffset =
        number("ident-offset", "Filler bytes before the identification.");
    const QCommandLineOption identLength =
        number("ident-length", "Total length of the identification reply (default 9).");
    const QCommandLineOption splitIdent =
        number("split-ident", "Once: the identification in two parts, N ms apart.");
    const QCommandLineOption identFaultHandshake =
        number("ident-fault-handshake",
               "The identification faults strike from handshake N on (default 1).");
    const QCommandLineOption silentFrom =
        number("silent-from-block",
               "Fall silent for good at the read request or write frame for block N.");
    const QCommandLineOption noReply =
        number("no-reply-block",
               "Once: no reply to the read request or write frame for block N (not stored).");
    const QCommandLineOption shortReply =
        number("short-reply-block",
               "Once: a 20-byte reply for block N; a write frame for it loses its last byte.");
    const QCommandLineOption stray = number(
        "stray-before-block", "Once: line noise just before the reply or acknowledge for block N.");
    const QCommandLineOption nakRequest =
        number("nak-request-block", "Once: answer the read request for block N with NAK.");
    const QCommandLineOption noAckReply = number(
        "no-ack-reply-block", "Once: the reply for block N comes without its leading acknowledge.");
    const QCommandLineOption strayCount =
        number("stray-count", "Noise bytes for --stray-before-block (default 3).");
    const QCommandLineOption nak =
        number("nak-block", "Once: answer the write of block N with NAK (240: a power frame).");
    const QCommandLineOption noAck = number(
        "no-ack-block", "Once: no acknowledge to the write of block N (240: a power frame).");
    const QCommandLineOption strayIdent =
        number("stray-after-ident", "Once: N noise bytes a few ms after the identification.");
    const QCommandLineOption hangUp =
        number("hang-up-block", "Hang up the line at block N (read or write).");
    const QCommandLineOption hangUpAfter = number(
        "hang-up-after-block", "Hang up the line right after answering block N (read or write).");
    const QCommandLineOption corrupt(
        QStringLiteral("corrupt-block"),
        QStringLiteral(
            "Acknowledge every write of block K but store a wrong byte in column COL (default 0): "
            "VALUE (0..255) or, without it, the byte sent with its lowest bit flipped."),
        QStringLiteral("K[:COL[:VALUE]]"));
    const QCommandLineOption radios = number(
        "radios",
        "A box of N radios taking turns on the line, each from the same memory: after its write "
        "one stays plugged in for --stay-ms, then the line is silent for --swap-ms until the next "
        "is plugged in (default 1: the radio never leaves). With --dump, radio K saves to the "
        "file name with -K before its suffix; --log lines start with \"radio K: \".");
    const QCommandLineOption stayMs = number(
        "stay-ms", "With --radios: how long a written radio stays plugged in (default 3000).");
    const QCommandLineOption swapMs = number(
        "swap-ms", "With --radios: how long the line is silent between two radios (default 4000).");
    const QCommandLineOption leaveMidLook = number(
        "leave-after-handshakes", "With --radios: a written radio is pulled out right after it has "
                                  "identified itself N more times (instead of after --stay-ms).");
    const QCommandLineOption stayHandshakes = number(
        "stay-handshakes", "With --radios: a written radio answers N more handshakes and is pulled "
                           "out as the next one comes (instead of after --stay-ms).");
    const QCommandLineOption swapHandshakes =
        number("swap-handshakes", "With --radios: the next radio is plugged in only once N "
                                  "handshakes have met the empty line (and --swap-ms has passed).");
    const QCommandLineOption powerFaultFrame = number(
        "power-fault-frame",
        "The block faults at block 240 strike from power frame N of the session on (default 1).");
    parser.addOptions({image,
                       sample,
                       dump,
                       noPace,
                       log,
                       silent,
                       wrongIdent,
                       identOffset,
                       identLength,
                       splitIdent,
                       identFaultHandshake,
                       silentFrom,
                       noReply,
                       shortReply,
                       stray,
                       strayCount,
                       strayIdent,
                       nak,
                       noAck,
                       nakRequest,
                       noAckReply,
                       hangUp,
                       hangUpAfter,
                       powerFaultFrame,
                       corrupt,
                       radios,
                       stayMs,
                       swapMs,
                       leaveMidLook,
                       stayHandshakes,
                       swapHandshakes});
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "ql540-radio-sim: %s\n", qPrintable(parser.errorText()));
        exitCode = 2;
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        // Without an application object the parser cannot name the program.
        QString help = parser.helpText();
        help.replace(QStringLiteral("<executable_name>"), QFileInfo(arguments.first()).fileName());
        std::printf("%s", qPrintable(help));
        exitCode = 0;
        return false;
    }
    bool good = true;
    auto value = [&](const QCommandLineOption &option, int fallback, int low, int high) {
        if (!parser.isSet(option))
            return fallback;
        bool ok = false;
        const int n = parser.value(option).toInt(&ok);
        if (!ok || n < low || n > high) {
            std::fprintf(stderr, "ql540-radio-sim: --%s needs a number %d..%d\n",
                         qPrintable(option.names().first()), low, high);
            good = false;
        }
        return n;
    };
    SimFaults &f = options.faults;
    f.silent = parser.isSet(silent);
    f.wrongIdent = parser.isSet(wrongIdent);
    f.identOffset = value(identOffset, 0, 0, 64);
    f.identLength = value(identLength, 9, 8, 256);
    f.splitIdentMs = value(splitIdent, 0, 0, 900);
    f.identFaultHandshake = value(identFaultHandshake, 1, 1, 100);
    f.powerFaultFrame = value(powerFaultFrame, 1, 1, 100);
    f.silentFromBlock = value(silentFrom, -1, 0, 255);
    f.nakRequestBlock = value(nakRequest, -1, 0, 255);
    f.noAckReplyBlock = value(noAckReply, -1, 0, 255);
    f.noReplyBlock = value(noReply, -1, 0, 255);
    f.shortReplyBlock = value(shortReply, -1, 0, 255);
    f.strayBlock = value(stray, -1, 0, 255);
    f.strayCount = value(strayCount, 3, 1, 64);
    f.nakBlock = value(nak, -1, 0, 255);
    f.noAckBlock = value(noAck, -1, 0, 255);
    f.strayAfterIdent = value(strayIdent, 0, 0, 256);
    f.hangUpBlock = value(hangUp, -1, 0, 255);
    f.hangUpAfterBlock = value(hangUpAfter, -1, 0, 255);
    if (parser.isSet(corrupt)) {
        // K, K:COL or K:COL:VALUE; a value may be given in hex (0x2A).
        const QStringList parts = parser.value(corrupt).split(u':');
        const int lows[] = {0, 0, 0}, highs[] = {WriteBlockLimit - 1, 15, 255};
        int numbers[] = {-1, 0, -1};
        bool ok = parts.size() <= 3;
        for (int i = 0; ok && i < parts.size(); ++i) {
            const QString part = parts.at(i).trimmed();
            const bool hex = part.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
            numbers[i] = (hex ? part.mid(2) : part).toInt(&ok, hex ? 16 : 10);
            ok = ok && numbers[i] >= lows[i] && numbers[i] <= highs[i];
        }
        if (!ok) {
            std::fprintf(
                stderr,
                "ql540-radio-sim: --corrupt-block needs K[:COL[:VALUE]] with K 0..%d, COL 0..15, "
                "VALUE 0..255\n",
                WriteBlockLimit - 1);
            good = false;
        }
        f.corruptBlock = numbers[0];
        f.corruptColumn = numbers[1];
        f.corruptValue = numbers[2];
    }
    options.radios = value(radios, 1, 1, 1000);
    options.stayMs = value(stayMs, 3000, 0, 600000);
    options.swapMs = value(swapMs, 4000, 0, 600000);
    options.leaveAfterHandshakes = value(leaveMidLook, 0, 0, 1000);
    options.stayHandshakes = value(stayHandshakes, 0, 0, 1000);
    options.swapHandshakes = value(swapHandshakes, 0, 0, 1000);
    options.image = parser.value(image);
    options.sample = parser.isSet(sample);
    options.dump = parser.value(dump);
    options.paced = !parser.isSet(noPace);
    options.log = parser.isSet(log);
    exitCode = 2;
    return good;
}

bool LoadMemory(const QString &path, RadioMemory &memory)
{
    ImageTable image{};
    ChannelFileError error;
    if (!ReadChannelFile(path, image, &error)) {
        std::fprintf(stderr, "ql540-radio-sim: %s: %s\n", qPrintable(path),
                     qPrintable(error.message.english));
        return false;
    }
    for (int a = 0; a < RadioMemorySize; ++a)
        memory[a] = uint8_t(image[a / 16][a % 16]);
    return true;
}

// Radio k of a box saves to "box-k.chann" for --dump "box.chann".
QString DumpPath(const Options &options, int radio)
{
    if (options.radios <= 1 || options.dump.isEmpty())
        return options.dump;
    const QFileInfo file(options.dump);
    const QString suffix = file.suffix().isEmpty() ? QString() : u'.' + file.suffix();
    return file.dir().filePath(file.completeBaseName() + QStringLiteral("-%1").arg(radio) + suffix);
}

void SaveMemory(const QString &path, const RadioMemory &memory)
{
    if (path.isEmpty())
        return;
    ImageTable image{};
    for (int a = 0; a < RadioMemorySize; ++a)
        image[a / 16][a % 16] = memory[a];
    ChannelFileError error;
    if (!WriteChannelFile(path, image, &error))
        std::fprintf(stderr, "ql540-radio-sim: %s: %s\n", qPrintable(path),
                     qPrintable(error.message.english));
}

// The pseudo-terminal pair. The simulator keeps the slave side open too, in
// raw mode, so the line stays up while the program closes and reopens it.
struct Pty {
    int master = -1;
    int slave = -1;
    QString path;

    bool open()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            return false;
        const char *name = ptsname(master);
        if (!name)
            return false;
        path = QString::fromLocal8Bit(name);
        slave = ::open(name, O_RDWR | O_NOCTTY);
        if (slave < 0)
            return false;
        termios tio{};
        tcgetattr(slave, &tio);
        cfmakeraw(&tio);
        cfsetispeed(&tio, B9600);
        cfsetospeed(&tio, B9600);
        tcsetattr(slave, TCSANOW, &tio);
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
        return true;
    }
    // The line goes down: the program's port reads end-of-line. Our own
    // slave stays open until we exit, which keeps the pty's number taken,
    // so a retry finds the device gone instead of another program's pty.
    void hangUp()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
    // Bytes sent that the program has not read (nor discarded) yet. Polling
    // our own slave side first delivers what the kernel still holds on the
    // way to it, which FIONREAD would not count.
    bool holdsUnread() const
    {
        pollfd slaveIn{slave, POLLIN, 0};
        return slave >= 0 && ::poll(&slaveIn, 1, 0) > 0 && (slaveIn.revents & POLLIN);
    }
    void close()
    {
        if (master >= 0)
            ::close(master);
        if (slave >= 0)
            ::close(slave);
        master = slave = -1;
    }
};

// Spots the handshake in what the program sends, whether or not a radio is
// on the cable to answer it.
class HandshakeSpotter {
public:
    bool feed(char byte)
    {
        recent_.append(byte);
        if (recent_.size() > SimHandshake().size())
            recent_.remove(0, 1);
        return recent_ == SimHandshake();
    }

private:
    QByteArray recent_;
};

} // namespace

int RunRadioSimulator(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    Options options;
    int exitCode = 0;
    if (!ParseOptions(arguments, options, exitCode))
        return exitCode;

    RadioMemory memory = options.sample ? SampleRadioMemory() : DefaultRadioMemory();
    if (!options.image.isEmpty() && !LoadMemory(options.image, memory))
        return 2;
    auto radio = std::make_unique<RadioSimCore>(memory, options.faults);
    int radioNumber = 1;
    bool plugged = true;
    qint64 unplugAtUs = -1, plugAtUs = -1;
    // Pulled out half way through a look: the program's next bytes (the
    // request that follows the identification) find the cable empty.
    bool leavesBeforeRequest = false;
    HandshakeSpotter spotter;
    int emptyLineHandshakes = 0; // since the last radio went
    auto takeLog = [&] {
        QString log = radio->takeLog();
        if (options.radios > 1 && !log.isEmpty()) {
            QStringList lines = log.split(u'\n', Qt::SkipEmptyParts);
            for (QString &line : lines)
                line = QStringLiteral("radio %1: ").arg(radioNumber) + line;
            log = lines.join(u'\n') + u'\n';
        }
        return log;
    };
    auto boxEvent = [&](const QString &line) {
        if (options.log)
            std::fprintf(stderr, "radio %d: %s\n", radioNumber, qPrintable(line));
    };

    Pty pty;
    if (!pty.open()) {
        std::fprintf(stderr, "ql540-radio-sim: cannot create a pseudo-terminal: %s\n",
                     std::strerror(errno));
        return 1;
    }
    std::printf("%s\n", qPrintable(pty.path));
    std::fflush(stdout);

    // Stop signals are only delivered while waiting in ppoll, so none is
    // lost between the check and the wait.
    struct sigaction action { };
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    sigset_t blocked, waitMask;
    sigemptyset(&blocked);
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&blocked, sig);
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);

    // 10 bits per byte on the line.
    // Started through a pipe (the demo, the tests): end with the pipe, so no
    // simulator outlives the program that started it.
    struct stat in { };
    const bool watchStdin = fstat(0, &in) == 0 && S_ISFIFO(in.st_mode);

    const qint64 byteUs = options.paced ? 1000000 * 10 / 9600 : 0;
    const qint64 turnaroundUs = options.paced ? 2000 : 0;
    std::deque<std::pair<qint64, char>> out;
    qint64 lineFreeUs = 0;
    qint64 hangUpAtUs = -1; // a hang-up that waits for its reply to be taken
    bool spokeSinceReply = false; // the program sent bytes after that reply
    int saves = 0; // writes ended and power frames taken
    int writeEnds = 0;
    int handshakesAtWriteEnd = 0;

    auto unplug = [&](qint64 now) {
        if (options.log)
            std::fputs(qPrintable(takeLog()), stderr);
        unplugAtUs = -1;
        leavesBeforeRequest = false;
        plugged = false;
        out.clear();
        emptyLineHandshakes = 0;
        SaveMemory(DumpPath(options, radioNumber), radio->memory());
        boxEvent(QStringLiteral("unplugged"));
        if (radioNumber < options.radios)
            plugAtUs = now + qint64(options.swapMs) * 1000;
    };
    auto swapDue = [&](qint64 now) {
        return plugAtUs >= 0 && plugAtUs <= now && emptyLineHandshakes >= options.swapHandshakes;
    };
    auto plugInNext = [&] {
        plugAtUs = -1;
        ++radioNumber;
        radio = std::make_unique<RadioSimCore>(memory, options.faults);
        saves = writeEnds = 0;
        plugged = true;
        boxEvent(QStringLiteral("plugged in"));
    };
    // A written radio that has answered its share of handshakes is gone
    // before it answers the next.
    auto staysFor = [&](bool handshake) {
        return !(handshake && options.radios > 1 && options.stayHandshakes > 0 && writeEnds > 0
                 && radio->counters().handshakes - handshakesAtWriteEnd >= options.stayHandshakes);
    };

    while (!stopRequested) {
        qint64 now = NowUs();
        // Send what is due; a radio due to leave only what was due before.
        const qint64 sendUpTo = unplugAtUs >= 0 ? std::min(now, unplugAtUs) : now;
        while (!out.empty() && out.front().first <= sendUpTo && pty.master >= 0) {
            const char byte = out.front().second;
            out.pop_front();
            if (::write(pty.master, &byte, 1) < 0 && errno != EAGAIN)
                break;
        }
        // The box: a written radio goes after a while, the next one comes.
        if (unplugAtUs >= 0 && unplugAtUs <= now)
            unplug(now);
        if (swapDue(now))
            plugInNext();
        // A hang-up right after a reply comes once the program has taken the
        // reply (a hang-up discards what it has not read) or speaks again,
        // however long it is kept from reading: the fault is the line going
        // down after the reply, not the reply lost.
        if (hangUpAtUs >= 0 && hangUpAtUs <= now && out.empty()
            && (spokeSinceReply || !pty.holdsUnread())) {
            hangUpAtUs = -1;
            pty.hangUp();
        }
        qint64 nextUs = !out.empty() ? out.front().first : -1;
        if (hangUpAtUs >= 0) {
            // Looks again soon whether the reply was taken; less often once
            // the program has been slow to read for a while.
            const qint64 waited = now - hangUpAtUs;
            const qint64 at = waited < 0 ? hangUpAtUs : now + (waited < 100000 ? 1000 : 10000);
            if (nextUs < 0 || at < nextUs)
                nextUs = at;
        }
        const qint64 plugUs = emptyLineHandshakes >= options.swapHandshakes ? plugAtUs : -1;
        for (const qint64 boxUs : {unplugAtUs, plugUs})
            if (boxUs >= 0 && (nextUs < 0 || boxUs < nextUs))
                nextUs = boxUs;
        timespec wait{0, 200 * 1000 * 1000};
        if (nextUs >= 0) {
            const qint64 us = std::max<qint64>(0, nextUs - now);
            wait = {time_t(us / 1000000), long(us % 1000000) * 1000};
        }
        // fds[0] is the pty (-1 once hung up: ppoll skips it).
        pollfd fds[2] = {{pty.master, POLLIN, 0}, {watchStdin ? 0 : -1, POLLIN, 0}};
        const int ready = ppoll(fds, 2, &wait, &waitMask);
        if (ready < 0)
            continue; // a signal; the loop condition decides
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            char ignored[64];
            if (::read(0, ignored, sizeof ignored) <= 0)
                break; // whoever started us is gone
        }
        if (ready == 0 || !(fds[0].revents & POLLIN))
            continue;
        char buffer[512];
        const ssize_t n = ::read(pty.master, buffer, sizeof buffer);
        if (n <= 0)
            continue;
        now = NowUs();
        if (leavesBeforeRequest && plugged)
            unplug(now);
        for (ssize_t i = 0; i < n; ++i) {
            spokeSinceReply = spokeSinceReply || hangUpAtUs >= 0;
            const bool handshake = spotter.feed(buffer[i]);
            if (plugged && !staysFor(handshake))
                unplug(now);
            if (!plugged) {
                emptyLineHandshakes += handshake;
                continue; // no radio on the cable: nothing answers
            }
            const auto reply = radio->feed(uint8_t(buffer[i]), now / 1000);
            if (radio->counters().writeEnds != writeEnds) {
                writeEnds = radio->counters().writeEnds;
                handshakesAtWriteEnd = radio->counters().handshakes;
            }
            if (!reply)
                continue;
            // The request takes its own wire time to arrive before the
            // radio can answer it.
            qint64 t = std::max(now + reply->requestLength * byteUs + turnaroundUs, lineFreeUs);
            for (char byte : reply->bytes) {
                t += byteUs;
                out.emplace_back(t, byte);
            }
            const qint64 pauseUs = qint64(reply->afterPauseMs) * 1000;
            if (!reply->afterPause.isEmpty())
                t += pauseUs;
            for (char byte : reply->afterPause) {
                t += byteUs;
                out.emplace_back(t, byte);
            }
            lineFreeUs = t;
            if (reply->hangUpAfter) {
                hangUpAtUs = t + pauseUs;
                spokeSinceReply = false;
            }
        }
        if (swapDue(now))
            plugInNext();
        if (!plugged)
            continue;
        if (options.log)
            std::fputs(qPrintable(takeLog()), stderr);
        if (const int changes = radio->counters().writeEnds + radio->counters().powerFrames;
            changes != saves) {
            saves = changes;
            SaveMemory(DumpPath(options, radioNumber), radio->memory());
            if (options.radios > 1 && writeEnds > 0 && unplugAtUs < 0
                && options.leaveAfterHandshakes == 0 && options.stayHandshakes == 0)
                unplugAtUs = now + qint64(options.stayMs) * 1000;
        }
        // Pulled out once the identification is on the line: gone before
        // the request that follows it, whenever that comes.
        if (options.radios > 1 && options.leaveAfterHandshakes > 0 && writeEnds > 0
            && !leavesBeforeRequest
            && radio->counters().handshakes - handshakesAtWriteEnd >= options.leaveAfterHandshakes)
            leavesBeforeRequest = true;
        if (radio->hungUp() && hangUpAtUs < 0 && pty.master >= 0) {
            out.clear();
            pty.hangUp();
        }
    }
    if (options.log)
        std::fputs(qPrintable(takeLog()), stderr);
    pty.close();
    if (plugged)
        SaveMemory(DumpPath(options, radioNumber), radio->memory());
    return 0;
}
