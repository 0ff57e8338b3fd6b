// Channel lists in the common CSV format: export then import gives back
// every channel exactly; hand-written files in every tone mode, duplex and
// odd spelling store what they say; what the radio cannot hold is refused
// or changed and reported on the right line.
#include "ChannelCsv.h"
#include "CsvText.h"
#include "RecordCodec.h"
#include "SessionState.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

namespace {

constexpr FrequencyBand Uhf{400, 470};
constexpr int E = 255;
const QByteArray Header =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n";

int Ctcss(const char *tone) // selector position of a CTCSS tone
{
    for (int p = 1; p <= 50; ++p)
        if (ToneList[p].trimmed() == QLatin1String(tone))
            return p;
    return -1;
}
int Dcs(const char *code, bool inverted = false)
{
    for (int p = 51; p <= 157; ++p)
        if (ToneList[p].trimmed() == QStringLiteral("D%1N").arg(QLatin1String(code)))
            return inverted ? p + 107 : p;
    return -1;
}

class ChannelCsv : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobals();
        SessionState::instance().setChinese(false);
        image = std::make_unique<ImageTable>(RadioData);
    }

    // One data row under the full header.
    CsvRow row(const QByteArray &line)
    {
        const CsvFile file = ParseChannelCsv(Header + line + "\r\n", Uhf);
        EXPECT_FALSE(file.error.has_value());
        EXPECT_EQ(file.rows.size(), 1);
        return file.rows.value(0);
    }
    // Stores a row as channel 1 and returns the record.
    void import(const QByteArray &line)
    {
        const CsvFile file = ParseChannelCsv(Header + line + "\r\n", Uhf);
        const CsvImportPlan plan = PlanCsvImport(file, {});
        ASSERT_EQ(plan.placed.size(), 1) << line.constData();
        ApplyCsvImport(*image, plan);
    }
    static QStringList Reasons(const QList<CsvIssue> &issues)
    {
        QStringList texts;
        for (const CsvIssue &issue : issues)
            texts << CsvIssueText(issue);
        return texts;
    }

    std::unique_ptr<ImageTable> image;
};

// A channel as the grid could have stored it, with random fields.
void RandomChannel(ImageTable &image, int n, std::mt19937 &random)
{
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const qint64 rx = 40000000 + pick(0, 6999999); // 10 Hz steps, 400..470 MHz
    const int shift = pick(0, 2);
    qint64 offset = pick(0, 99999999); // anything while simplex
    if (shift == 1)
        offset = pick(0, int(46999999 - rx));
    else if (shift == 2)
        offset = pick(0, int(rx - 40000000));
    auto text = [](qint64 steps) {
        return QStringLiteral("%1.%2").arg(steps / 100000).arg(steps % 100000, 5, 10, QChar(u'0'));
    };
    Record::Erase(image, n);
    Record::Rx.store(image, n, text(rx));
    Record::Offset.store(image, n, text(offset));
    Record::Decode.setPosition(image, n, pick(0, 264));
    Record::Encode.setPosition(image, n, pick(0, 264));
    image[n][12] = int16_t(shift << 6 | pick(0, 1) << 2 | pick(0, 2));
    image[n][13] = int16_t(pick(0, 15) << 4);
    const int length = pick(0, 5);
    for (int k = 0; k < 5; ++k)
        NameCell(n, k).set(image, k < length ? pick(0, 40) : E);
}

TEST_F(ChannelCsv, ExportThenImportGivesBackEveryChannelExactly)
{
    for (unsigned seed = 1; seed <= 25; ++seed) {
        std::mt19937 random(seed);
        auto source = std::make_unique<ImageTable>(RadioData);
        for (int n = 1; n <= 128; ++n)
            if (random() % 4 != 0)
                RandomChannel(*source, n, random);
        const QByteArray csv = ExportChannelCsv(*source);

        auto target = std::make_unique<ImageTable>(RadioData);
        const CsvImportPlan plan = PlanCsvImport(ParseChannelCsv(csv, Uhf), {});
        EXPECT_TRUE(plan.report.isEmpty())
            << seed << ": " << Reasons(plan.report).join('\n').toStdString();
        ApplyCsvImport(*target, plan);
        for (int n = 1; n <= 128; ++n) {
            for (int c = 0; c < 16; ++c)
                ASSERT_EQ((*target)[n][c], (*source)[n][c])
                    << "seed " << seed << " channel " << n << " cell " << c;
            if (IsChannelEmpty(*source, n))
                continue;
            for (int k = 0; k < 5; ++k)
                ASSERT_EQ(NameCell(n, k).get(*target), NameCell(n, k).get(*source))
                    << "seed " << seed << " channel " << n << " name " << k;
        }
    }
}

