#include "Conversions.h"
#include "Globals.h"
#include "ImageReport.h"
#include "ImageRoutines.h"
#include "ProgressOutput.h"
#include "SessionState.h"
#include "SettingsReport.h"

#include <QJsonArray>
#include <cstdio>
#include <gtest/gtest.h>
#include <map>

namespace {

class Report : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobals();
        SessionState::instance().setChinese(false);
        ResetImage(image);
    }

    void Program(int channel, const char *rx, const char *offset = "0", int direction = 0)
    {
        StoreFrequency(image, QString::fromLatin1(rx), channel, 0);
        StoreFrequency(image, QString::fromLatin1(offset), channel, 4);
        for (int c = 8; c <= 11; ++c)
            image[channel][c] = 255;
        image[channel][12] = int16_t(2 | (direction << 6));
        image[channel][13] = 0x20;
    }

    static std::map<QString, QString> Values(const QList<ReportItem> &items)
    {
        std::map<QString, QString> values;
        for (const ReportItem &item : items)
            values[item.key] = item.value;
        return values;
    }

    ImageTable image{};
};

} // namespace

TEST_F(Report, ChannelsShowTheGridTextsAndSkipEmptyOnes)
{
    Program(3, "438.5", "7.6", 1);
    image[3][8] = 0; // CTCSS 67.0
    image[3][9] = 0;
    image[3][10] = 2; // DCS 023 inverted
    image[3][11] = 1;
    image[3][12] |= 0; // high power kept
    Program(7, "446.00625");
    image[7][12] = 1; // mid
    image[7][13] = 0; // narrow
    image[7][8] = 1; // DCS 017 normal
    image[7][9] = 0;
    // Name "AB" of channel 7: name bytes 30..34, row 161 columns 14, 15, row 162 columns 0..2.
    image[161][14] = 12;
    image[161][15] = 13;

    const QJsonArray channels =
        ImageReportJson(image, false).value(QStringLiteral("channels")).toArray();
    ASSERT_EQ(channels.size(), 2);
    const QJsonObject three = channels.at(0).toObject();
    EXPECT_EQ(three.value("channel").toInt(), 3);
    EXPECT_EQ(three.value("rx").toString(), "438.50000");
    EXPECT_EQ(three.value("tx").toString(), "446.10000");
    EXPECT_EQ(three.value("decode").toString(), "67.0");
    EXPECT_EQ(three.value("encode").toString(), "D023I");
    EXPECT_EQ(three.value("power").toString(), "High");
    EXPECT_EQ(three.value("bandwidth").toString(), "Wide");
    EXPECT_EQ(three.value("name").toString(), "");
    const QJsonObject seven = channels.at(1).toObject();
    EXPECT_EQ(seven.value("channel").toInt(), 7);
    EXPECT_EQ(seven.value("tx").toString(), "446.00625");
    EXPECT_EQ(seven.value("decode").toString(), "D017N");
    EXPECT_EQ(seven.value("encode").toString(), "OFF");
    EXPECT_EQ(seven.value("power").toString(), "Mid");
    EXPECT_EQ(seven.value("bandwidth").toString(), "Narrow");
    EXPECT_EQ(seven.value("name").toString(), "AB");

    const QJsonArray all = ImageReportJson(image, true).value(QStringLiteral("channels")).toArray();
    ASSERT_EQ(all.size(), 128);
    EXPECT_TRUE(all.at(0).toObject().value("empty").toBool());
    EXPECT_FALSE(all.at(2).toObject().value("empty").toBool());
    EXPECT_FALSE(all.at(127).toObject().contains("rx"));
}

