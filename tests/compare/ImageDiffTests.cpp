// The differences between two images as a user reads them: which fields
// are listed, with which texts, and that every differing bit is accounted
// for exactly once by what is listed.
#include "Conversions.h"
#include "ImageDiff.h"
#include "ImageRoutines.h"
#include "RecordCodec.h"
#include "SessionState.h"
#include "WritePreparation.h"

#include <QJsonArray>
#include <QRandomGenerator>
#include <QSet>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A channel as the grid creates it: RX, no offset, simplex, high, wide.
void Program(ImageTable &image, int channel, const char *rx)
{
    Record::Rx.store(image, channel, QString::fromLatin1(rx));
    Record::Offset.fill(image, channel, 0);
    Record::Decode.set(image, channel, {255, 255});
    Record::Encode.set(image, channel, {255, 255});
    image[channel][12] = 2;
    image[channel][13] = 0x20;
}

class ImageDiffTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobals();
        SessionState::instance().setChinese(false);
        base = std::make_unique<ImageTable>();
        ResetImage(*base);
        for (int n : {1, 3, 5, 7, 12})
            Program(*base, n, "446.00625");
        Record::Rx.store(*base, 12, QStringLiteral("446.1"));
    }

    QStringList Lines(const ImageTable &a, const ImageTable &b, int first = 0,
                      int last = UsedRows - 1)
    {
        QStringList lines;
        for (const ImageDifference &d : DiffImages(a, b, first, last))
            lines << DifferenceLine(d);
        return lines;
    }

    std::unique_ptr<ImageTable> base;
};

} // namespace

TEST_F(ImageDiffTest, EachChangeIsListedByItsChannelOrCaptionWithBothTexts)
{
    struct Case {
        const char *name;
        std::function<void(ImageTable &)> change;
        QStringList lines;
    };
    const QList<Case> cases{
        {"an offset that moves TX only",
         [](ImageTable &i) {
             Record::Offset.store(i, 12, QStringLiteral("0.1"));
             Record::Shift.set(i, 12, 1);
         },
         {"CH 12  TX Frequency  446.10000 → 446.20000"}},
        {"RX moves TX with it",
         [](ImageTable &i) { Record::Rx.store(i, 3, QStringLiteral("446.0125")); },
         {"CH 3  RX Frequency  446.00625 → 446.01250",
          "CH 3  TX Frequency  446.00625 → 446.01250"}},
        {"a decode tone",
         [](ImageTable &i) {
             Record::Decode.set(i, 5, {0, 0});
         },
         {"CH 5  CTCSS/DCS Dec  OFF → 67.0"}},
        {"power and a switch of the edit window",
         [](ImageTable &i) {
             Record::Power.set(i, 1, 0);
             Record::ScanAdd.set(i, 1, 0);
         },
         {"CH 1  TX Power  High → Low", "CH 1  Scan Add  On → Off"}},
        {"a name",
         [](ImageTable &i) { NameCell(7, 0).set(i, 12), NameCell(7, 1).set(i, 13); },
         {"CH 7  Name  (empty) → AB"}},
        {"a new channel",
         [](ImageTable &i) { Program(i, 9, "446"); },
         {"CH 9  Channel  (empty) → 446.00000 / 446.00000 / OFF / OFF / High / Wide"}},
        {"the VFO by the captions of the options window",
         [](ImageTable &i) { Record::Rx.store(i, VfoRow, QStringLiteral("446")); },
         {"Frequncy Mode  RX Frequncy(MHZ)  462.01250 → 446.00000",
          "Frequncy Mode  TX Frequency  462.01250 → 446.00000"}},
        {"an option",
         [](ImageTable &i) { Options::Squelch.set(i, 3); },
         {"Optional Features  Squelch Level  5 → 3"}},
        {"an FM station",
         [](ImageTable &i) { FmPresets::Preset(2).set(i, 15); },
         {"Radio Channel 2  Frequency (MHZ)  (empty) → 88.5"}},
        {"a row no editor shows",
         [](ImageTable &i) { i[IdentRow][3] = 51, i[200][0] = 7, i[200][9] = 8; },
         {"Row 200  Columns 0, 9  255 255 → 7 8", "Row 212  Column 3  50 → 51"}},
        {"bits outside every field of a channel",
         [](ImageTable &i) { i[1][14] = 0, i[1][13] |= 0x01; },
         {"Row 1  Columns 13, 14  32 255 → 33 0"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto changed = std::make_unique<ImageTable>(*base);
        c.change(*changed);
        EXPECT_EQ(Lines(*base, *changed), c.lines);
    }
    // Beyond the list on both sides: the bytes differ, the texts do not.
    auto a = std::make_unique<ImageTable>(*base), b = std::make_unique<ImageTable>(*base);
    (*a)[OptionRow][3] = 8, (*b)[OptionRow][3] = 9;
    EXPECT_EQ(Lines(*a, *b), QStringList{"Row 208  Column 3  8 → 9"});
}

TEST_F(ImageDiffTest, ChineseTextsAndTheRowsCompared)
{
    auto changed = std::make_unique<ImageTable>(*base);
    Record::Offset.store(*changed, 12, QStringLiteral("0.1"));
    Record::Shift.set(*changed, 12, 1);
    (*changed)[CalibrationRow][0] = 60;
    SessionState::instance().setChinese(true);
    EXPECT_EQ(Lines(*base, *changed), (QStringList{"信道 12  发射频率(MHZ)  446.10000 → 446.20000",
                                                   "第 240 行  第 0 列  50 → 60"}));
    // A verify compares what a write sends: rows 0..239.
    EXPECT_EQ(Lines(*base, *changed, 0, WriteBlockCount - 1),
              QStringList{"信道 12  发射频率(MHZ)  446.10000 → 446.20000"});
    EXPECT_EQ(DifferenceSummary(3), "3 处不同。");
}

TEST_F(ImageDiffTest, JsonNamesTheSidesTheChannelAndTheColumns)
{
    auto changed = std::make_unique<ImageTable>(*base);
    Record::Power.set(*changed, 12, 0);
    (*changed)[250][4] = 1;
    const QJsonObject json = DifferencesJson(DiffImages(*base, *changed), "file", "radio");
    EXPECT_FALSE(json["same"].toBool());
    EXPECT_EQ(json["count"].toInt(), 2);
    const QJsonArray list = json["differences"].toArray();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0]["area"].toString(), "channel");
    EXPECT_EQ(list[0]["channel"].toInt(), 12);
    EXPECT_EQ(list[0]["key"].toString(), "power");
    EXPECT_EQ(list[0]["file"].toString(), "High");
    EXPECT_EQ(list[0]["radio"].toString(), "Low");
    EXPECT_EQ(list[1]["area"].toString(), "bytes");
    EXPECT_EQ(list[1]["row"].toInt(), 250);
    EXPECT_EQ(list[1]["columns"].toArray(), QJsonArray{4});
    EXPECT_TRUE(DifferencesJson({}, "a", "b")["same"].toBool());
}