TEST_F(ChannelCsv, ExportWritesTheFormatsColumnsAndOurs)
{
    // 438.5 MHz, 7.6 up, encode 88.5, decode D023I, Mid, narrow, not
    // scanned, VOX on; name "A B" with a blank that must survive.
    Record::Rx.store(*image, 2, "438.5");
    Record::Offset.store(*image, 2, "7.6");
    Record::Encode.setPosition(*image, 2, Ctcss("88.5"));
    Record::Decode.setPosition(*image, 2, Dcs("023", true));
    (*image)[2][12] = 0x40 | 4 | 1;
    (*image)[2][13] = 0x40;
    (*image)[2][14] = (*image)[2][15] = E;
    NameCell(2, 0).set(*image, 12);
    NameCell(2, 1).set(*image, 11);
    NameCell(2, 2).set(*image, 13);
    const QList<CsvRecord> records = ReadCsvRecords(ExportChannelCsv(*image));
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].fields, ChannelCsvHeader());
    EXPECT_EQ(records[0].fields.mid(21), QStringList({"Vox", "BusyLock", "TxStop"}));
    EXPECT_EQ(
        records[1].fields,
        QStringList({"2",  "A B", "438.500000", "+",   "7.600000", "Cross", "88.5", "88.5", "023",
                     "NR", "023", "Tone->DTCS", "NFM", "5.00",     "S",     "Mid",  "",     "",
                     "",   "",    "",           "On",  "Off",      "Off"}));
}

struct ToneCase {
    const char *fields; // Tone..CrossMode
    int encode;
    int decode;
};

TEST_F(ChannelCsv, EveryToneModeAndPolarityStoresEncodeAndDecode)
{
    const ToneCase cases[] = {
        {",88.5,88.5,023,NN,023,Tone->Tone", 0, 0},
        {"Tone,100.0,88.5,023,NN,023,Tone->Tone", Ctcss("100.0"), 0},
        {"TSQL,88.5,131.8,023,NN,023,Tone->Tone", Ctcss("131.8"), Ctcss("131.8")},
        {"DTCS,88.5,88.5,754,NN,023,Tone->Tone", Dcs("754"), Dcs("754")},
        {"DTCS,88.5,88.5,023,RN,023,Tone->Tone", Dcs("023", true), Dcs("023")},
        {"DTCS,88.5,88.5,23,NR,023,Tone->Tone", Dcs("023"), Dcs("023", true)},
        {"Cross,67.0,254.1,023,NN,023,Tone->Tone", Ctcss("67.0"), Ctcss("254.1")},
        {"Cross,67.0,88.5,023,NR,411,Tone->DTCS", Ctcss("67.0"), Dcs("411", true)},
        {"Cross,88.5,97.4,606,RN,023,DTCS->Tone", Dcs("606", true), Ctcss("97.4")},
        {"Cross,88.5,88.5,606,RR,411,DTCS->DTCS", Dcs("606", true), Dcs("411", true)},
        {"Cross,88.5,97.4,023,NN,023,->Tone", 0, Ctcss("97.4")},
        {"Cross,88.5,88.5,023,NR,265,->DTCS", 0, Dcs("265", true)},
        {"Cross,88.5,88.5,265,NN,023,DTCS->", Dcs("265"), 0},
    };
    for (const ToneCase &c : cases) {
        import(QByteArray("1,,446.000000,,0.000000,") + c.fields + ",FM,5.00,,High,,,,,");
        EXPECT_EQ(Record::Encode.position(*image, 1), c.encode) << c.fields;
        EXPECT_EQ(Record::Decode.position(*image, 1), c.decode) << c.fields;
    }
}

