#include "Commands.h"

#include "ChannelFile.h"
#include "CliSupport.h"
#include "CompareCommands.h"
#include "FleetRun.h"
#include "Globals.h"
#include "ImageReport.h"
#include "Language.h"
#include "PowerRun.h"
#include "Transfer.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

// "60,90,130": three values 0..255, blanks allowed around them.
std::optional<PowerLevels> ParseLevels(const QString &text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != Calibration::LevelCount)
        return std::nullopt;
    PowerLevels levels{};
    for (int k = 0; k < Calibration::LevelCount; ++k) {
        bool ok = false;
        levels[k] = parts.at(k).trimmed().toInt(&ok);
        if (!ok || levels[k] < 0 || levels[k] > 255)
            return std::nullopt;
    }
    return levels;
}

int TransferExit(TransferResult result)
{
    switch (result) {
    case TransferResult::Completed:
        return ExitSuccess;
    case TransferResult::Refused:
        return ExitBadInput;
    case TransferResult::Failed:
        break;
    }
    return ExitLinkFailure;
}

int ReadIntoFolder(const QStringList &ports, const QString &folder, bool withOutput,
                   ProgressOutput::Style style)
{
    const QString command = QStringLiteral("read");
    if (withOutput)
        return ArgumentError(Texts("--output 与 --output-dir 只能用一个。",
                                   "Give --output or --output-dir, not both."),
                             command);
    // Half a minute per radio: find out first that the folder takes files.
    if (!QFileInfo(folder).isDir()) {
        PrintError(Texts("目录 %1 不存在。", "The directory %1 does not exist.")
                       .arg(QDir::toNativeSeparators(folder)));
        return ExitBadInput;
    }
    if (const QString problem = OutputProblem(QDir(folder).filePath(QStringLiteral("radio.chann")));
        !problem.isEmpty()) {
        PrintError(problem);
        return ExitBadInput;
    }
    FleetOptions options;
    QString error;
    options.devices = ResolveFleetPorts(ports, &error);
    if (options.devices.isEmpty())
        return ArgumentError(error, command);
    options.style = style;
    return RunFleetRead(options, folder);
}

} // namespace

int ReadCommand(const QStringList &arguments)
{
    StartUp(Chinese(arguments));
    const QString command = QStringLiteral("read");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        Texts("从对讲机读取数据并保存为信道参数文件。出错时不写任何文件。",
              "Reads the radio and saves its memory as a channel file. "
              "On failure no file is written."));
    AddCommonOptions(parser);
    const QCommandLineOption port = PortOption();
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    Texts("要保存的信道参数文件。", "The channel file to save."),
                                    QStringLiteral("FILE.chann"));
    const QCommandLineOption outputDir(
        QStringLiteral("output-dir"),
        Texts("把每台对讲机保存到此目录，文件以端口和时间命名（可用于多个端口）。",
              "Save each radio into this folder, in a file named by port "
              "and time (for several ports)."),
        Texts("目录", "DIR"));
    const QCommandLineOption quiet = QuietOption();
    parser.addOptions({port, output, outputDir, quiet});
    if (const int code = ParseOptionsOnly(parser, arguments, command); code >= 0)
        return code;
    if (parser.value(port).isEmpty())
        return ArgumentError(Texts("缺少 --port 设备。", "Missing --port DEVICE."), command);
    if (parser.isSet(outputDir))
        return ReadIntoFolder(parser.values(port), parser.value(outputDir), parser.isSet(output),
                              ProgressOutput::styleFor(parser.isSet(quiet)));
    if (parser.values(port).size() > 1)
        return ArgumentError(
            Texts("多个端口需要 --output-dir 目录。", "Several ports need --output-dir DIR."),
            command);
    const QString path = parser.value(output);
    if (path.isEmpty())
        return ArgumentError(Texts("缺少 --output 文件。", "Missing --output FILE.chann."),
                             command);
    if (const QString problem = OutputProblem(path); !problem.isEmpty()) {
        PrintError(problem);
        return ExitBadInput;
    }

    UsePort(parser.value(port));
    const auto image = StartImage();
    const TransferResult result = RunRead(ProgressOutput::styleFor(parser.isSet(quiet)), *image);
    if (result != TransferResult::Completed)
        return TransferExit(result);
    ChannelFileError error;
    if (!WriteChannelFile(path, *image, &error)) {
        PrintError(error.message.text());
        return ExitBadInput;
    }
    return ExitSuccess;
}

