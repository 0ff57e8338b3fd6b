// ql540 new: a channel file without the windows, holding what the program
// holds when it starts - every channel empty, the start-up options - with
// the band and VFO that choosing a model in the model window stores.
#include "ChannelFile.h"
#include "CliSupport.h"
#include "Commands.h"
#include "Conversions.h"
#include "Globals.h"
#include "ImageRoutines.h"
#include "Language.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString BandOf(int model)
{
    return QStringLiteral("%1-%2").arg(BandTable[model]).arg(BandTable[model + 7]);
}

// "QL540 UHF (400-470), QL540 VHF (136-174), ..." for the error messages.
QString ModelList()
{
    QStringList models;
    for (int m = 0; m < int(ModelNames.size()); ++m)
        models << QStringLiteral("%1 (%2)").arg(ModelNames[m], BandOf(m));
    return models.join(QStringLiteral(", "));
}

// "136-174", "136..174", blanks and a trailing "MHz" allowed.
std::optional<int> ModelOfBand(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{1,4})\\s*(?:-|\\.\\.)\\s*(\\d{1,4})\\s*(?:MHz)?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return ModelByBand(m.captured(1).toInt(), m.captured(2).toInt());
}

} // namespace

int NewCommand(const QStringList &arguments)
{
    StartUp(Chinese(arguments));
    const QString command = QStringLiteral("new");
    QCommandLineParser parser;
    parser.setApplicationDescription(Texts(
        "新建信道参数文件：内容与程序启动时相同（所有信道为空，可选功能为启动时的默认值）。"
        "给出 --model 或 --band 时，频段和频率模式与在机型选择窗口中确定该机型后相同。"
        "不覆盖已有的文件，除非给出 --force。",
        "Makes a new channel file holding what the program holds when it starts (every channel "
        "empty, the optional features as at start-up). With --model or --band, the band and "
        "the VFO are those that confirming that model in the Model Select window stores. An "
        "existing file is not overwritten unless --force is given."));
    AddCommonOptions(parser);
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    Texts("要建立的信道参数文件。", "The channel file to make."),
                                    QStringLiteral("FILE.chann"));
    const QCommandLineOption model(QStringLiteral("model"),
                                   Texts("机型：%1。", "The model: %1.").arg(ModelList()),
                                   Texts("机型", "NAME"));
    const QCommandLineOption band(
        QStringLiteral("band"),
        Texts("机型的频段（MHz），如 136-174。", "The band of a model in MHz, e.g. 136-174."),
        QStringLiteral("LOW-HIGH"));
    const QCommandLineOption force(QStringLiteral("force"),
                                   Texts("覆盖已有的文件。", "Overwrite an existing file."));
    parser.addOptions({output, model, band, force});
    if (const int code = ParseOptionsOnly(parser, arguments, command); code >= 0)
        return code;
    const QString path = parser.value(output);
    if (path.isEmpty())
        return ArgumentError(Texts("缺少 --output 文件。", "Missing --output FILE.chann."),
                             command);
    if (parser.isSet(model) && parser.isSet(band))
        return ArgumentError(
            Texts("--model 与 --band 只能用一个。", "Give --model or --band, not both."), command);

    std::optional<int> chosen;
    if (parser.isSet(model)) {
        chosen = ModelByName(parser.value(model));
        if (!chosen)
            return ArgumentError(
                Texts("未知的机型 \"%1\"。可用：%2。", "Unknown model \"%1\". Models: %2.")
                    .arg(parser.value(model), ModelList()),
                command);
    } else if (parser.isSet(band)) {
        chosen = ModelOfBand(parser.value(band));
        if (!chosen)
            return ArgumentError(Texts("没有频段为 \"%1\" 的机型。可用：%2。",
                                       "No model has the band \"%1\". Models: %2.")
                                     .arg(parser.value(band), ModelList()),
                                 command);
    }

    const QString shown = QDir::toNativeSeparators(path);
    if (QFileInfo::exists(path) && !QFileInfo(path).isDir() && !parser.isSet(force)) {
        PrintError(Texts("%1 已存在，未改动（--force 覆盖它）。",
                         "%1 exists and was left as it is (--force overwrites it).")
                       .arg(shown));
        return ExitBadInput;
    }
    if (const QString problem = OutputProblem(path); !problem.isEmpty()) {
        PrintError(problem);
        return ExitBadInput;
    }

    const auto image = StartImage();
    if (chosen)
        StoreModelChoice(*image, *chosen);
    ChannelFileError error;
    if (!WriteChannelFile(path, *image, &error)) {
        PrintError(error.message.text());
        return ExitBadInput;
    }
    const BandLimits limits = DecodeBandLimits(*image);
    PrintOut(Texts("已建立 %1：%2，频段 %3..%4 MHz，信道全空。",
                   "Made %1: %2, band %3..%4 MHz, every channel empty.")
                 .arg(shown, ModelNames[chosen.value_or(ModelIndex)])
                 .arg(limits.low)
                 .arg(limits.high));
    return ExitSuccess;
}