TEST_F(ChannelCsv, DuplexPowerSkipAndOurColumnsStoreTheFlags)
{
    const QByteArray head =
        "Location,Frequency,Duplex,Offset,Power,Skip,Mode,Vox,BusyLock,TxStop\r\n";
    struct Case {
        const char *line;
        const char *rx;
        const char *offset;
        int flagsA;
        int flagsB;
    } cases[] = {
        {"1,446.006250,,5.000000,High,,FM,,,", "446.00625", "5.00000", 0x02, 0x20},
        {"1,438.5,+,7.6,Mid,S,NFM,On,Off,Off", "438.50000", "7.60000", 0x45, 0x40},
        {"1,446.1,-,7.6,Low,,FM,off,ON,off", "446.10000", "7.60000", 0x80, 0xA0},
        {"1,446.1,split,438.500000,High,,FM,,,", "446.10000", "7.60000", 0x82, 0x20},
        {"1,438.5,split,446.1,High,,FM,,,", "438.50000", "7.60000", 0x42, 0x20},
        {"1,446.1,split,446.1,High,,FM,,,", "446.10000", "0.00000", 0x02, 0x20},
        {"1,446.1,off,0,High,,FM,,,", "446.10000", "0.00000", 0x02, 0x30},
        {"1,446.1,,0,5.0W,,FM,,,On", "446.10000", "0.00000", 0x02, 0x30},
        {"1,446.1,,0,2.5W,,FM,,,", "446.10000", "0.00000", 0x01, 0x20},
        {"1,446.1,,0,0.5 W,,FM,,,", "446.10000", "0.00000", 0x00, 0x20},
        {"1,446.1,,0,,P,,,,", "446.10000", "0.00000", 0x02, 0x20},
    };
    for (const Case &c : cases) {
        const CsvImportPlan plan = PlanCsvImport(ParseChannelCsv(head + c.line, Uhf), {});
        ASSERT_EQ(plan.placed.size(), 1) << c.line << Reasons(plan.report).join('\n').toStdString();
        ApplyCsvImport(*image, plan);
        EXPECT_EQ(Record::Rx.text(*image, 1), QLatin1String(c.rx)) << c.line;
        EXPECT_EQ(Record::Offset.text(*image, 1), QLatin1String(c.offset)) << c.line;
        EXPECT_EQ((*image)[1][12], c.flagsA) << c.line;
        EXPECT_EQ((*image)[1][13], c.flagsB) << c.line;
        EXPECT_EQ((*image)[1][14], E);
    }
}

TEST_F(ChannelCsv, WhatTheRadioCannotHoldIsRefusedNamingTheColumn)
{
    struct Case {
        const char *line;
        const char *column;
    } cases[] = {
        {"1,,470.000000,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM", "Frequency"},
        {"1,,145.000000,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM", "Frequency"},
        {"1,,446.000005,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM", "Frequency"},
        {"1,,446.000015,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM", "Frequency"},
        {"1,,abc,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM", "Frequency"},
        {"1,,,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM", "Frequency"},
        {"1,,446.1,+,30,,88.5,88.5,023,NN,023,Tone->Tone,FM", "Offset"},
        {"1,,446.1,split,480,,88.5,88.5,023,NN,023,Tone->Tone,FM", "Offset"},
        {"1,,446.1,x,0,,88.5,88.5,023,NN,023,Tone->Tone,FM", "Duplex"},
        {"1,,446.1,,0,Tone,88.6,88.5,023,NN,023,Tone->Tone,FM", "rToneFreq"},
        {"1,,446.1,,0,TSQL,88.5,69.4,023,NN,023,Tone->Tone,FM", "cToneFreq"},
        {"1,,446.1,,0,DTCS,88.5,88.5,024,NN,023,Tone->Tone,FM", "DtcsCode"},
        {"1,,446.1,,0,Cross,88.5,88.5,023,NN,099,Tone->DTCS,FM", "RxDtcsCode"},
        {"1,,446.1,,0,DTCS,88.5,88.5,023,XN,023,Tone->Tone,FM", "DtcsPolarity"},
        {"1,,446.1,,0,TSQL-R,88.5,88.5,023,NN,023,Tone->Tone,FM", "Tone"},
        {"1,,446.1,,0,Cross,88.5,88.5,023,NN,023,Tone,FM", "CrossMode"},
        {"1,,446.1,,0,,88.5,88.5,023,NN,023,Tone->Tone,AM", "Mode"},
        {"1,,446.1,,0,,88.5,88.5,023,NN,023,Tone->Tone,DV", "Mode"},
        {"1,,446.1,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,X", "Skip"},
        {"1,,446.1,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,30dBm", "Power"},
        {"0,,446.1,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM", "Location"},
        {"129,,446.1,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM", "Location"},
    };
    for (const Case &c : cases) {
        const CsvImportPlan plan = PlanCsvImport(ParseChannelCsv(Header + c.line, Uhf), {});
        EXPECT_TRUE(plan.placed.isEmpty()) << c.line;
        EXPECT_EQ(plan.refusedCount, 1) << c.line;
        ASSERT_FALSE(plan.report.isEmpty()) << c.line;
        EXPECT_EQ(plan.report.constLast().kind, CsvIssue::Kind::Refused) << c.line;
        EXPECT_EQ(plan.report.constLast().column, QLatin1String(c.column)) << c.line;
        EXPECT_EQ(plan.report.constLast().line, 2) << c.line;
        EXPECT_EQ(plan.report.size(), 1)
            << c.line; // said once, also for both directions of a DTCS row
    }
    // The band's top is outside, as in the grid; just below it is inside.
    EXPECT_TRUE(row("1,,469.99999,,0").channel.has_value());
}

