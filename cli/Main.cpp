// ql540: the radio link and the channel file without the windows, for
// scripts and machines without a desktop.
#include "CliSupport.h"
#include "Commands.h"
#include "CompareCommands.h"
#include "CsvCommands.h"
#include "Globals.h"
#include "Language.h"
#include "PortsCommand.h"
#include "SessionState.h"
#include "SheetCommand.h"
#include "Terminal.h"

#ifdef QL540_WITH_SIM
#include "RadioSimulator.h"
#endif

#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

QString Usage()
{
    QString usage = Texts(
        "用法：ql540 [--lang zh|en] <命令> [选项]\n"
        "\n"
        "命令：\n"
        "  read   --port 设备 --output 文件.chann   从对讲机读取并保存\n"
        "  write  --port 设备 文件.chann            把文件写入对讲机（--verify：写后校验）\n"
        "  verify --port 设备 文件.chann            校验对讲机中的数据是否与文件一致\n"
        "  diff   文件A.chann 文件B.chann [--json]  比较两个文件\n"
        "  show   文件.chann [--all] [--json]       显示文件内容\n"
        "  new    --output 文件.chann [--model 机型 | --band 下限-上限]\n"
        "                                           新建信道参数文件（启动时的内容）\n"
        "  export-csv 文件.chann 输出.csv           把信道导出为 CSV 信道列表\n"
        "  import-csv 输入.csv --into 文件.chann [--output 新.chann] [--from N] [--partial]\n"
        "                                           把 CSV 信道列表导入文件\n"
        "  power  --port 设备 [--set 低,中,高]      显示或设置发射功率值\n"
        "  ports  [--json]                          列出本机的串口及其说明\n"
        "  sheet  文件.chann --pdf 输出.pdf          打印信道表（PDF）\n"
        "  sim    [选项]                            模拟对讲机（伪终端）\n"
        "\n"
        "每个命令都有 --help 和 --lang zh|en。\n"
        "退出码：0 成功，1 对讲机或串口故障，2 参数或文件错误，3 校验或比较发现不同，4 "
        "导入只写入了部分行。\n",
        "Usage: ql540 [--lang zh|en] <command> [options]\n"
        "\n"
        "Commands:\n"
        "  read   --port DEVICE --output FILE.chann   read the radio into a file\n"
        "  write  --port DEVICE FILE.chann            write a file into the radio (--verify: and "
        "check it)\n"
        "  verify --port DEVICE FILE.chann            check that the radio holds the file\n"
        "  diff   A.chann B.chann [--json]            compare two files\n"
        "  show   FILE.chann [--all] [--json]         print what a file holds\n"
        "  new    --output FILE.chann [--model NAME | --band LOW-HIGH]\n"
        "                                             a new channel file, as the program starts\n"
        "  export-csv FILE.chann OUT.csv              channels out as a CSV channel list\n"
        "  import-csv IN.csv --into FILE.chann [--output NEW.chann] [--from N] [--partial]\n"
        "                                             a CSV channel list into a file\n"
        "  power  --port DEVICE [--set LOW,MID,HIGH]  show or set the transmit power values\n"
        "  ports  [--json]                            list the serial ports and what each is\n"
        "  sheet  FILE.chann --pdf OUT.pdf            print the channel sheet as PDF\n"
        "  sim    [options]                           simulated radio on a pseudo-terminal\n"
        "\n"
        "Every command takes --help and --lang zh|en.\n"
        "Exit codes: 0 success, 1 radio or port failure, 2 bad arguments or a bad file,\n"
        "3 a verify or a comparison found differences, 4 an import applied only part of a file.\n");
#ifndef QL540_WITH_SIM
    // No pseudo-terminals here, so no simulator.
    QStringList lines = usage.split(u'\n');
    lines.removeIf([](const QString &line) { return line.startsWith(QLatin1String("  sim ")); });
    usage = lines.join(u'\n');
#endif
    return usage;
}

// Where the command stands: users also put the language first
// ("ql540 --lang zh show FILE").
int CommandIndex(int argc, char *argv[])
{
    int i = 1;
    while (i < argc) {
        if (std::strcmp(argv[i], "--lang") == 0 && i + 1 < argc)
            i += 2;
        else if (std::strncmp(argv[i], "--lang=", 7) == 0)
            i += 1;
        else
            break;
    }
    return i;
}

} // namespace

int main(int argc, char *argv[])
{
    SetUpConsole();
    const int at = CommandIndex(argc, argv);
#ifdef QL540_WITH_SIM
    // The simulator is a program of its own with its own loop and options
    // (and English only).
    if (at < argc && std::strcmp(argv[at], "sim") == 0) {
        // Its help names the program by the first argument.
        char name[] = "ql540 sim";
        argv[at] = name;
        return RunRadioSimulator(argc - at, argv + at);
    }
#endif

    // The channel sheet paints with Qt Gui; it needs no display, only the
    // off-screen platform. Every other command stays a console program.
    const bool painting = at < argc && std::strcmp(argv[at], "sheet") == 0;
    if (painting && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> application =
        painting ? std::make_unique<QGuiApplication>(argc, argv)
                 : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ql540"));
    const QStringList arguments = QCoreApplication::arguments();
    bool chinese = false;
    if (!LanguageFromArguments(arguments, chinese))
        return ExitBadInput;
    SessionState::instance().setChinese(chinese);

    // Options before the command go to it as if given after it.
    const QString command = arguments.value(at);
    const QStringList rest = QStringList{QStringLiteral("ql540 ") + command}
                             + arguments.mid(1, at - 1) + arguments.mid(at + 1);
    if (command == QLatin1String("read"))
        return ReadCommand(rest);
    if (command == QLatin1String("write"))
        return WriteCommand(rest);
    if (command == QLatin1String("show"))
        return ShowCommand(rest);
    if (command == QLatin1String("new"))
        return NewCommand(rest);
    if (command == QLatin1String("power"))
        return PowerCommand(rest);
    if (command == QLatin1String("export-csv"))
        return ExportCsvCommand(rest);
    if (command == QLatin1String("import-csv"))
        return ImportCsvCommand(rest);
    if (command == QLatin1String("sheet"))
        return SheetCommand(rest);
    if (command == QLatin1String("verify"))
        return VerifyCommand(rest);
    if (command == QLatin1String("diff"))
        return DiffCommand(rest);
    if (command == QLatin1String("ports"))
        return PortsCommand(rest);
    if (command == QLatin1String("--help") || command == QLatin1String("-h")
        || command == QLatin1String("help")) {
        std::fputs(Usage().toUtf8().constData(), stdout);
        return ExitSuccess;
    }
    if (command == QLatin1String("--version")) {
        PrintOut(QStringLiteral("ql540 ") + VersionText);
        return ExitSuccess;
    }
    if (command.isEmpty())
        PrintError(Texts("缺少命令。", "Missing command."));
    else
        PrintError(Texts("未知的命令：%1", "Unknown command: %1").arg(command));
    std::fputs(Usage().toUtf8().constData(), stderr);
    return ExitBadInput;
}
