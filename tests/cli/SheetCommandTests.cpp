// ql540 sheet as a dealer runs it: the PDF's text (pdftotext) holds every
// programmed channel and the chart's notes, in either language and paper.
#include "CliTestSupport.h"

#include "RecordCodec.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

class SheetCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobals();
        ImageTable image = StartUpImage();
        EncodeBandLimits(image, 400, 470);
        ProgramChannel(image, 2, "446.00625");
        ProgramChannel(image, 5, "446.00625"); // shares channel 2's frequency
        ProgramChannel(image, 17, "438.5", "7.6", 1); // TX 446.1
        ProgramChannel(image, 40, "480"); // outside the working range
        // Name "AB" of channel 17 (name bytes 80, 81: row 165, columns 0, 1).
        image[165][0] = 12;
        image[165][1] = 13;
        file_ = dir_.filePath(QStringLiteral("fleet.chann"));
        SaveImage(file_, image);
    }

    static QString Run(const QStringList &arguments)
    {
        QProcess process;
        process.start(QStringLiteral("pdftotext"), arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    QTemporaryDir dir_;
    QString file_;
};

} // namespace

TEST_F(SheetCommand, PdfHoldsEveryProgrammedChannelAndTheChartNotes)
{
    const QString pdf = dir_.filePath(QStringLiteral("sheet.pdf"));
    const CliRun run = RunCli({"sheet", file_, "--pdf", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString text = Run({QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    for (const char *value : {"446.00625", "438.50000", "446.10000", "480.00000", "AB",
                              "Channel Sheet", "Frequncy Mode", "Optional Features"})
        EXPECT_TRUE(text.contains(QLatin1String(value))) << value << "\n" << text.toStdString();
    EXPECT_TRUE(
        text.contains(QRegularExpression(QStringLiteral("Sharing a frequency.*CH 2 .*CH 5 "))));
    EXPECT_TRUE(
        text.contains(QRegularExpression(QStringLiteral("Outside the working range.*CH 40 "))));
    // Empty channels leave no row: channel 3 appears nowhere as a row start.
    EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("^\\s*3\\s+4\\d\\d\\."),
                                                  QRegularExpression::MultilineOption)));
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("^\\s*17\\s+438\\.50000"),
                                                 QRegularExpression::MultilineOption)))
        << text.toStdString();
}

TEST_F(SheetCommand, ChineseTextIsEmbeddedAndLetterPaperIsLetter)
{
    const QString pdf = dir_.filePath(QStringLiteral("sheet-zh.pdf"));
    const CliRun run = RunCli({"--lang", "zh", "sheet", file_, "--pdf", pdf, "--paper", "letter"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(Run({pdf, QStringLiteral("-")}).contains(QStringLiteral("信道表")));

    QProcess fonts;
    fonts.start(QStringLiteral("pdffonts"), {pdf});
    ASSERT_TRUE(fonts.waitForFinished(30000));
    const QString list = QString::fromUtf8(fonts.readAllStandardOutput());
    EXPECT_TRUE(list.contains(QStringLiteral("CJK"))) << list.toStdString();
    EXPECT_FALSE(
        list.contains(QRegularExpression(QStringLiteral("\\bno\\s+(yes|no)\\s+(yes|no)\\s+\\d+"))))
        << "a font is not embedded:\n"
        << list.toStdString();

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    ASSERT_TRUE(info.waitForFinished(30000));
    EXPECT_TRUE(
        QString::fromUtf8(info.readAllStandardOutput()).contains(QStringLiteral("(letter)")));
}

TEST_F(SheetCommand, BadArgumentsAndUnwritableOutputEndWithCodeTwo)
{
    EXPECT_EQ(RunCli({"sheet", file_}).exitCode, 2); // no --pdf
    EXPECT_EQ(RunCli({"sheet", file_, "--pdf", dir_.filePath("x.pdf"), "--paper", "a3"}).exitCode,
              2);
    EXPECT_EQ(
        RunCli({"sheet", dir_.filePath("missing.chann"), "--pdf", dir_.filePath("x.pdf")}).exitCode,
        2);
    const CliRun run = RunCli({"sheet", file_, "--pdf", dir_.filePath("no/such/folder/x.pdf")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Cannot write"))) << run.err.toStdString();
}