TEST_F(Report, ChannelSwitchesReadAsTheEditWindowTicksThem)
{
    Program(2, "446");
    image[2][13] |= 0x50; // VOX, transmit stop
    Program(3, "447");
    image[3][12] = 6; // not scanned
    image[3][13] |= 0x80; // busy lockout
    const QJsonArray channels = ImageReportJson(image, false).value("channels").toArray();
    const std::pair<const char *, std::array<bool, 2>> expected[] = {
        {"vox", {true, false}},
        {"busyLock", {false, true}},
        {"scanAdd", {true, false}},
        {"txStop", {true, false}},
    };
    for (const auto &[key, values] : expected)
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(channels.at(i).toObject().value(key).toBool(), values[i]) << key << i;

    const QStringList lines = ImageReportText(image, false).split(u'\n');
    const QString header = lines.at(0), two = lines.at(1), three = lines.at(2);
    // Each value stands under its title.
    const std::pair<const char *, std::array<const char *, 2>> columns[] = {
        {"VOX", {"On", "Off"}},
        {"BCL", {"Off", "On"}},
        {"Scan Add", {"On", "Off"}},
        {"TX Stop", {"On", "Off"}}};
    for (const auto &[title, values] : columns) {
        const int at = header.indexOf(QLatin1String(title));
        ASSERT_GT(at, 0) << title;
        EXPECT_EQ(two.mid(at).section(u' ', 0, 0), values[0]) << title;
        EXPECT_EQ(three.mid(at).section(u' ', 0, 0), values[1]) << title;
    }
}

TEST_F(Report, CellsTheGridLeavesBlankStayBlank)
{
    Program(1, "440");
    image[1][8] = 7; // unknown tone type
    image[1][9] = 0;
    image[1][12] = 3; // power bits 3
    const QJsonObject one =
        ImageReportJson(image, false).value("channels").toArray().at(0).toObject();
    EXPECT_EQ(one.value("decode").toString(), "");
    EXPECT_EQ(one.value("power").toString(), "");
    EXPECT_EQ(one.value("tx").toString(), "440.00000");
}

TEST_F(Report, TextTableLinesUpColumnsInBothLanguages)
{
    Program(12, "446.1");
    image[12][12] = 0; // low power
    for (bool chinese : {false, true}) {
        SessionState::instance().setChinese(chinese);
        const QStringList lines = ImageReportText(image, false).split(u'\n');
        ASSERT_GE(lines.size(), 2);
        const QStringList titles = ChannelColumnTitles();
        ASSERT_EQ(titles.size(), 8);
        EXPECT_EQ(titles.at(0), chinese ? "信道号" : "Channel");
        EXPECT_EQ(titles.at(5), chinese ? "发射功率" : "TX Power");
        EXPECT_TRUE(lines.at(0).startsWith(titles.at(0)));
        // Every column of the row starts where its title does, counting a
        // CJK character as two columns.
        const QString header = lines.at(0), row = lines.at(1);
        EXPECT_TRUE(row.startsWith(QStringLiteral("12 ")));
        const QStringList cells{QStringLiteral("446.10000"),
                                chinese ? QStringLiteral("低") : QStringLiteral("Low"),
                                chinese ? QStringLiteral("宽带") : QStringLiteral("Wide")};
        const QList<int> columns{1, 5, 6};
        for (int i = 0; i < cells.size(); ++i) {
            const int titleAt = DisplayWidth(header.left(header.indexOf(titles.at(columns[i]))));
            const int cellAt = DisplayWidth(row.left(row.indexOf(cells.at(i))));
            EXPECT_EQ(titleAt, cellAt) << cells.at(i).toStdString();
        }
        EXPECT_FALSE(row.endsWith(u' '));
    }
    EXPECT_EQ(DisplayWidth(QStringLiteral("信道A")), 5);
}

