// The channel sheet's band chart as numbers, and its text part: what a
// customer's printed sheet must and must not hold.
#include "BandChart.h"
#include "BandChartLayout.h"
#include "ChannelSheet.h"
#include "Conversions.h"
#include "Globals.h"
#include "RecordCodec.h"
#include "SessionState.h"

#include <QMap>
#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace {

class Sheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobals();
        SessionState::instance().setChinese(false);
        image = RadioData;
        EncodeBandLimits(image, 400, 470);
    }

    // RX, offset and direction as the grid stores them; high power, wide.
    void Program(int channel, const char *rx, const char *offset = "0", int direction = 0)
    {
        StoreFrequency(image, QString::fromLatin1(rx), channel, 0);
        StoreFrequency(image, QString::fromLatin1(offset), channel, 4);
        for (int c = 8; c <= 11; ++c)
            image[channel][c] = 255;
        image[channel][12] = int16_t(2 | (direction << 6));
        image[channel][13] = 0x20;
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

    ImageTable image{}; // the sheet's image
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
    const BandChart chart = LayOutBandChart(image, 400, 470);

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
    EncodeBandLimits(image, 136, 174);
    BandChart chart = LayOutBandChart(image, 400, 470);
    EXPECT_EQ(chart.lowMHz, 136);
    EXPECT_EQ(chart.highMHz, 174);
    ASSERT_FALSE(chart.ticks.isEmpty());
    EXPECT_GE(chart.ticks.first(), 136);
    EXPECT_LE(chart.ticks.last(), 174);
    EXPECT_LE(chart.ticks.size(), 11);

    for (int c = 0; c < BlockSize; ++c)
        image[BandLimitRow][c] = ErasedByte;
    chart = LayOutBandChart(image, 400, 470);
    EXPECT_EQ(chart.lowMHz, 400);
    EXPECT_EQ(chart.highMHz, 470);
    EXPECT_TRUE(chart.marks.isEmpty()); // the default image programs no channel
}

TEST(ChartTicks, RoundStepsDownToTenHertz)
{
    EXPECT_EQ(ChartTicks(400, 470), (QList<double>{400, 410, 420, 430, 440, 450, 460, 470}));
    EXPECT_EQ(ChartTicks(136, 174), (QList<double>{140, 145, 150, 155, 160, 165, 170}));
    EXPECT_EQ(ChartTicks(446.0, 446.1, 5),
              (QList<double>{446.0, 446.02, 446.04, 446.06, 446.08, 446.1}));
    EXPECT_EQ(ChartTicks(446.00621, 446.00629, 4),
              (QList<double>{446.00622, 446.00624, 446.00626, 446.00628}));
    EXPECT_TRUE(ChartTicks(470, 400).isEmpty());
}

