// ql540 as a user types it: help, argument errors, show, and the failures
// that must be reported before any radio is involved.
#include "CliTestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSerialPort>
#include <unistd.h>

namespace {

class Commands : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ResetGlobals();
        ProgramChannel(image, 1, "446.00625");
        ProgramChannel(image, 5, "438.5", "7.6", 1);
        image[5][12] = 0x40; // plus shift, low power
        image[160][0] = 12; // channel 1 named "A"
        file = dir.filePath("radio.chann");
        SaveImage(file, image);
    }

    QTemporaryDir dir;
    ImageTable image = StartUpImage();
    QString file;
};

} // namespace

TEST_F(Commands, HelpListsTheCommandsAndEachCommandHasItsOwn)
{
    CliRun run = RunCli({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    for (const char *command : {"read", "write", "show", "power", "sim"})
        EXPECT_TRUE(run.out.contains(QStringLiteral("  %1 ").arg(QLatin1String(command))))
            << command;

    for (const char *command : {"read", "write", "show", "power"}) {
        run = RunCli({QString::fromLatin1(command), "--help"});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(
            run.out.startsWith(QStringLiteral("Usage: ql540 %1 ").arg(QLatin1String(command))))
            << run.out.toStdString();
        EXPECT_TRUE(run.out.contains("--lang"));
    }
    run = RunCli({"read", "--help", "--lang", "zh"});
    EXPECT_TRUE(run.out.contains(QStringLiteral("从对讲机读取数据"))) << run.out.toStdString();

    run = RunCli({"sim", "--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("Simulated QL540 radio"));
}

TEST_F(Commands, BadArgumentsEndWithCodeTwoAndAMessage)
{
    const QList<QStringList> cases{
        {},
        {"format"},
        {"read", "--output", dir.filePath("x.chann")},
        {"read", "--port", "/dev/null"},
        {"read", "--port", "/dev/null", "--output", dir.filePath("x.chann"), "extra"},
        {"write", "--port", "/dev/null"},
        {"write", file},
        {"show"},
        {"show", file, file},
        {"show", file, "--colour"},
        {"show", file, "--lang", "fr"},
    };
    for (const QStringList &arguments : cases) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_FALSE(run.err.trimmed().isEmpty()) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << arguments.join(u' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("x.chann")));
}

TEST_F(Commands, ShowPrintsProgrammedChannelsThenVfoAndOptions)
{
    const CliRun run = RunCli({"show", file});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(u'\n');
    EXPECT_TRUE(lines.at(0).startsWith("Channel  RX Frequency  TX Frequency  CTCSS/DCS Dec"));
    EXPECT_EQ(lines.at(1).simplified(), "1 446.00625 446.00625 OFF OFF High Wide A Off Off On Off");
    EXPECT_EQ(lines.at(2).simplified(), "5 438.50000 446.10000 OFF OFF Low Wide Off Off On Off");
    EXPECT_EQ(lines.at(3), "");
    EXPECT_EQ(lines.at(4), "Frequncy Mode");
    EXPECT_TRUE(run.out.contains("\nOptional Features\n"));
    EXPECT_TRUE(run.out.contains(QRegularExpression("\n  PowerOn MSG +HELLO\n")));

    const CliRun all = RunCli({"show", "--all", file});
    EXPECT_EQ(all.out.section(u'\n', 0, 128).count(u'\n'), 128); // header + 128 rows
    EXPECT_EQ(all.out.split(u'\n').at(128).trimmed(), "128");

    const CliRun chinese = RunCli({"show", file, "--lang", "zh"});
    EXPECT_TRUE(chinese.out.startsWith(QStringLiteral("信道号  接收频率(MHZ)")));
    EXPECT_EQ(chinese.out.split(u'\n').at(2).simplified(),
              QStringLiteral("5 438.50000 446.10000 关 关 低 宽带 关 关 开 关"));
    // The language may come before the command too, as users type it.
    for (const QStringList &first : {QStringList{"--lang", "zh"}, QStringList{"--lang=zh"}}) {
        const CliRun run = RunCli(first + QStringList{"show", file});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, chinese.out);
    }
    EXPECT_EQ(RunCli({"--lang", "en", "show", "--lang", "zh", file}).out, chinese.out);
    EXPECT_TRUE(RunCli({"--lang", "zh", "--help"}).out.startsWith(QStringLiteral("用法：ql540")));
    EXPECT_TRUE(RunCli({"--lang", "zh", "sim", "--help"}).out.contains("Simulated QL540 radio"));
}

TEST_F(Commands, ShowJsonCarriesTheSameTexts)
{
    const CliRun run = RunCli({"show", "--json", file});
    ASSERT_EQ(run.exitCode, 0);
    QJsonParseError error;
    const QJsonObject report = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    const QJsonArray channels = report.value("channels").toArray();
    ASSERT_EQ(channels.size(), 2);
    EXPECT_EQ(channels.at(1).toObject().value("channel").toInt(), 5);
    EXPECT_EQ(channels.at(1).toObject().value("tx").toString(), "446.10000");
    EXPECT_EQ(channels.at(1).toObject().value("power").toString(), "Low");
    EXPECT_EQ(channels.at(0).toObject().value("name").toString(), "A");
    EXPECT_EQ(report.value("vfo").toObject().value("rx").toString(), "462.01250");
    EXPECT_EQ(report.value("options").toObject().value("squelch").toString(), "5");
}

TEST_F(Commands, BadFilesAreRefusedBeforeThePortIsTouched)
{
    QFile broken(dir.filePath("broken.chann"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(" 1  2  3 \r\n");
    broken.close();
    const QString missing = dir.filePath("missing.chann");
    for (const QString &path : {broken.fileName(), missing}) {
        CliRun run = RunCli({"show", path});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_FALSE(run.err.isEmpty());
        // A port that cannot be opened would give code 1: the file is
        // checked first.
        run = RunCli({"write", "--port", "/dev/ql540-no-such-port", path});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_FALSE(run.err.contains("Communication port is error"));
    }
    // So is a read whose file could not be saved.
    const CliRun run = RunCli({"read", "--port", "/dev/ql540-no-such-port", "--output",
                               dir.filePath("no-such-dir/out.chann")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("does not exist")) << run.err.toStdString();
}

TEST_F(Commands, BytesFromAFileReachTheTerminalEscapedAndTheMessageWhole)
{
    QByteArray text = LoadText(file);
    text.replace(0, 3, QByteArray("\x1b[2J\0x", 6));
    const QString bad = dir.filePath("escape.chann");
    QFile out(bad);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(text);
    out.close();
    for (const char *lang : {"en", "zh"}) {
        const CliRun run = RunCli({"show", "--lang", lang, bad});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err.toStdString(),
                  std::string(lang == QByteArray("en")
                                  ? "Line 1, position 1: \"\\x1b[2J\\x00x\" is not a number.\n"
                                  : "第 1 行第 1 个字符处的“\\x1b[2J\\x00x”不是数值。\n"));
    }
}

TEST_F(Commands, AReadIsRefusedBeforeThePortWhenItsFolderTakesNoTemporaryFile)
{
    // The file may be written, the folder may not: a save would have to cut
    // the good file open in place.
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                          | QFile::ReadOther | QFile::ExeOther);
    const QString folder = dir.filePath("locked");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString out = folder + "/out.chann";
    SaveImage(out, image);
    const QByteArray good = LoadText(out);
    QFile::setPermissions(out, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther
                                   | QFile::WriteOther);
    QFile::setPermissions(folder,
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);

    const CliRun run =
        RunCli({"read", "--port", "/dev/ql540-no-such-port", "--output", out}, 60000, true);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(run.exitCode, 2) << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith("Cannot save in the folder " + folder + ": "))
        << run.err.toStdString();
    EXPECT_EQ(LoadText(out), good);
}

TEST_F(Commands, APortHeldByAnotherProgramIsReportedAsInUseNotAsAPermissionProblem)
{
    SimulatedRadio sim({"--no-pace"});
    ASSERT_FALSE(sim.device().isEmpty());
    QSerialPort holder(sim.device());
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite)) << holder.errorString().toStdString();

    for (const char *lang : {"en", "zh"}) {
        const CliRun run = RunCli({"write", "--lang", lang, "--port", sim.device(), file});
        EXPECT_EQ(run.exitCode, 1);
        const QString pid = QString::number(::getpid());
        const QString name = sim.device().mid(5).replace(u'/', u'_');
        EXPECT_TRUE(run.err.contains(QRegularExpression(
            lang == QByteArray("en")
                ? QStringLiteral("\nReason: The device is in use by another program \\(lock file "
                                 "/\\S+/LCK..%1, process %2 \\(")
                      .arg(name, pid)
                : QStringLiteral("\n原因：设备正被其他程序使用（锁文件 /\\S+/LCK..%1，进程 %2 \\(")
                      .arg(name, pid))))
            << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("dialout")) << run.err.toStdString();
    }
}

TEST_F(Commands, APortThatCannotBeOpenedIsALinkFailureInEitherLanguage)
{
    const QString out = dir.filePath("out.chann");
    CliRun run = RunCli({"read", "--port", "/dev/ql540-no-such-port", "--output", out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith(
        "Communication port is error, please setting right communication port . ！"))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("/dev/ql540-no-such-port"));
    EXPECT_FALSE(QFile::exists(out));

    EXPECT_TRUE(run.err.contains("\nReason: The device does not exist")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));

    // The reason in the user's language too.
    run = RunCli({"write", "--lang", "zh", "--port", "/dev/ql540-no-such-port", file});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("通讯端口打开错误，请正确设置通讯端口 ！")))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("\n原因：设备不存在"))) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("No such file")) << run.err.toStdString();
}