// What the write derives (power-on channel, bitmap, identification, the
// VOX-inhibit bit) shows as a difference until the image is prepared as the
// write prepares it; then a radio that took the write holds no difference.
TEST_F(ImageDiffTest, DerivedRowsAgreeOnceTheImageIsPreparedAsForAWrite)
{
    auto file = std::make_unique<ImageTable>(*base);
    (*file)[OptionRow][12] = 77;
    std::optional<BilingualText> refusal;
    auto written = std::make_unique<ImageTable>(PreparedForRadio(*file, &refusal));
    EXPECT_FALSE(refusal.has_value());
    EXPECT_FALSE(DiffImages(*file, *written, 0, WriteBlockCount - 1).isEmpty());
    EXPECT_TRUE(DiffImages(PreparedForRadio(*file), *written, 0, WriteBlockCount - 1).isEmpty());
    // The file itself is left as it was.
    EXPECT_EQ((*file)[OptionRow][12], 77);
    // A refused image is still prepared; the refusal comes with it.
    Record::Rx.store(*file, 3, QStringLiteral("145"));
    auto refused = std::make_unique<ImageTable>(PreparedForRadio(*file, &refusal));
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ((*refused)[OptionRow][12], 1);
}

// Random pairs: every listed field really differs, and the cells listed are
// exactly the differing bits, each once (TX shares RX's cells by nature).
TEST_F(ImageDiffTest, RandomPairsAccountForEveryDifferingBit)
{
    QRandomGenerator random(2020);
    for (int round = 0; round < 300; ++round) {
        auto a = std::make_unique<ImageTable>(*base), b = std::make_unique<ImageTable>(*base);
        // Wholly random images half the time, a few flipped bytes otherwise.
        const bool wild = round % 2 == 0;
        for (int r = 0; r < UsedRows; ++r)
            for (int c = 0; c < BlockSize; ++c)
                if (wild)
                    (*a)[r][c] = int16_t(random.bounded(256)),
                    (*b)[r][c] = int16_t(random.bounded(256));
        for (int k = wild ? 0 : 1 + random.bounded(12); k > 0; --k) {
            const int r = random.bounded(UsedRows), c = random.bounded(BlockSize);
            (*b)[r][c] = int16_t(random.bounded(256));
        }
        const int first = round % 3 == 0 ? 0 : random.bounded(UsedRows);
        const int last = round % 3 == 0 ? UsedRows - 1 : first + random.bounded(UsedRows - first);
        std::array<std::array<int, BlockSize>, UsedRows> covered{};
        for (const ImageDifference &d : DiffImages(*a, *b, first, last)) {
            ASSERT_NE(d.left, d.right) << DifferenceLine(d).toStdString();
            ASSERT_FALSE(d.cells.isEmpty());
            for (const DiffCell &cell : d.cells) {
                const int differing =
                    ((*a)[cell.row][cell.column] ^ (*b)[cell.row][cell.column]) & 0xFF;
                ASSERT_TRUE(cell.row >= first && cell.row <= last);
                ASSERT_EQ(cell.mask & ~differing, 0) << DifferenceLine(d).toStdString();
                if (d.key != "tx") {
                    ASSERT_EQ(covered[cell.row][cell.column] & cell.mask, 0)
                        << DifferenceLine(d).toStdString();
                }
                covered[cell.row][cell.column] |= cell.mask;
            }
        }
        for (int r = 0; r < UsedRows; ++r)
            for (int c = 0; c < BlockSize; ++c) {
                const int differing =
                    r >= first && r <= last ? ((*a)[r][c] ^ (*b)[r][c]) & 0xFF : 0;
                ASSERT_EQ(covered[r][c], differing) << "row " << r << " column " << c;
            }
    }
}

