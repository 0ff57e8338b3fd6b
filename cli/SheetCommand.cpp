#include "SheetCommand.h"

#include "ChannelSheet.h"
#include "CliSupport.h"
#include "Language.h"

#include <QCommandLineParser>

int SheetCommand(const QStringList &arguments)
{
    StartUp(Chinese(arguments));
    const QString command = QStringLiteral("sheet");
    QCommandLineParser parser;
    parser.setApplicationDescription(Texts(
        "把信道参数文件打印成信道表（PDF）：频段图、信道、频率模式、可选参数和调频电台。",
        "Prints a channel file as a channel sheet (PDF): the band chart, the channels, the VFO, "
        "the optional features and the FM presets."));
    AddCommonOptions(parser);
    const QCommandLineOption pdf(QStringLiteral("pdf"),
                                 Texts("写入这个 PDF 文件。", "Write this PDF file."),
                                 QStringLiteral("OUT.pdf"));
    const QCommandLineOption paper(
        QStringLiteral("paper"),
        Texts("纸张：a4（默认）或 letter。", "Paper: a4 (default) or letter."),
        QStringLiteral("a4|letter"), QStringLiteral("a4"));
    parser.addOptions({pdf, paper});
    parser.addPositionalArgument(QStringLiteral("FILE.chann"),
                                 Texts("信道参数文件。", "The channel file."));
    if (const int code = ParseCommand(parser, arguments, command); code >= 0)
        return code;
    if (parser.positionalArguments().size() != 1)
        return ArgumentError(Texts("需要一个信道参数文件。", "Expected one channel file."),
                             command);
    if (!parser.isSet(pdf))
        return ArgumentError(Texts("需要 --pdf 输出文件。", "Expected --pdf OUT.pdf."), command);
    const QString size = parser.value(paper).toLower();
    if (size != QLatin1String("a4") && size != QLatin1String("letter"))
        return ArgumentError(Texts("未知的纸张：%1", "Unknown paper: %1").arg(parser.value(paper)),
                             command);
    const auto image = StartImage();
    if (!LoadFile(parser.positionalArguments().constFirst(), *image))
        return ExitBadInput;

    QString error;
    const QPageSize pageSize(size == QLatin1String("letter") ? QPageSize::Letter : QPageSize::A4);
    if (!SaveChannelSheetPdf(*image, parser.value(pdf), pageSize, &error)) {
        PrintError(Texts("无法写入 %1：%2", "Cannot write %1: %2").arg(parser.value(pdf), error));
        return ExitBadInput;
    }
    return ExitSuccess;
}
