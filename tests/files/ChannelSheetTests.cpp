// The channel sheet's band chart as numbers, and its text part: what a
// customer's printed sheet must and must not hold.
#include "BandChart.h"
#include "ChannelSheet.h"
#include "Conversions.h"
#include "Globals.h"
#include "RecordCodec.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

class Sheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobals();
        IsChinese = false;
        EncodeBandLimits(RadioData, 400, 470);
    }

    // RX, offset and direction as the grid stores them; high power, wide.
    static void Program(int channel, const char *rx, const char *offset = "0", int direction = 0)
    {
        QString text = QString::fromLatin1(rx);
        StoreFrequency(text, channel, 0);
        text = QString::fromLatin1(offset);
        StoreFrequency(text, channel, 4);
        for (int c = 8; c <= 11; ++c)
            RadioData[channel][c] = 255;
        RadioData[channel][12] = int16_t(2 | (direction << 6));
        RadioData[channel][13] = 0x20;
    }

    // The sheet's HTML as cells: "12|446.10000|...|".
    static QString Cells(const QString &html)
    {
        QString text = html;
        text.replace(QRegularExpression(QStringLiteral("</t[dh]>")), QStringLiteral("|"));
        return text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    }

    static const BandChartMark *Mark(const BandChart &chart, int channel)
    {
        for (const BandChartMark &mark : chart.marks)
            if (mark.channel == channel)
                return &mark;
        return nullptr;
    }
};

} // namespace

TEST_F(Sheet, ChartMarksSharedAndOutOfRangeChannels)
{
    Program(1, "446.00625");
    Program(2, "446.00625"); // same RX as channel 1
    Program(3, "438.5", "7.6", 1); // TX 446.1
    Program(4, "446.1"); // RX equals channel 3's TX
    Program(5, "465", "10", 1); // TX 475: outside 400..470
    Program(6, "420"); // alone, inside
    const BandChart chart = LayOutBandChart(RadioData, 400, 470);

    ASSERT_EQ(chart.marks.size(), 6);
    struct Expect {
        int channel;
        bool shares;
        bool outside;
    };
    for (const Expect &e :
         {Expect{1, true, false}, Expect{2, true, false}, Expect{3, true, false},
          Expect{4, true, false}, Expect{5, false, true}, Expect{6, false, false}}) {
        const BandChartMark *mark = Mark(chart, e.channel);
        ASSERT_NE(mark, nullptr) << e.channel;
        EXPECT_EQ(mark->sharesFrequency, e.shares) << "CH " << e.channel;
        EXPECT_EQ(mark->outOfRange, e.outside) << "CH " << e.channel;
    }
    EXPECT_DOUBLE_EQ(Mark(chart, 5)->txPosition, 1.0); // clamped to the axis end
    EXPECT_NEAR(Mark(chart, 6)->rxPosition, 20.0 / 70.0, 1e-9);
}

TEST_F(Sheet, ChartAxisIsTheWorkingRangeOrTheModelLimitsWhenErased)
{
    EncodeBandLimits(RadioData, 136, 174);
    BandChart chart = LayOutBandChart(RadioData, 400, 470);
    EXPECT_EQ(chart.lowMHz, 136);
    EXPECT_EQ(chart.highMHz, 174);
    ASSERT_FALSE(chart.ticks.isEmpty());
    EXPECT_GE(chart.ticks.first(), 136);
    EXPECT_LE(chart.ticks.last(), 174);
    EXPECT_LE(chart.ticks.size(), 11);

    for (int c = 0; c < BlockSize; ++c)
        RadioData[BandLimitRow][c] = ErasedByte;
    chart = LayOutBandChart(RadioData, 400, 470);
    EXPECT_EQ(chart.lowMHz, 400);
    EXPECT_EQ(chart.highMHz, 470);
    EXPECT_TRUE(chart.marks.isEmpty()); // the default image programs no channel
}

TEST_F(Sheet, ChartLabelsInOneLaneNeverOverlap)
{
    for (int n = 1; n <= 40; ++n)
        Program(n, qPrintable(QString::number(440 + n * 0.1, 'f', 1)));
    const double width = 0.04;
    const BandChart chart = LayOutBandChart(RadioData, 400, 470, width, 8);
    EXPECT_EQ(chart.laneCount, 8);
    // With fewer labels than lanes would need, same-lane labels keep their distance.
    Sheet::SetUp();
    for (int n = 1; n <= 6; ++n)
        Program(n, qPrintable(QString::number(445 + n * 0.5, 'f', 1)));
    const BandChart sparse = LayOutBandChart(RadioData, 400, 470, width, 8);
    for (const BandChartMark &a : sparse.marks)
        for (const BandChartMark &b : sparse.marks)
            if (a.channel < b.channel && a.lane == b.lane)
                EXPECT_GE(std::abs(a.rxPosition - b.rxPosition), width)
                    << a.channel << " " << b.channel;
}

TEST_F(Sheet, TextHoldsProgrammedChannelsOnlyWithTheirSwitchesAndStations)
{
    Program(12, "446.1", "5", 2);
    Record::Vox.set(RadioData, 12, 1);
    Program(30, "430.025");
    FmPresets::Preset(2).set(RadioData, 145); // 101.5 MHz
    const QString cells = Cells(ChannelSheetHtml());
    EXPECT_TRUE(cells.contains(QStringLiteral("12|446.10000|441.10000|"))) << cells.toStdString();
    EXPECT_TRUE(
        cells.contains(QStringLiteral("|On|Off|On|Off|"))); // VOX on, BCL, scan add, TX stop
    EXPECT_TRUE(cells.contains(QStringLiteral("30|430.02500|430.02500|")));
    // One row for each programmed channel, none for the empty ones.
    QStringList rows;
    auto match = QRegularExpression(QStringLiteral("(?:^|\\|)(\\d+)\\|4\\d\\d\\.\\d{5}\\|"))
                     .globalMatch(cells);
    while (match.hasNext())
        rows << match.next().captured(1);
    EXPECT_EQ(rows, (QStringList{QStringLiteral("12"), QStringLiteral("30")}));
    EXPECT_TRUE(cells.contains(QStringLiteral("3|101.5|")));

    IsChinese = true;
    EXPECT_TRUE(ChannelSheetHtml().contains(QStringLiteral("信道")));
}

TEST_F(Sheet, NotesNameTheSharedAndTheOutsideChannels)
{
    EXPECT_EQ(BandChartNotes(), QStringList{QStringLiteral("No channel is programmed.")});
    Program(7, "446.00625");
    Program(9, "446.00625");
    Program(11, "480");
    const QStringList notes = BandChartNotes();
    ASSERT_EQ(notes.size(), 2);
    EXPECT_TRUE(notes[0].contains(QStringLiteral("CH 7 (RX 446.00625")));
    EXPECT_TRUE(notes[0].contains(QStringLiteral("CH 9 (RX 446.00625")));
    EXPECT_TRUE(
        notes[1].startsWith(QStringLiteral("Outside the working range 400 - 470 MHz: CH 11")));
}
