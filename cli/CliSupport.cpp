#include "CliSupport.h"

#include "ChannelFile.h"
#include "Globals.h"
#include "ImageRoutines.h"
#include "Language.h"
#include "SessionState.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

void StartUp(bool chinese)
{
    ResetGlobals();
    SessionState::instance().setChinese(chinese);
}

std::unique_ptr<ImageTable> StartImage()
{
    auto image = std::make_unique<ImageTable>();
    ResetImage(*image);
    return image;
}

bool LanguageFromArguments(const QStringList &arguments, bool &chinese)
{
    chinese = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (a == QLatin1String("--"))
            break;
        QString value;
        if (a == QLatin1String("--lang") && i + 1 < arguments.size())
            value = arguments.at(i + 1);
        else if (a.startsWith(QLatin1String("--lang=")))
            value = a.mid(7);
        else
            continue;
        if (value == QLatin1String("zh")) {
            chinese = true;
        } else if (value == QLatin1String("en")) {
            chinese = false;
        } else {
            PrintError(QStringLiteral("ql540: --lang takes zh or en, not \"%1\"").arg(value));
            return false;
        }
    }
    return true;
}

bool Chinese(const QStringList &arguments)
{
    bool chinese = false;
    LanguageFromArguments(arguments, chinese);
    return chinese;
}

void AddCommonOptions(QCommandLineParser &parser)
{
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        Texts("显示此帮助。", "Show this help.")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("lang"),
        Texts("消息语言：zh（中文）或 en（英文，默认）。",
              "Language of the messages: zh (Chinese) or en (English, default)."),
        QStringLiteral("zh|en"), QStringLiteral("en")));
}

int ParseCommand(QCommandLineParser &parser, const QStringList &arguments, const QString &command)
{
    if (!parser.parse(arguments))
        return ArgumentError(parser.errorText(), command);
    if (parser.isSet(QStringLiteral("help"))) {
        // The parser names the program by its path; name the command instead.
        QString help = parser.helpText();
        const qsizetype end = help.indexOf(QLatin1String(" ["));
        if (help.startsWith(QLatin1String("Usage: ")) && end > 0)
            help.replace(7, end - 7, QStringLiteral("ql540 ") + command);
        std::fputs(help.toUtf8().constData(), stdout);
        return ExitSuccess;
    }
    return -1;
}

int ParseOptionsOnly(QCommandLineParser &parser, const QStringList &arguments,
                     const QString &command)
{
    if (const int code = ParseCommand(parser, arguments, command); code >= 0)
        return code;
    if (!parser.positionalArguments().isEmpty())
        return ArgumentError(Texts("多余的参数：%1", "Unexpected argument: %1")
                                 .arg(parser.positionalArguments().constFirst()),
                             command);
    return -1;
}

namespace {

// Line breaks and tabs of our own texts stay; any other control character
// (from a file or an argument) is shown escaped. The whole text goes out,
// whatever it holds.
void Print(const QString &text, FILE *stream)
{
    QStringList lines = text.split(u'\n');
    for (QString &line : lines) {
        QStringList fields = line.split(u'\t');
        for (QString &field : fields)
            field = PrintableText(field);
        line = fields.join(u'\t');
    }
    const QByteArray bytes = (lines.join(u'\n') + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

} // namespace

void PrintOut(const QString &text) { Print(text, stdout); }

void PrintError(const QString &text)
{
    std::fflush(stdout);
    Print(text, stderr);
    std::fflush(stderr);
}

int ArgumentError(const QString &message, const QString &command)
{
    PrintError(QStringLiteral("ql540 %1: %2").arg(command, message));
    PrintError(Texts("用法见 \"ql540 %1 --help\"。", "See \"ql540 %1 --help\".").arg(command));
    return ExitBadInput;
}

QCommandLineOption PortOption()
{
    return QCommandLineOption(
        QStringLiteral("port"),
        Texts("编程线所接的串口：设备路径或名称（/dev/ttyUSB0、COM12，任何 COM 号）或端口号 "
              "1..8（\"ql540 ports\" 列出本机的串口）；"
              "write、verify 和 read --output-dir 可多次给出，同时处理多台对讲机。",
              "Serial port of the programming cable: a device path or name "
              "(/dev/ttyUSB0, COM12, any COM number) or a port number 1..8 (\"ql540 ports\" "
              "lists them); write, verify and "
              "read --output-dir take it several times for several radios at once."),
        Texts("设备", "DEVICE"));
}

int PortAndFileError(const QCommandLineParser &parser, const QCommandLineOption &port,
                     const QString &command)
{
    if (parser.value(port).isEmpty())
        return ArgumentError(Texts("缺少 --port 设备。", "Missing --port DEVICE."), command);
    if (parser.positionalArguments().size() != 1)
        return ArgumentError(Texts("需要一个信道参数文件。", "Expected one channel file."),
                             command);
    return -1;
}

QCommandLineOption QuietOption()
{
    return QCommandLineOption({QStringLiteral("q"), QStringLiteral("quiet")},
                              Texts("只输出错误。", "Print nothing but errors."));
}

bool LoadFile(const QString &path, ImageTable &image)
{
    ChannelFileError error;
    if (ReadChannelFile(path, image, &error))
        return true;
    PrintError(error.message.text());
    return false;
}

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
        return error.message.text();
    return {};
}