TEST_F(Report, StartUpImageReadsAsTheOptionsWindowShowsIt)
{
    auto vfo = Values(VfoItems(image));
    EXPECT_EQ(vfo["rx"], "462.01250");
    EXPECT_EQ(vfo["offset"], "10.00000");
    EXPECT_EQ(vfo["tx"], "462.01250");
    EXPECT_EQ(vfo["duplex"], "Off");
    EXPECT_EQ(vfo["decode"], "OFF");
    EXPECT_EQ(vfo["encode"], "OFF");
    EXPECT_EQ(vfo["power"], "High");
    EXPECT_EQ(vfo["step"], "5K");
    EXPECT_EQ(vfo["bandwidth"], "Wide");
    EXPECT_EQ(vfo["vox"], "Off");
    EXPECT_EQ(vfo["busyLockout"], "Off");
    EXPECT_EQ(vfo["txStop"], "Off");

    auto options = Values(OptionItems(image));
    EXPECT_EQ(options["workingRange"], "From 400 to 470 MHZ");
    EXPECT_EQ(options["squelch"], "5");
    EXPECT_EQ(options["scan"], "CO");
    EXPECT_EQ(options["manualSetup"], "On");
    EXPECT_EQ(options["roger"], "Off");
    EXPECT_EQ(options["fmReceive"], "On");
    EXPECT_EQ(options["batterySave"], "On");
    EXPECT_EQ(options["channelDisplay"], "Frequncy");
    EXPECT_EQ(options["backLight"], "Key");
    EXPECT_EQ(options["password"], "Off");
    EXPECT_EQ(options["passwordPin"], "");
    EXPECT_EQ(options["powerOnDisplay"], "Off");
    EXPECT_EQ(options["workMode"], "Frequncy");
    EXPECT_EQ(options["beep"], "On");
    EXPECT_EQ(options["timeOutTimer"], "3");
    EXPECT_EQ(options["autoPowerOff"], "Off");
    EXPECT_EQ(options["voxLevel"], "5");
    EXPECT_EQ(options["voxDelay"], "4");
    EXPECT_EQ(options["keyLock"], "Key&UPDN");
    EXPECT_EQ(options["channelOnly"], "Off");
    EXPECT_EQ(options["powerOnMessage"], "HELLO");
    EXPECT_EQ(options["subBandReceive"], "Off");

    SessionState::instance().setChinese(true);
    options = Values(OptionItems(image));
    EXPECT_EQ(options["scan"], "载波");
    EXPECT_EQ(options["backLight"], "自动");
    EXPECT_EQ(options["keyLock"], "按键和上下键");
    EXPECT_EQ(options["workingRange"], "从 400 到 470 MHZ");
}

TEST_F(Report, StoredValuesOutsideAListShowItsLastItem)
{
    image[OptionRow][3] = 9; // time-out: 8 items
    image[OptionRow][7] = 0x82; // receive enable + key lock 2
    image[OptionRow][1] |= 0x04; // manual set-up not ticked
    image[OptionRow][2] = 0x78; // power-on display 3, password on, channel mode
    image[PasswordRow][0] = 1;
    image[PasswordRow][1] = 2;
    image[PasswordRow][2] = 255;
    image[PasswordRow][3] = 4;
    image[VfoRow][12] = 0xC1; // shift 3, mid power
    image[VfoRow][13] = 0xD7; // lockout, VOX, narrow, TX stop, step 7
    image[VfoRow][8] = 0;
    image[VfoRow][9] = 60; // CTCSS index beyond the last
    image[VfoRow][10] = 9; // unknown type
    image[VfoRow][11] = 0;

    auto options = Values(OptionItems(image));
    EXPECT_EQ(options["timeOutTimer"], "7");
    EXPECT_EQ(options["keyLock"], "Key");
    EXPECT_EQ(options["subBandReceive"], "On");
    EXPECT_EQ(options["manualSetup"], "Off");
    EXPECT_EQ(options["powerOnDisplay"], "MSG");
    EXPECT_EQ(options["password"], "On");
    EXPECT_EQ(options["passwordPin"], "124");
    EXPECT_EQ(options["workMode"], "Channel");

    auto vfo = Values(VfoItems(image));
    // Shift 3 is simplex for the radio: shown as Off, like its frequency.
    EXPECT_EQ(vfo["duplex"], "Off");
    EXPECT_EQ(vfo["tx"], "462.01250");
    EXPECT_EQ(vfo["power"], "Mid");
    EXPECT_EQ(vfo["step"], "100K");
    EXPECT_EQ(vfo["bandwidth"], "Narrow");
    EXPECT_EQ(vfo["vox"], "On");
    EXPECT_EQ(vfo["busyLockout"], "On");
    EXPECT_EQ(vfo["txStop"], "On");
    EXPECT_EQ(vfo["decode"], "254.1");
    EXPECT_EQ(vfo["encode"], "");
}