TEST_F(ChannelCsv, NamesAreCutUpperCasedAndBlankedWithAReportLine)
{
    struct Case {
        const char *name;
        std::array<int, 5> codes;
        int changes;
    } cases[] = {
        {"AB", {12, 13, E, E, E}, 0},          {"\" A B \"", {11, 12, 11, 13, 11}, 0},
        {"rpt1", {29, 27, 31, 1, E}, 1},       {"REPEATER", {29, 16, 27, 16, 12}, 1},
        {"A#\xC3\xA9", {12, 11, 11, E, E}, 1}, {"rpt#long", {29, 27, 31, 11, 23}, 3},
    };
    for (const Case &c : cases) {
        const CsvRow r = row(QByteArray("1,") + c.name + ",446.1");
        ASSERT_TRUE(r.channel) << c.name;
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(r.channel->name[k], c.codes[k]) << c.name << " " << k;
        EXPECT_EQ(r.issues.size(), c.changes) << c.name;
        for (const CsvIssue &issue : r.issues) {
            EXPECT_EQ(issue.kind, CsvIssue::Kind::Changed);
            EXPECT_EQ(issue.column, QLatin1String("Name"));
        }
    }
}

TEST_F(ChannelCsv, OddFilesReadAndReportTheirLines)
{
    // Byte-order mark, quoted header in another order, CRLF, a comment with
    // a comma and a line break, an older export without RxDtcsCode and
    // CrossMode, blank lines at the end; watts said once.
    const QByteArray text =
        "\xEF\xBB\xBF\"Frequency\",\"Location\",Name,Tone,DtcsCode,DtcsPolarity,Comment,Power\r\n"
        "446.00625,1,PMR1,DTCS,411,NR,\"club, net\",5.0W\r\n"
        "446.01875,2,PMR2,,023,NN,\"two\r\nlines\",1.0W\r\n"
        "480.0,3,BAD,,023,NN,,High\r\n"
        "446.03125,4,pmr4,Cross,023,NN,,Low\r\n"
        "\r\n,,,,,,,\r\n\r\n";
    const CsvFile file = ParseChannelCsv(text, Uhf);
    ASSERT_FALSE(file.error.has_value());
    ASSERT_EQ(file.rows.size(), 4);
    EXPECT_EQ(file.rows[2].line, 5); // the quoted line break counts
    const CsvImportPlan plan = PlanCsvImport(file, {});
    EXPECT_EQ(plan.placed.size(), 3);
    EXPECT_EQ(plan.refusedCount, 1);
    EXPECT_EQ(plan.changedCount, 1);
    const QStringList lines = Reasons(plan.report);
    ASSERT_EQ(lines.size(), 3) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[0].startsWith("Line 2, Power: note: power given in watts"))
        << lines[0].toStdString();
    EXPECT_EQ(lines[1], "Line 5, Frequency: refused: receive frequency 480.000000 MHz lies outside "
                        "the band 400..470 MHz");
    EXPECT_EQ(lines[2], "Line 6, Name: changed: lower-case letters of the name upper-cased");
    ApplyCsvImport(*image, plan);
    // The older DTCS row: one code both ways, receive inverted.
    EXPECT_EQ(Record::Encode.position(*image, 1), Dcs("411"));
    EXPECT_EQ(Record::Decode.position(*image, 1), Dcs("411", true));
    // "Cross" without CrossMode is Tone->Tone with the format's default tones.
    EXPECT_EQ(Record::Encode.position(*image, 4), Ctcss("88.5"));
    EXPECT_EQ(Record::Power.get(*image, 2), 0);

    SessionState::instance().setChinese(true);
    EXPECT_EQ(
        CsvIssueText(plan.report[1]),
        QStringLiteral("第 5 行，Frequency：拒绝：接收频率 480.000000 MHz 超出频段 400..470 MHz"));

    EXPECT_TRUE(ParseChannelCsv("Location,Name\r\n1,A\r\n", Uhf).error.has_value());
    EXPECT_TRUE(ParseChannelCsv("", Uhf).error.has_value());
}