namespace {

// A PDF page at 300 dots per inch with the label font's sizes, roughly:
// digits 15 dots wide, letters 20, lines 31 high.
ChartMetrics PageMetrics()
{
    ChartMetrics m;
    m.width = 2126;
    m.maxHeight = 2400;
    m.lineHeight = 31;
    m.textWidth = [](const QString &text) {
        double w = 0;
        for (const QChar ch : text)
            w += ch.isDigit() || ch == u',' || ch == u'.' ? 15 : ch == u' ' ? 8 : 20;
        return w;
    };
    return m;
}

// What a reader needs of the chart: every channel's number once, on a row
// whose axis holds its mark, near it and in the marks' order; no text on
// another, none off the page.
void ExpectReadable(const BandChart &chart, const BandChartLayout &layout,
                    const ChartMetrics &m = PageMetrics())
{
    const double unit = m.textWidth("888") + m.lineHeight * 0.4;
    QList<QRectF> boxes;
    QMap<int, int> times;
    for (const ChartLabel &label : layout.labels) {
        boxes << label.box;
        for (int channel : label.channels)
            ++times[channel];
        const ChartRow &row = layout.rows.at(label.row);
        const double stray = std::max(
            {0.0, label.box.left() - label.reachRight, label.reachLeft - label.box.right()});
        EXPECT_LE(stray, 1.5 * unit + 1e-6)
            << "label " << label.lines.join(' ').toStdString() << " strays from its mark";
        EXPECT_GE(label.reachLeft, row.left - 1e-6);
        EXPECT_LE(label.reachRight, row.right + 1e-6);
        if (!label.channels.isEmpty())
            EXPECT_EQ(label.reachLeft, label.reachRight);
        for (int channel : label.channels) {
            const auto mark =
                std::find_if(chart.marks.begin(), chart.marks.end(),
                             [channel](const BandChartMark &m) { return m.channel == channel; });
            ASSERT_NE(mark, chart.marks.end());
            EXPECT_NEAR(row.x(mark->rxMHz), label.anchorX, 1e-6) << "CH " << channel;
        }
        // A letter names the row below that enlarges its span; "*" a span
        // there was no room for, whose channels are listed instead.
        if (label.channels.isEmpty() && label.zoomRow >= 0) {
            EXPECT_EQ(layout.rows.at(label.zoomRow).parent, label.row);
            EXPECT_EQ(label.lines, QStringList{layout.rows.at(label.zoomRow).name});
        } else if (label.channels.isEmpty()) {
            EXPECT_EQ(label.lines, QStringList{"*"});
        }
    }
    for (const ChartRow &row : layout.rows) {
        boxes += row.tickBoxes;
        if (!row.title.isEmpty())
            boxes << row.titleBox;
    }
    for (int i = 0; i < boxes.size(); ++i) {
        EXPECT_GE(boxes[i].left(), -1e-6);
        EXPECT_GE(boxes[i].top(), -1e-6);
        EXPECT_LE(boxes[i].right(), m.width + 1e-6);
        EXPECT_LE(boxes[i].bottom(), layout.height + 1e-6);
        for (int j = i + 1; j < boxes.size(); ++j)
            EXPECT_FALSE(boxes[i].intersects(boxes[j]))
                << "boxes " << i << " and " << j << " overlap: " << boxes[i].left() << ","
                << boxes[i].top() << " " << boxes[i].width() << "x" << boxes[i].height() << " / "
                << boxes[j].left() << "," << boxes[j].top() << " " << boxes[j].width() << "x"
                << boxes[j].height();
    }
    EXPECT_LE(layout.height, m.maxHeight + 1e-6);
    // Leaders do not cross: on each row the labels keep their marks' order.
    for (int r = 0; r < layout.rows.size(); ++r) {
        QList<ChartLabel> row;
        for (const ChartLabel &label : layout.labels)
            if (label.row == r)
                row << label;
        std::sort(row.begin(), row.end(),
                  [](const ChartLabel &a, const ChartLabel &b) { return a.anchorX < b.anchorX; });
        for (int i = 1; i < row.size(); ++i)
            EXPECT_LT(row[i - 1].box.left(), row[i].box.left());
    }
    for (const BandChartMark &mark : chart.marks)
        EXPECT_EQ(times.value(mark.channel) + int(layout.unlabelled.contains(mark.channel)), 1)
            << "CH " << mark.channel;
}

} // namespace

// Forty-two UHF channels of a county club's list: repeaters with +5 MHz,
// their reverse, the simplex calling block, the satellite and ATV corners.
TEST_F(Sheet, AClubsUhfListIsLabelledInFull)
{
    int n = 1;
    for (const char *rx :
         {"442.025", "442.100", "442.150", "442.275", "442.375", "442.500", "442.650",
          "442.850", "443.025", "443.200", "443.450", "443.600", "443.750", "443.900",
          "444.050", "444.100", "444.300", "444.525", "444.875", "444.950"})
        Program(n++, rx, "5", 1);
    for (const char *rx : {"447.025", "447.100", "447.275", "447.500"}) // reverse
        Program(n++, rx, "5", 2);
    for (int k = 0; k < 8; ++k) // the simplex calling block
        Program(n++, qPrintable(QString::number(446.00625 + k * 0.0125, 'f', 5)));
    for (const char *rx : {"446.000", "446.000", "445.950", "441.000", "433.000", "432.100",
                           "435.300", "436.795", "439.250", "426.250"})
        Program(n++, rx);
    ASSERT_EQ(n, 43);
    const BandChart chart = LayOutBandChart(image, 400, 470);
    const BandChartLayout layout = LayOutChartLabels(chart, PageMetrics());
    ExpectReadable(chart, layout);
    EXPECT_TRUE(layout.unlabelled.isEmpty());
    EXPECT_GE(layout.rows.size(), 2); // 440-450 MHz drawn enlarged
    EXPECT_EQ(layout.rows[1].name, "A");
}

TEST_F(Sheet, ClustersWithinOneMegahertzGetRowsOfTheirOwn)
{
    std::mt19937 random(7);
    for (const int count : {10, 25, 40, 60}) {
        SCOPED_TRACE(count);
        Sheet::SetUp();
        QList<int> order;
        for (int k = 0; k < count; ++k)
            order << k;
        std::shuffle(order.begin(), order.end(), random);
        for (int k = 0; k < count; ++k) // spread over 1 MHz in no particular channel order
            Program(order[k] + 1, qPrintable(QString::number(445.5 + k * (1.0 / count), 'f', 5)));
        Program(count + 1, "410"); // and one far away
        const BandChart chart = LayOutBandChart(image, 400, 470);
        const BandChartLayout layout = LayOutChartLabels(chart, PageMetrics());
        ExpectReadable(chart, layout);
        EXPECT_TRUE(layout.unlabelled.isEmpty());
    }
}