// Random pairs from field changes: exactly the fields changed are listed
// (and TX with a changed RX), nothing else.
TEST_F(ImageDiffTest, RandomFieldChangesListExactlyThoseFields)
{
    struct Field {
        QString key;
        std::function<void(ImageTable &, int channel, QRandomGenerator &)> change;
    };
    const QList<Field> fields{
        {"rx",
         [](ImageTable &i, int n, QRandomGenerator &r) {
             // Never the 430.5 the channels start with.
             Record::Rx.store(i, n, QString::number(440 + r.bounded(29) + 0.25, 'f', 2));
         }},
        {"decode",
         [](ImageTable &i, int n, QRandomGenerator &r) {
             Record::Decode.set(i, n, {0, r.bounded(50)});
         }},
        {"encode",
         [](ImageTable &i, int n, QRandomGenerator &r) {
             Record::Encode.set(i, n, {1, r.bounded(107)});
         }},
        {"power", [](ImageTable &i, int n, QRandomGenerator &) { Record::Power.set(i, n, 1); }},
        {"bandwidth", [](ImageTable &i, int n, QRandomGenerator &) { Record::Wide.set(i, n, 0); }},
        {"vox", [](ImageTable &i, int n, QRandomGenerator &) { Record::Vox.set(i, n, 1); }},
        {"busyLock",
         [](ImageTable &i, int n, QRandomGenerator &) { Record::BusyLock.set(i, n, 1); }},
        {"scanAdd", [](ImageTable &i, int n, QRandomGenerator &) { Record::ScanAdd.set(i, n, 0); }},
        {"txStop", [](ImageTable &i, int n, QRandomGenerator &) { Record::TxStop.set(i, n, 1); }},
        {"name", [](ImageTable &i, int n,
                    QRandomGenerator &r) { NameCell(n, r.bounded(5)).set(i, r.bounded(41)); }},
    };
    QRandomGenerator random(540);
    for (int round = 0; round < 200; ++round) {
        auto a = std::make_unique<ImageTable>(*base);
        for (int n = 1; n <= ChannelCount; ++n)
            if (random.bounded(2))
                Program(*a, n, "430.5");
        auto b = std::make_unique<ImageTable>(*a);
        QSet<QString> expected;
        for (int k = 1 + random.bounded(8); k > 0; --k) {
            const int n = 1 + random.bounded(ChannelCount);
            if (Record::IsEmpty(*a, n))
                continue;
            const Field &field = fields.at(random.bounded(fields.size()));
            field.change(*b, n, random);
            expected << QStringLiteral("%1 %2").arg(n).arg(field.key);
            if (field.key == "rx")
                expected << QStringLiteral("%1 tx").arg(n);
        }
        if (random.bounded(2)) {
            Options::TimeOutTimer.set(*b, 1 + random.bounded(7));
            expected << "0 timeOutTimer";
        }
        if (random.bounded(2)) {
            const int station = random.bounded(FmPresetCount);
            FmPresets::Preset(station).set(*b, random.bounded(211));
            expected << QStringLiteral("%1 frequency").arg(station);
        }
        QSet<QString> listed;
        for (const ImageDifference &d : DiffImages(*a, *b))
            listed << QStringLiteral("%1 %2").arg(d.index).arg(d.key);
        // A change that happened to store the value already there lists
        // nothing: compare with what really changed.
        QSet<QString> changed;
        for (const QString &item : expected) {
            const int n = item.section(u' ', 0, 0).toInt();
            const QString key = item.section(u' ', 1);
            bool differs = false;
            if (key == "timeOutTimer")
                differs = Options::TimeOutTimer.get(*a) != Options::TimeOutTimer.get(*b);
            else if (key == "frequency")
                differs = FmPresets::Preset(n).get(*a) != FmPresets::Preset(n).get(*b);
            else if (key == "name")
                for (int k = 0; k < NameLength; ++k)
                    differs = differs || NameCell(n, k).get(*a) != NameCell(n, k).get(*b);
            else
                for (int c = 0; c < BlockSize; ++c)
                    differs = differs || (*a)[n][c] != (*b)[n][c];
            if (differs)
                changed << item;
        }
        ASSERT_EQ(listed, changed) << "round " << round;
    }
}