TEST_F(ChannelCsv, PlacementKeepsNumbersOrFillsFromAChannel)
{
    const QByteArray text = "Location,Frequency\n"
                            "7,446.1\n"
                            "9,999\n" // refused: takes no number
                            "3,446.2\n"
                            "7,446.3\n" // channel 7 twice
                            "20,446.4\n";
    const CsvFile file = ParseChannelCsv(text, Uhf);

    CsvImportPlan plan = PlanCsvImport(file, {});
    QList<int> channels;
    for (const auto &p : plan.placed)
        channels << p.channel;
    EXPECT_EQ(channels, QList<int>({7, 3, 20}));
    EXPECT_EQ(plan.refusedCount, 2);
    EXPECT_EQ(CsvIssueText(plan.report.constLast()),
              "Line 5: refused: channel 7 is already given by line 2");

    plan = PlanCsvImport(file, {CsvPlacement::Mode::FileOrder, 126});
    channels.clear();
    for (const auto &p : plan.placed)
        channels << p.channel;
    EXPECT_EQ(channels, QList<int>({126, 127, 128}));
    EXPECT_EQ(plan.refusedCount, 2);
    EXPECT_EQ(CsvIssueText(plan.report.constLast()),
              "Line 6: refused: would go to channel 129, past channel 128");

    // A paste keeps the gaps between Locations: 3 -> 120, 7 -> 124, 20 -> past 128.
    plan = PlanCsvImport(file, {CsvPlacement::Mode::Relative, 120});
    channels.clear();
    for (const auto &p : plan.placed)
        channels << p.channel;
    EXPECT_EQ(channels, QList<int>({124, 120}));
    EXPECT_EQ(plan.refusedCount, 3);

    // Without a Location column the file's numbers cannot be kept.
    const CsvFile bare = ParseChannelCsv("Frequency\n446.1\n", Uhf);
    EXPECT_TRUE(PlanCsvImport(bare, {}).placed.isEmpty());
    EXPECT_EQ(PlanCsvImport(bare, {CsvPlacement::Mode::FileOrder, 5}).placed.value(0).channel, 5);
}

TEST_F(ChannelCsv, AnImportedRowReplacesTheWholeChannelAndLeavesTheOthers)
{
    Record::Rx.store(*image, 1, "440");
    (*image)[1][14] = 7;
    NameCell(1, 4).set(*image, 20);
    Record::Rx.store(*image, 2, "441");
    auto before = std::make_unique<ImageTable>(*image);
    import("1,X,446.1");
    EXPECT_EQ((*image)[1][14], E);
    EXPECT_EQ(NameCell(1, 0).get(*image), CharToCode("X"));
    EXPECT_EQ(NameCell(1, 4).get(*image), E);
    for (int r = 2; r < UsedRows; ++r) {
        if (r == 160)
            continue;
        for (int c = 0; c < 16; ++c)
            ASSERT_EQ((*image)[r][c], (*before)[r][c]) << r << " " << c;
    }
}

