// ql540 export-csv and import-csv as a user runs them: the round trip, the
// report, the exit codes, and that nothing is written when rows are refused.
#include "CliTestSupport.h"
#include "RecordCodec.h"

namespace {

class CsvCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ResetGlobals();
        ImageTable image = StartUpImage();
        ProgramChannel(image, 1, "446.00625");
        ProgramChannel(image, 5, "438.5", "7.6", 1);
        image[5][8] = 1; // decode D023N
        image[5][9] = 1;
        image[160][0] = 12; // channel 1 named "A"
        image[161][4] = 29; // channel 5 named "R" (name byte 20)
        file = dir.filePath("radio.chann");
        SaveImage(file, image);
    }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    void write(const char *name, const QByteArray &text)
    {
        QFile out(path(name));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text);
    }

    QTemporaryDir dir;
    QString file;
};

TEST_F(CsvCommands, ExportThenImportIntoAnEmptyFileGivesTheSameChannels)
{
    CliRun run = RunCli({"export-csv", file, path("list.csv")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Exported 2 channels")) << run.out.toStdString();
    EXPECT_TRUE(
        LoadText(path("list.csv")).startsWith("Location,Name,Frequency,Duplex,Offset,Tone,"));

    SaveImage(path("empty.chann"), StartUpImage());
    run = RunCli({"import-csv", path("list.csv"), "--into", path("empty.chann"), "--output",
                  path("new.chann")});
    ASSERT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("2 rows: 2 applied (0 of them changed), 0 refused."))
        << run.out.toStdString();
    const ImageTable original = LoadImage(file);
    const ImageTable imported = LoadImage(path("new.chann"));
    EXPECT_TRUE(SameRows(imported, original, 1, 128));
    EXPECT_TRUE(SameRows(imported, original, 160, 199));
    // Without --output the --into file itself takes the import.
    run = RunCli({"import-csv", path("list.csv"), "--into", path("empty.chann")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(SameRows(LoadImage(path("empty.chann")), original, 1, 128));
}

TEST_F(CsvCommands, RefusedRowsWriteNothingUnlessPartial)
{
    write("plan.csv", "Location,Name,Frequency,Duplex,Offset\r\n"
                      "2,club,438.5,+,7.6\r\n"
                      "3,FAR,145.0,,0\r\n");
    const QByteArray before = LoadText(file);
    CliRun run =
        RunCli({"import-csv", path("plan.csv"), "--into", file, "--output", path("new.chann")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(
        run.out.contains("Line 2, Name: changed: lower-case letters of the name upper-cased"))
        << run.out.toStdString();
    EXPECT_TRUE(
        run.out.contains("Line 3, Frequency: refused: receive frequency 145.000000 MHz lies "
                         "outside the band 400..470 MHz"));
    EXPECT_TRUE(run.err.contains("nothing written"));
    EXPECT_FALSE(QFile::exists(path("new.chann")));
    EXPECT_EQ(LoadText(file), before);

    run = RunCli({"--lang", "zh", "import-csv", path("plan.csv"), "--into", file, "--partial"});
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_TRUE(run.out.contains(QStringLiteral("第 3 行，Frequency：拒绝")))
        << run.out.toStdString();
    const ImageTable after = LoadImage(file);
    EXPECT_EQ(after[2][3], 0x43); // 438.5 stored in channel 2
    EXPECT_EQ(after[2][12], 0x42);
    EXPECT_EQ(after[3][0], 255);

    // In file order from channel 127: the refused row takes no number.
    run = RunCli({"import-csv", path("plan.csv"), "--into", file, "--output", path("order.chann"),
                  "--from", "128", "--partial"});
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_EQ(LoadImage(path("order.chann"))[128][3], 0x43);
}

TEST_F(CsvCommands, TheFilesOwnBandDecides)
{
    ImageTable vhf = LoadImage(file);
    vhf[153][0] = 0x60; // 136..174 MHz
    vhf[153][1] = 0x13;
    vhf[153][2] = 0x40;
    vhf[153][3] = 0x17;
    SaveImage(path("vhf.chann"), vhf);
    write("two.csv", "Location,Frequency\n1,145.5\n2,446.1\n");
    const CliRun run =
        RunCli({"import-csv", path("two.csv"), "--into", path("vhf.chann"), "--partial"});
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_TRUE(
        run.out.contains("Line 3, Frequency: refused: receive frequency 446.100000 MHz lies "
                         "outside the band 136..174 MHz"))
        << run.out.toStdString();
}

TEST_F(CsvCommands, BadArgumentsAndFilesEndWithCodeTwo)
{
    write("notalist.csv", "Channel,Freq\n1,446\n");
    write("ok.csv", "Location,Frequency\n1,446.1\n");
    const QList<QStringList> cases{
        {"export-csv", file},
        {"export-csv", path("missing.chann"), path("x.csv")},
        {"import-csv", path("ok.csv")},
        {"import-csv", path("ok.csv"), "--into", file, "--from", "0"},
        {"import-csv", path("ok.csv"), "--into", file, "--from", "129"},
        {"import-csv", path("missing.csv"), "--into", file},
        {"import-csv", path("notalist.csv"), "--into", file},
        {"import-csv", path("ok.csv"), "--into", path("missing.chann")},
    };
    const QByteArray before = LoadText(file);
    for (const QStringList &arguments : cases) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << arguments.join(' ').toStdString();
    }
    EXPECT_EQ(LoadText(file), before);
    EXPECT_TRUE(RunCli({"--help"}).out.contains("  import-csv IN.csv --into FILE.chann"));
}

// A list becomes a radio file without the windows: new, import-csv, then
// show, sheet and the write's checks work on it as on any file.
TEST_F(CsvCommands, ANewFileTakesAListFromTheCommandLine)
{
    const QString club = path("club.chann");
    CliRun run = RunCli({"import-csv", path("list.csv"), "--into", club});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("ql540 new --output " + QDir::toNativeSeparators(club)))
        << run.err.toStdString();

    run = RunCli({"new", "--band", "136-174", "-o", club});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), "Made " + QDir::toNativeSeparators(club)
                                     + ": QL540 VHF, band 136..174 MHz, every channel empty.");
    write("list.csv", "Location,Name,Frequency,Duplex,Offset\r\n"
                      "1,NET-41,146.94,-,0.6\r\n2,NET-42,147.3,+,0.6\r\n"
                      "3,UHF,446.0,,\r\n");
    run = RunCli({"import-csv", path("list.csv"), "--into", club, "--partial"});
    EXPECT_EQ(run.exitCode, 4) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("name \"NET-41\" shortened to \"NET41\""))
        << run.out.toStdString();
    run = RunCli({"show", club});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("146.94000")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("NET42"));
    run = RunCli({"sheet", club, "--pdf", path("club.pdf")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo(path("club.pdf")).size() > 1000);

    // Never over a file unasked; the model by name; wrong choices refused.
    const QByteArray imported = LoadText(club);
    run = RunCli({"new", "--model", "ql540 uhf", "-o", club});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(LoadText(club), imported);
    run = RunCli({"new", "--model", "ql540-uhf", "-o", club, "--force"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const ImageTable made = LoadImage(club);
    EXPECT_EQ(DecodeBandLimits(made).low, 400);
    EXPECT_EQ(Record::Rx.text(made, VfoRow), "400.62500");
    for (const QStringList &wrong :
         {QStringList{"new", "--model", "QL999", "-o", path("x.chann")},
          QStringList{"new", "--band", "144-148", "-o", path("x.chann")},
          QStringList{"new", "--band", "136-174", "--model", "VM90 FULL", "-o", path("x.chann")},
          QStringList{"new"}, QStringList{"new", "-o", path("nofolder/x.chann")}}) {
        run = RunCli(wrong);
        EXPECT_EQ(run.exitCode, 2) << wrong.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
    EXPECT_TRUE(RunCli({"new", "--band", "144-148", "-o", path("x.chann")})
                    .err.contains("QL540 VHF (136-174)"));
    EXPECT_FALSE(QFileInfo::exists(path("x.chann")));
}

} // namespace