int WriteCommand(const QStringList &arguments)
{
    StartUp(Chinese(arguments));
    const QString command = QStringLiteral("write");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        Texts("把信道参数文件写入对讲机，写入前的准备与频率检查与写入窗口相同。",
              "Writes a channel file into the radio, with the same preparation and frequency "
              "checks as the write window."));
    AddCommonOptions(parser);
    const QCommandLineOption port = PortOption();
    const QCommandLineOption quiet = QuietOption();
    const QCommandLineOption each(
        QStringLiteral("each"),
        Texts("流水线：每个端口等待对讲机，写入，等它被取下，再等下一台，"
              "直到按 Ctrl+C。",
              "Production line: on each port wait for a radio, write it, wait "
              "until it is unplugged, then the next one, until Ctrl+C."));
    const QCommandLineOption log(
        QStringLiteral("log"),
        Texts("每台对讲机的结果追加到此文件（时间、端口、序号、结果、用时、尝试次数）。",
              "Append each radio's result to this file (time, port, number, "
              "result, duration, attempts)."),
        Texts("文件", "FILE"));
    const QCommandLineOption verify(
        QStringLiteral("verify"),
        Texts("写入后读回对讲机并与写入的数据比较（不同时退出码为 3）。",
              "Read the radio back after the write and compare it with what "
              "was written (exit code 3 when they differ)."));
    const QCommandLineOption json(
        QStringLiteral("json"),
        Texts("以 JSON 输出校验结果。", "Print the verify's result as JSON."));
    parser.addOptions({port, quiet, verify, json, each, log});
    parser.addPositionalArgument(QStringLiteral("FILE.chann"),
                                 Texts("要写入的信道参数文件。", "The channel file to write."));
    if (const int code = ParseCommand(parser, arguments, command); code >= 0)
        return code;
    if (const int code = PortAndFileError(parser, port, command); code >= 0)
        return code;
    if (parser.isSet(json) && !parser.isSet(verify))
        return ArgumentError(
            Texts("--json 只能与 --verify 一起使用。", "--json goes with --verify only."), command);
    const auto image = StartImage();
    if (!LoadFile(parser.positionalArguments().constFirst(), *image))
        return ExitBadInput;

    const QStringList ports = parser.values(port);
    if (ports.size() > 1 || parser.isSet(each) || parser.isSet(log)) {
        FleetOptions options;
        QString error;
        options.devices = ResolveFleetPorts(ports, &error);
        if (options.devices.isEmpty())
            return ArgumentError(error, command);
        options.productionLine = parser.isSet(each);
        options.logPath = parser.value(log);
        options.style = ProgressOutput::styleFor(parser.isSet(quiet));
        options.verify = parser.isSet(verify);
        options.json = parser.isSet(json);
        return RunFleetWrite(options, *image);
    }
    UsePort(parser.value(port));
    const ProgressOutput::Style style = ProgressOutput::styleFor(parser.isSet(quiet));
    const TransferResult result = RunWrite(style, *image);
    if (result != TransferResult::Completed || !parser.isSet(verify))
        return TransferExit(result);
    // The write has prepared the image: it holds what was sent.
    return VerifyRadio(*image, style, parser.isSet(json));
}

int ShowCommand(const QStringList &arguments)
{
    StartUp(Chinese(arguments));
    const QString command = QStringLiteral("show");
    QCommandLineParser parser;
    parser.setApplicationDescription(Texts("显示信道参数文件的信道、频率模式和可选参数。",
                                           "Shows the channels, the VFO and the optional features "
                                           "of a channel file."));
    AddCommonOptions(parser);
    const QCommandLineOption all({QStringLiteral("a"), QStringLiteral("all")},
                                 Texts("也列出空信道。", "List empty channels too."));
    const QCommandLineOption json(QStringLiteral("json"), Texts("以 JSON 输出。", "Print JSON."));
    parser.addOptions({all, json});
    parser.addPositionalArgument(QStringLiteral("FILE.chann"),
                                 Texts("信道参数文件。", "The channel file."));
    if (const int code = ParseCommand(parser, arguments, command); code >= 0)
        return code;
    if (parser.positionalArguments().size() != 1)
        return ArgumentError(Texts("需要一个信道参数文件。", "Expected one channel file."),
                             command);
    const auto image = StartImage();
    if (!LoadFile(parser.positionalArguments().constFirst(), *image))
        return ExitBadInput;

    if (parser.isSet(json))
        std::fputs(QJsonDocument(ImageReportJson(*image, parser.isSet(all))).toJson().constData(),
                   stdout);
    else
        std::fputs(ImageReportText(*image, parser.isSet(all)).toUtf8().constData(), stdout);
    return ExitSuccess;
}

int PowerCommand(const QStringList &arguments)
{
    StartUp(Chinese(arguments));
    const QString command = QStringLiteral("power");
    QCommandLineParser parser;
    parser.setApplicationDescription(Texts("显示对讲机的三个发射功率值（低、中、高）；用 --set "
                                           "把新的值发送给对讲机，与发射功率调整窗口相同。",
                                           "Shows the radio's three transmit power values (low, "
                                           "mid, high); with --set, sends new ones "
                                           "to it, as the Power Adjust window does."));
    AddCommonOptions(parser);
    const QCommandLineOption port = PortOption();
    const QCommandLineOption set(
        QStringLiteral("set"),
        Texts("发送这三个功率值，每个 0..255。", "Send these three power values, each 0..255."),
        Texts("低,中,高", "LOW,MID,HIGH"));
    parser.addOptions({port, set});
    if (const int code = ParseOptionsOnly(parser, arguments, command); code >= 0)
        return code;
    if (parser.value(port).isEmpty())
        return ArgumentError(Texts("缺少 --port 设备。", "Missing --port DEVICE."), command);
    std::optional<PowerLevels> levels;
    if (parser.isSet(set)) {
        levels = ParseLevels(parser.value(set));
        if (!levels)
            return ArgumentError(Texts("--set 需要三个 0..255 的值：低,中,高。",
                                       "--set needs three values 0..255: LOW,MID,HIGH."),
                                 command);
    }

    UsePort(parser.value(port));
    // Nothing is saved: the image only carries the levels over the link.
    const auto image = StartImage();
    PowerLevels reported{};
    if (!RunPower(*image, levels, reported))
        return ExitLinkFailure;
    // The power window's slider titles, in a column.
    const QStringList titles{Texts("低功率", "Low Power"), Texts("中功率", "Mid Power"),
                             Texts("高功率", "High Power")};
    qsizetype width = 0;
    for (const QString &title : titles)
        width = std::max(width, title.size());
    for (int k = 0; k < Calibration::LevelCount; ++k) {
        QString line = titles.at(k).leftJustified(width + 2) + QString::number(reported[k]);
        if (levels)
            line += QStringLiteral(" -> ") + QString::number((*levels)[k]);
        PrintOut(line);
    }
    return ExitSuccess;
}