// A club list's long names: those whose cuts would meet are shortened and
// the report names each row's name as it was and as stored; names the
// radio would still show alike, also with channels the import leaves, are
// listed together - in the import, the paste and the command-line tool
// alike, as all plan through here.
TEST_F(ChannelCsv, NamesOfAClubListStayApartAndTheReportSaysHow)
{
    const auto program = [this](int n, const char *name) {
        Record::Rx.store(*image, n, "440");
        Record::Offset.fill(*image, n, 0);
        for (int k = 0; k < 5; ++k)
            NameCell(n, k).set(*image, k < int(strlen(name)) ? CharToCode(QString(name[k])) : E);
    };
    program(9, "TAC41"); // stays: meets the shortened TAC-41
    program(10, "CADY1"); // stays: meets CADY11 cut
    program(2, "APR10"); // replaced by the import: no clash
    const QByteArray text = "Location,Name,Frequency\r\n"
                            "1,TAC-40,446.5\r\n"
                            "2,TAC-41,446.525\r\n"
                            "3,CADY11,446.55\r\n"
                            "4,APRS10,445.0\r\n"
                            "5,APRS11,445.025\r\n"
                            "6,WX1,446.6\r\n";
    const CsvImportPlan plan = PlanCsvImport(ParseChannelCsv(text, Uhf), {}, image.get());
    EXPECT_EQ(Reasons(plan.report),
              (QStringList{
                  "Line 2, Name: changed: name \"TAC-40\" shortened to \"TAC40\" to stay apart "
                  "from the other names",
                  "Line 3, Name: changed: name \"TAC-41\" shortened to \"TAC41\" to stay apart "
                  "from the other names",
                  "Line 3, Name: note: names the radio shows alike as \"TAC41\": line 3 "
                  "\"TAC-41\", channel 9 \"TAC41\" (kept)",
                  "Line 4, Name: changed: name \"CADY11\" cut to \"CADY1\"",
                  "Line 4, Name: note: names the radio shows alike as \"CADY1\": line 4 "
                  "\"CADY11\", channel 10 \"CADY1\" (kept)",
                  "Line 5, Name: changed: name \"APRS10\" shortened to \"APR10\" to stay apart "
                  "from the other names",
                  "Line 6, Name: changed: name \"APRS11\" shortened to \"APR11\" to stay apart "
                  "from the other names",
              }));
    EXPECT_EQ(plan.changedCount, 5);
    ApplyCsvImport(*image, plan);
    const auto name = [this](int n) {
        QString text;
        for (int k = 0; k < 5; ++k)
            text += CodeToChar(NameCell(n, k).get(*image));
        return text;
    };
    EXPECT_EQ(name(1), "TAC40");
    EXPECT_EQ(name(4), "APR10");
    EXPECT_EQ(name(6), "WX1");

    // Rows the import's own names still cannot tell apart: one note for them.
    const CsvImportPlan alike = PlanCsvImport(
        ParseChannelCsv("Name,Frequency\nREPEATERA,446.1\nREPEATERB,446.2\nREPEA,446.3\n", Uhf),
        {CsvPlacement::Mode::FileOrder, 20}, image.get());
    QList<CsvIssue> notes;
    for (const CsvIssue &issue : alike.report)
        if (issue.kind == CsvIssue::Kind::Note)
            notes << issue;
    ASSERT_EQ(notes.size(), 1);
    SessionState::instance().setChinese(true);
    EXPECT_EQ(CsvIssueText(notes.constFirst()),
              QStringLiteral("第 2 行，Name：说明：对讲机上显示相同的名称 \"REPEA\"：第 2 行 "
                             "\"REPEATERA\"，第 3 行 \"REPEATERB\"，第 4 行 \"REPEA\""));
}

TEST(CsvText, QuotesWhatWouldOtherwiseReadDifferently)
{
    const QStringList fields{"a,b", "say \"hi\"", " lead", "plain", "two\nlines", ""};
    const QList<CsvRecord> back = ReadCsvRecords(CsvLine(fields) + CsvLine({"x"}));
    ASSERT_EQ(back.size(), 2);
    EXPECT_EQ(back[0].fields, fields);
    EXPECT_EQ(back[1].line, 3);
    // Spreadsheet text on the clipboard is tab-separated.
    EXPECT_EQ(ReadCsvRecords("Location\tName\n1\tA,B\n").value(1).fields,
              QStringList({"1", "A,B"}));
}

} // namespace
