#include "CsvCommands.h"

#include "ChannelCsv.h"
#include "ChannelCsvFile.h"
#include "ChannelFile.h"
#include "CliSupport.h"
#include "Globals.h"
#include "Language.h"
#include "RecordCodec.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

int ExportCsvCommand(const QStringList &arguments)
{
    StartUp(Chinese(arguments));
    const QString command = QStringLiteral("export-csv");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        Texts("把信道参数文件中的信道导出为通用信道 CSV 格式（另加 Vox、BusyLock、TxStop 列）。",
              "Exports the channels of a channel file in the common channel CSV format (with "
              "the extra columns Vox, BusyLock and TxStop)."));
    AddCommonOptions(parser);
    parser.addPositionalArgument(QStringLiteral("FILE.chann"),
                                 Texts("信道参数文件。", "The channel file."));
    parser.addPositionalArgument(QStringLiteral("OUT.csv"),
                                 Texts("要写入的 CSV 文件。", "The CSV file to write."));
    if (const int code = ParseCommand(parser, arguments, command); code >= 0)
        return code;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2)
        return ArgumentError(
            Texts("需要信道参数文件和 CSV 文件。", "Expected a channel file and a CSV file."),
            command);
    const auto image = StartImage();
    if (!LoadFile(files.at(0), *image))
        return ExitBadInput;
    const QByteArray text = ExportChannelCsv(*image);
    BilingualText error;
    if (!WriteChannelCsvFile(files.at(1), text, &error)) {
        PrintError(error.text());
        return ExitBadInput;
    }
    int count = 0;
    for (int n = 1; n <= ChannelCount; ++n)
        count += Record::IsEmpty(*image, n) ? 0 : 1;
    PrintOut(Texts("已导出 %1 个信道到 %2。",
                   count == 1 ? "Exported %1 channel to %2." : "Exported %1 channels to %2.")
                 .arg(count)
                 .arg(QDir::toNativeSeparators(files.at(1))));
    return ExitSuccess;
}

namespace {

// What import-csv was asked to do.
struct ImportRequest {
    QString list; // the CSV file
    QString target; // --into
    QString output; // where the result goes: --output, else the target
    CsvPlacement placement;
    bool partial = false;
};

// Returns -1 with the request filled in, otherwise the exit code to end
// with (message printed).
int ParseImportRequest(const QStringList &arguments, ImportRequest &request)
{
    const QString command = QStringLiteral("import-csv");
    QCommandLineParser parser;
    parser.setApplicationDescription(Texts(
        "把通用信道 CSV 格式的信道列表导入信道参数文件。每一行都按信道表格的规则和文件的频段检查；"
        "有被拒绝的行时，除非给出 --partial，否则不写任何文件。\n"
        "退出码：0 全部写入，2 参数或文件错误或有行被拒绝，4 用 --partial 只写入了正确的行。",
        "Imports a channel list in the common channel CSV format into a channel file. Every "
        "row is checked by the channel grid's rules against the file's band; when a row is "
        "refused nothing is written unless --partial is given.\n"
        "Exit codes: 0 every row applied; 2 bad arguments, a bad file, or rows refused; "
        "4 --partial applied the good rows and refused others."));
    AddCommonOptions(parser);
    const QCommandLineOption into(
        QStringLiteral("into"),
        Texts("导入到这个信道参数文件。", "The channel file to import into."),
        QStringLiteral("FILE.chann"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    Texts("结果另存为此文件（默认覆盖 --into 的文件）。",
                                          "Save the result here (default: over the --into file)."),
                                    QStringLiteral("NEW.chann"));
    const QCommandLineOption from(QStringLiteral("from"),
                                  Texts("按文件顺序从信道 N 起放置各行，不用文件中的信道号。",
                                        "Place the rows in file order from channel N instead of by "
                                        "the file's channel numbers."),
                                  QStringLiteral("N"));
    const QCommandLineOption partial(
        QStringLiteral("partial"),
        Texts("有行被拒绝时仍写入正确的行（退出码 4）。",
              "Apply the good rows even when others are refused (exit code 4)."));
    parser.addOptions({into, output, from, partial});
    parser.addPositionalArgument(QStringLiteral("IN.csv"),
                                 Texts("CSV 信道列表。", "The CSV channel list."));
    if (const int code = ParseCommand(parser, arguments, command); code >= 0)
        return code;
    if (parser.positionalArguments().size() != 1)
        return ArgumentError(Texts("需要一个 CSV 文件。", "Expected one CSV file."), command);
    request.list = parser.positionalArguments().constFirst();
    request.target = parser.value(into);
    if (request.target.isEmpty())
        return ArgumentError(Texts("缺少 --into 文件。", "Missing --into FILE.chann."), command);
    request.output = parser.isSet(output) ? parser.value(output) : request.target;
    request.partial = parser.isSet(partial);
    if (parser.isSet(from)) {
        bool ok = false;
        request.placement.mode = CsvPlacement::Mode::FileOrder;
        request.placement.firstChannel = parser.value(from).toInt(&ok);
        if (!ok || request.placement.firstChannel < 1
            || request.placement.firstChannel > ChannelCount)
            return ArgumentError(
                Texts("--from 需要 1..128 的信道号。", "--from takes a channel 1..128."), command);
    }
    return -1;
}

int RunImport(const ImportRequest &request)
{
    if (!QFileInfo::exists(request.target)) {
        const QString shown = QDir::toNativeSeparators(request.target);
        PrintError(Texts("信道参数文件 %1 不存在。可以这样新建一个：\n"
                         "  ql540 new --output %1 [--model 机型 | --band 下限-上限]",
                         "The channel file %1 does not exist. Make one with\n"
                         "  ql540 new --output %1 [--model NAME | --band LOW-HIGH]")
                       .arg(shown));
        return ExitBadInput;
    }
    const auto image = StartImage();
    if (!LoadFile(request.target, *image))
        return ExitBadInput;
    QByteArray text;
    BilingualText error;
    if (!ReadChannelCsvFile(request.list, text, &error)) {
        PrintError(error.text());
        return ExitBadInput;
    }
    // The band the file's own editors would check against.
    const BandLimits band = DecodeBandLimits(*image);
    const CsvFile file = ParseChannelCsv(text, {double(band.low), double(band.high)});
    if (file.error) {
        PrintError(file.error->text());
        return ExitBadInput;
    }
    const CsvImportPlan plan = PlanCsvImport(file, request.placement, image.get());
    for (const CsvIssue &issue : plan.report)
        PrintOut(CsvIssueText(issue));
    PrintOut(CsvPlanSummary(plan));
    if (!plan.allApplied() && !request.partial) {
        PrintError(Texts("有行被拒绝，未写入任何文件（用 --partial 只写入正确的行）。",
                         "Rows were refused; nothing written (--partial applies the good rows)."));
        return ExitBadInput;
    }
    ApplyCsvImport(*image, plan);
    ChannelFileError writeError;
    if (!WriteChannelFile(request.output, *image, &writeError)) {
        PrintError(writeError.message.text());
        return ExitBadInput;
    }
    return plan.allApplied() ? ExitSuccess : ExitPartial;
}

} // namespace

int ImportCsvCommand(const QStringList &arguments)
{
    StartUp(Chinese(arguments));
    ImportRequest request;
    if (const int code = ParseImportRequest(arguments, request); code >= 0)
        return code;
    return RunImport(request);
}
