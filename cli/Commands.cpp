#include "Commands.h"

#include "ChannelFile.h"
#include "CliSupport.h"
#include "Globals.h"
#include "ImageReport.h"
#include "Language.h"
#include "Transfer.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <cstdio>

namespace {

QCommandLineOption PortOption()
{
    return QCommandLineOption(QStringLiteral("port"),
                              Texts("编程线所接的串口：设备路径（/dev/ttyUSB0、COM3）或端口号 1..8。",
                                    "Serial port of the programming cable: a device path "
                                    "(/dev/ttyUSB0, COM3) or a port number 1..8."),
                              Texts("设备", "DEVICE"));
}

QCommandLineOption QuietOption()
{
    return QCommandLineOption({QStringLiteral("q"), QStringLiteral("quiet")},
                              Texts("只输出错误。", "Print nothing but errors."));
}

bool Chinese(const QStringList &arguments)
{
    bool chinese = false;
    LanguageFromArguments(arguments, chinese);
    return chinese;
}

// Reads a channel file into RadioData; false (message printed) when it
// cannot be read or is not a channel file.
bool LoadFile(const QString &path)
{
    ChannelFileError error;
    if (ReadChannelFile(path, RadioData, &error))
        return true;
    PrintError(IsChinese ? error.chinese : error.english);
    return false;
}

// A read takes half a minute; find out before it that its file cannot be
// saved where asked.
QString OutputProblem(const QString &path)
{
    const QFileInfo file(path);
    if (file.isDir())
        return Texts("%1 是一个目录。", "%1 is a directory.").arg(QDir::toNativeSeparators(path));
    const QFileInfo dir(file.absolutePath());
    if (!dir.isDir())
        return Texts("目录 %1 不存在。", "The directory %1 does not exist.")
            .arg(QDir::toNativeSeparators(dir.filePath()));
    // The save goes through a temporary file beside it, so the folder must
    // take one even when the file itself is writable.
    ChannelFileError error;
    if (!CanWriteChannelFile(path, &error))
        return IsChinese ? error.chinese : error.english;
    return {};
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

} // namespace

int ReadCommand(const QStringList &arguments)
{
    StartUp(Chinese(arguments));
    const QString command = QStringLiteral("read");
    QCommandLineParser parser;
    parser.setApplicationDescription(Texts("从对讲机读取数据并保存为信道参数文件。出错时不写任何文件。",
                                           "Reads the radio and saves its memory as a channel file. "
                                           "On failure no file is written."));
    AddCommonOptions(parser);
    const QCommandLineOption port = PortOption();
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    Texts("要保存的信道参数文件。", "The channel file to save."),
                                    QStringLiteral("FILE.chann"));
    const QCommandLineOption quiet = QuietOption();
    parser.addOptions({port, output, quiet});
    if (const int code = ParseCommand(parser, arguments, command); code >= 0)
        return code;
    if (!parser.positionalArguments().isEmpty())
        return ArgumentError(Texts("多余的参数：%1", "Unexpected argument: %1")
                                 .arg(parser.positionalArguments().constFirst()),
                             command);
    if (parser.value(port).isEmpty())
        return ArgumentError(Texts("缺少 --port 设备。", "Missing --port DEVICE."), command);
    const QString path = parser.value(output);
    if (path.isEmpty())
        return ArgumentError(Texts("缺少 --output 文件。", "Missing --output FILE.chann."), command);
    if (const QString problem = OutputProblem(path); !problem.isEmpty()) {
        PrintError(problem);
        return ExitBadInput;
    }

    UsePort(parser.value(port));
    const TransferResult result = RunRead(ProgressOutput::styleFor(parser.isSet(quiet)));
    if (result != TransferResult::Completed)
        return TransferExit(result);
    ChannelFileError error;
    if (!WriteChannelFile(path, RadioData, &error)) {
        PrintError(IsChinese ? error.chinese : error.english);
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
    parser.addOptions({port, quiet});
    parser.addPositionalArgument(QStringLiteral("FILE.chann"), Texts("要写入的信道参数文件。", "The channel file to write."));
    if (const int code = ParseCommand(parser, arguments, command); code >= 0)
        return code;
    if (parser.value(port).isEmpty())
        return ArgumentError(Texts("缺少 --port 设备。", "Missing --port DEVICE."), command);
    if (parser.positionalArguments().size() != 1)
        return ArgumentError(Texts("需要一个信道参数文件。", "Expected one channel file."), command);
    if (!LoadFile(parser.positionalArguments().constFirst()))
        return ExitBadInput;

    UsePort(parser.value(port));
    return TransferExit(RunWrite(ProgressOutput::styleFor(parser.isSet(quiet))));
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
    parser.addPositionalArgument(QStringLiteral("FILE.chann"), Texts("信道参数文件。", "The channel file."));
    if (const int code = ParseCommand(parser, arguments, command); code >= 0)
        return code;
    if (parser.positionalArguments().size() != 1)
        return ArgumentError(Texts("需要一个信道参数文件。", "Expected one channel file."), command);
    if (!LoadFile(parser.positionalArguments().constFirst()))
        return ExitBadInput;

    if (parser.isSet(json))
        std::fputs(QJsonDocument(ImageReportJson(parser.isSet(all))).toJson().constData(), stdout);
    else
        std::fputs(ImageReportText(parser.isSet(all)).toUtf8().constData(), stdout);
    return ExitSuccess;
}
