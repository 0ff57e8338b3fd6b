#include "CompareCommands.h"

#include "CliSupport.h"
#include "FleetRun.h"
#include "ImageDiff.h"
#include "Language.h"
#include "Transfer.h"
#include "WritePreparation.h"

#include <QCommandLineParser>
#include <QJsonDocument>
#include <cstdio>
#include <memory>

namespace {

QCommandLineOption JsonOption()
{
    return QCommandLineOption(QStringLiteral("json"), Texts("以 JSON 输出。", "Print JSON."));
}

// The lines (or the JSON) on standard output, then what they add up to.
int Report(const QList<ImageDifference> &differences, bool json, const QString &leftName,
           const QString &rightName, const QString &sameText, bool quiet)
{
    if (json) {
        std::fputs(
            QJsonDocument(DifferencesJson(differences, leftName, rightName)).toJson().constData(),
            stdout);
    } else {
        for (const ImageDifference &d : differences)
            PrintOut(DifferenceLine(d));
        if (!quiet)
            PrintOut(differences.isEmpty() ? sameText : DifferenceSummary(differences.size()));
    }
    return differences.isEmpty() ? ExitSuccess : ExitDifferent;
}

} // namespace

int VerifyRadio(const ImageTable &expected, ProgressOutput::Style style, bool json)
{
    auto radio = std::make_unique<ImageTable>();
    if (RunVerifyRead(style, *radio) != TransferResult::Completed)
        return ExitLinkFailure;
    return Report(
        DiffImages(expected, *radio, 0, WriteBlockCount - 1), json, QStringLiteral("file"),
        QStringLiteral("radio"),
        Texts("对讲机中的数据与文件写入的数据一致。", "The radio holds what the file writes."),
        style == ProgressOutput::Style::Quiet);
}

int VerifyCommand(const QStringList &arguments)
{
    StartUp(Chinese(arguments));
    const QString command = QStringLiteral("verify");
    QCommandLineParser parser;
    parser.setApplicationDescription(Texts(
        "从对讲机读回第 0..239 块，与写入该文件时对讲机应有的数据（经过与写入相同的准备）比较。"
        "退出码：0 一致，3 有不同，1 对讲机或串口故障，2 参数或文件错误。",
        "Reads blocks 0..239 back from the radio and compares them with what a write of the "
        "file leaves there (after the same preparation as the write). Exit codes: 0 the same, "
        "3 different, 1 radio or port failure, 2 bad arguments or a bad file."));
    AddCommonOptions(parser);
    const QCommandLineOption port = PortOption();
    const QCommandLineOption quiet = QuietOption();
    const QCommandLineOption json = JsonOption();
    parser.addOptions({port, quiet, json});
    parser.addPositionalArgument(
        QStringLiteral("FILE.chann"),
        Texts("要比较的信道参数文件。", "The channel file to compare with."));
    if (const int code = ParseCommand(parser, arguments, command); code >= 0)
        return code;
    if (const int code = PortAndFileError(parser, port, command); code >= 0)
        return code;
    FleetOptions fleet;
    if (parser.values(port).size() > 1) {
        QString error;
        fleet.devices = ResolveFleetPorts(parser.values(port), &error);
        if (fleet.devices.isEmpty())
            return ArgumentError(error, command);
    }
    const auto file = StartImage();
    if (!LoadFile(parser.positionalArguments().constFirst(), *file))
        return ExitBadInput;

    std::optional<BilingualText> refusal;
    const auto expected = std::make_unique<ImageTable>(PreparedForRadio(*file, &refusal));
    // Such a file never reaches a radio through a write; what it holds is
    // compared all the same.
    if (refusal && !parser.isSet(quiet))
        PrintError(
            Texts("注意：写入该文件会被拒绝：%1", "Note: a write of this file would be refused: %1")
                .arg(refusal->text().trimmed()));
    if (!fleet.devices.isEmpty()) {
        fleet.style = ProgressOutput::styleFor(parser.isSet(quiet));
        fleet.json = parser.isSet(json);
        return RunFleetVerify(fleet, *expected);
    }
    UsePort(parser.value(port));
    return VerifyRadio(*expected, ProgressOutput::styleFor(parser.isSet(quiet)),
                       parser.isSet(json));
}

int DiffCommand(const QStringList &arguments)
{
    StartUp(Chinese(arguments));
    const QString command = QStringLiteral("diff");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        Texts("比较两个信道参数文件，按信道和字段列出不同之处。退出码：0 相同，3 不同，2 "
              "参数或文件错误。",
              "Compares two channel files and lists what differs by channel and field. Exit codes: "
              "0 the same, 3 different, 2 bad arguments or a bad file."));
    AddCommonOptions(parser);
    const QCommandLineOption json = JsonOption();
    parser.addOption(json);
    parser.addPositionalArgument(QStringLiteral("A.chann"),
                                 Texts("第一个文件。", "The first file."));
    parser.addPositionalArgument(QStringLiteral("B.chann"),
                                 Texts("第二个文件。", "The second file."));
    if (const int code = ParseCommand(parser, arguments, command); code >= 0)
        return code;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2)
        return ArgumentError(Texts("需要两个信道参数文件。", "Expected two channel files."),
                             command);
    const auto a = StartImage(), b = StartImage();
    if (!LoadFile(files.at(0), *a) || !LoadFile(files.at(1), *b))
        return ExitBadInput;
    return Report(DiffImages(*a, *b), parser.isSet(json), QStringLiteral("a"), QStringLiteral("b"),
                  Texts("两个文件相同。", "The files are the same."), false);
}