namespace {

// Captures what a ProgressOutput prints (a temporary file: a memory
// stream is not to be had on Windows).
class Captured {
public:
    Captured() : file_(std::tmpfile()) { }
    ~Captured() { std::fclose(file_); }
    FILE *file() { return file_; }
    QString text()
    {
        std::fflush(file_);
        const long end = std::ftell(file_);
        std::rewind(file_);
        QByteArray bytes(qsizetype(end), Qt::Uninitialized);
        const size_t n = std::fread(bytes.data(), 1, size_t(end), file_);
        std::fseek(file_, 0, SEEK_END);
        return QString::fromUtf8(bytes.constData(), qsizetype(n));
    }

private:
    FILE *file_;
};

void Transfer(ProgressOutput &progress)
{
    progress.setPercent(0);
    progress.setStatus(QStringLiteral("Connecting with transceiver. "));
    for (int block = 2; block <= 254; ++block) {
        progress.setPercent(block * 100 / 255);
        progress.setStatus(QStringLiteral("Reading %1 Data Block").arg(block));
    }
    progress.setPercent(100);
    progress.setStatus(QStringLiteral("Read Data in gear. "));
    progress.setStatus(QStringLiteral("Read Data in gear. "));
    progress.breakLine();
}

} // namespace

TEST(Progress, LinesForLogsBarForTerminalsNothingWhenQuiet)
{
    Captured lines;
    ProgressOutput plain(ProgressOutput::Style::Lines, lines.file());
    Transfer(plain);
    const QStringList printed = lines.text().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(printed.size(), 11);
    EXPECT_EQ(printed.first(), "  0%  Connecting with transceiver.");
    EXPECT_EQ(printed.at(1), " 10%  Reading 26 Data Block");
    EXPECT_EQ(printed.last(), "100%  Read Data in gear.");
    EXPECT_FALSE(lines.text().contains(u'\r'));

    Captured bar;
    ProgressOutput terminal(ProgressOutput::Style::Bar, bar.file());
    Transfer(terminal);
    const QString drawn = bar.text();
    EXPECT_EQ(drawn.count(u'\n'), 1); // redrawn in place, one line at the end
    EXPECT_TRUE(drawn.endsWith(
        QStringLiteral("[##############################] 100%  Read Data in gear.\x1b[K\n")));
    EXPECT_TRUE(drawn.contains(
        QStringLiteral("\r[###############---------------]  50%  Reading 128 Data Block")));

    Captured quiet;
    ProgressOutput silent(ProgressOutput::Style::Quiet, quiet.file());
    Transfer(silent);
    EXPECT_TRUE(quiet.text().isEmpty());
}

TEST(Progress, ARetryStartsTheLinesAgain)
{
    Captured lines;
    ProgressOutput plain(ProgressOutput::Style::Lines, lines.file());
    plain.setPercent(0);
    plain.setStatus(QStringLiteral("Connecting"));
    plain.setPercent(42);
    plain.setStatus(QStringLiteral("Reading 108 Data Block"));
    plain.setPercent(0);
    plain.setStatus(QStringLiteral("Reading 2 Data Block"));
    EXPECT_EQ(lines.text(),
              QStringLiteral(
                  "  0%  Connecting\n 42%  Reading 108 Data Block\n  0%  Reading 2 Data Block\n"));
}