TEST_F(Sheet, ChannelsOnOneFrequencyShareOneLabel)
{
    for (int n = 1; n <= 30; ++n)
        Program(n, "446.5");
    for (int n = 31; n <= 40; ++n)
        Program(n, qPrintable(QString::number(446.4 + n * 0.005, 'f', 3)));
    Program(41, "480"); // outside: held at the axis end
    Program(42, "470.5");
    const BandChart chart = LayOutBandChart(image, 400, 470);
    const BandChartLayout layout = LayOutChartLabels(chart, PageMetrics());
    ExpectReadable(chart, layout);
    EXPECT_TRUE(layout.unlabelled.isEmpty());
    const auto shared = std::find_if(layout.labels.begin(), layout.labels.end(),
                                     [](const ChartLabel &l) { return l.channels.size() == 30; });
    ASSERT_NE(shared, layout.labels.end());
    EXPECT_GT(shared->lines.size(), 1); // wrapped, not as wide as the page
    EXPECT_EQ(shared->lines.join(QString()).split(u',').size(), 30);
}

// Any list at all: random channels, some in tight clusters, some repeater
// pairs, some outside the range; lists of every length, full ones, and
// full ones packed into a fraction of a megahertz.
TEST_F(Sheet, RandomListsGiveAReadableChart)
{
    enum Kind { Mixed, Full, Tight };
    for (const Kind kind : {Mixed, Full, Tight}) {
        for (unsigned seed = 1; seed <= 40; ++seed) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << " seed " << seed);
            Sheet::SetUp();
            std::mt19937 random(seed);
            const auto pick = [&random](int low, int high) {
                return std::uniform_int_distribution<int>(low, high)(random);
            };
            const int count = kind == Mixed ? pick(1, 128) : 128;
            int centre = pick(40000000, 46999999); // in 10 Hz steps
            for (int n = 1; n <= count; ++n) {
                const int next = kind == Tight ? (pick(0, 1) ? 0 : 9) : pick(0, 9);
                if (next < 4) // near the last one: a cluster
                    centre = std::clamp(centre + pick(-5000, 5000), 39000000, 47999999);
                else if (next < 8)
                    centre = pick(40000000, 46999999);
                else if (next == 8) // outside
                    centre = pick(13600000, 39999999);
                // 9: on the last one's frequency
                const QString rx = QStringLiteral("%1.%2")
                                       .arg(centre / 100000)
                                       .arg(centre % 100000, 5, 10, QChar(u'0'));
                const int direction = pick(0, 2);
                Program(pick(1, 128), qPrintable(rx), direction ? "5" : "0", direction);
            }
            const BandChart chart = LayOutBandChart(image, 400, 470);
            const BandChartLayout layout = LayOutChartLabels(chart, PageMetrics());
            ExpectReadable(chart, layout);
            EXPECT_TRUE(layout.unlabelled.isEmpty()) << layout.unlabelled.size() << " not labelled";
        }
    }
}

// With no room for another row, channels are listed rather than crowded.
TEST_F(Sheet, WithoutRoomChannelsAreListedInTheNotes)
{
    for (int n = 1; n <= 60; ++n)
        Program(n, qPrintable(QString::number(446 + n * 0.0125, 'f', 4)));
    ChartMetrics m = PageMetrics();
    m.maxHeight = 300; // the first row only
    const BandChart chart = LayOutBandChart(image, 400, 470);
    const BandChartLayout layout = LayOutChartLabels(chart, m);
    ExpectReadable(chart, layout, m);
    EXPECT_EQ(layout.rows.size(), 1);
    EXPECT_EQ(layout.unlabelled.size(), 60);
    const QStringList notes = BandChartNotes(image, layout.unlabelled);
    EXPECT_TRUE(
        notes.last().startsWith("Channels the chart had no room to label: CH 1 (RX 446.0125)"))
        << notes.last().toStdString();
}

TEST_F(Sheet, TextHoldsProgrammedChannelsOnlyWithTheirSwitchesAndStations)
{
    Program(12, "446.1", "5", 2);
    Record::Vox.set(image, 12, 1);
    Program(30, "430.025");
    FmPresets::Preset(2).set(image, 145); // 101.5 MHz
    const QString cells = Cells(ChannelSheetHtml(image));
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

    SessionState::instance().setChinese(true);
    EXPECT_TRUE(ChannelSheetHtml(image).contains(QStringLiteral("信道")));
}

TEST_F(Sheet, NotesNameTheSharedAndTheOutsideChannels)
{
    EXPECT_EQ(BandChartNotes(image), QStringList{QStringLiteral("No channel is programmed.")});
    Program(7, "446.00625");
    Program(9, "446.00625");
    Program(11, "480");
    const QStringList notes = BandChartNotes(image);
    ASSERT_EQ(notes.size(), 2);
    EXPECT_TRUE(notes[0].contains(QStringLiteral("CH 7 (RX 446.00625")));
    EXPECT_TRUE(notes[0].contains(QStringLiteral("CH 9 (RX 446.00625")));
    EXPECT_TRUE(
        notes[1].startsWith(QStringLiteral("Outside the working range 400 - 470 MHz: CH 11")));
}
