#include "Globals.h"
#include "ImageChanges.h"
#include "ImageRoutines.h"
#include "RecordCodec.h"
#include "TestImage.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

class Changes : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobals();
        connection = QObject::connect(&ImageChanges::instance(), &ImageChanges::rowsChanged,
                                      [this](const ImageChange &change) { heard << change; });
    }
    void TearDown() override { QObject::disconnect(connection); }

    static QList<int> Rows(const ImageChange &change)
    {
        QList<int> rows;
        for (const RowChange &row : change.rows)
            rows << row.row;
        return rows;
    }

    QList<ImageChange> heard;
    QMetaObject::Connection connection;
};

// Undo as a later addition would do it: another change through the same
// path that puts back the cells a change changed.
ImageChange Restore(const ImageChange &change)
{
    return ImageChanges::instance().apply(change.kind, [&change](ImageTable &image) {
        for (const RowChange &row : change.rows)
            for (int c : row.changedColumns())
                image[row.row][c] = row.before[c];
    });
}

} // namespace

TEST_F(Changes, AnEditReportsTheRowsItChangedOnce)
{
    auto &changes = ImageChanges::instance();
    const ImageChange change = changes.apply(ChangeKind::OptionsEdit, [](ImageTable &image) {
        Options::Squelch.set(image, 9);
        Record::Power.set(image, VfoRow, 0);
        Options::Roger.set(image, 0); // already 0: row 208 changes once
    });
    ASSERT_EQ(heard.size(), 1);
    EXPECT_EQ(heard.first().kind, ChangeKind::OptionsEdit);
    EXPECT_EQ(Rows(heard.first()), QList<int>({0, 208}));
    EXPECT_EQ(Rows(change), Rows(heard.first()));
    const RowChange &options = change.rows.at(1);
    EXPECT_EQ(options.before[0], 5);
    EXPECT_EQ(options.after[0], 9);
    EXPECT_EQ(options.changedColumns(), QList<int>({0}));
    EXPECT_TRUE(change.touches(208));
    EXPECT_FALSE(change.touches(1, 128));
    EXPECT_TRUE(change.touches(0, 0));
}

TEST_F(Changes, NothingChangedNothingHeard)
{
    auto &changes = ImageChanges::instance();
    const ImageChange change = changes.apply(ChangeKind::CellEdit, [](ImageTable &image) {
        Options::Squelch.set(image, 5); // the value it has
        image[300][32] = 7; // outside the used part
    });
    EXPECT_TRUE(change.isEmpty());
    EXPECT_TRUE(heard.isEmpty());
}

TEST_F(Changes, ANestedCallBecomesPartOfTheOuterChange)
{
    ImageChanges::instance().apply(ChangeKind::Clear, [](ImageTable &image) {
        Record::Rx.store(image, 1, "440");
        ImageChanges::instance().apply(ChangeKind::CellEdit,
                                       [](ImageTable &inner) { Record::Erase(inner, 2); });
    });
    ASSERT_EQ(heard.size(), 1);
    EXPECT_EQ(heard.first().kind, ChangeKind::Clear);
    EXPECT_EQ(Rows(heard.first()), QList<int>({1})); // row 2 was erased already
}

TEST_F(Changes, ReplacingTheImageTakesOnlyTheRowsGiven)
{
    auto radio = std::make_unique<ImageTable>();
    ResetImage(*radio);
    Record::Rx.store(*radio, 7, "446");
    (*radio)[253][0] = 1;
    (*radio)[254][0] = 2; // beyond a read's rows
    (*radio)[7][20] = 99; // beyond the used columns
    auto &changes = ImageChanges::instance();
    const ImageChange read =
        changes.replaceImage(ChangeKind::CompletedRead, *radio, ReadBlockCount);
    EXPECT_EQ(Rows(read), QList<int>({7, 253}));
    EXPECT_EQ(RadioData[254][0], 255);
    EXPECT_EQ(RadioData[7][20], 0);
    EXPECT_EQ(Record::Rx.text(RadioData, 7), "446.00000");

    const ImageChange opened = changes.replaceImage(ChangeKind::OpenedFile, *radio);
    EXPECT_EQ(Rows(opened), QList<int>({254}));
    EXPECT_EQ(heard.size(), 2);
}

// A change carries what undo needs: putting back its before-cells, latest
// change first, gives the image as it was, and that also goes through the
// path so windows redraw.
TEST_F(Changes, BeforeCellsRestoreTheImage)
{
    const ImageTable original = RadioData;
    auto &changes = ImageChanges::instance();
    QList<ImageChange> done;
    done << changes.apply(ChangeKind::CellEdit, [](ImageTable &image) {
        Record::Rx.store(image, 12, "435.5");
        Record::Offset.fill(image, 12, 0);
    });
    done << changes.apply(ChangeKind::OptionsEdit, [](ImageTable &image) {
        Options::KeyLockMode.set(image, 3);
        Options::SetMessage(image, "AB");
    });
    done << changes.apply(ChangeKind::FmEdit,
                          [](ImageTable &image) { FmPresets::Preset(24).set(image, 15); });
    auto other = std::make_unique<ImageTable>(RadioData);
    EncodeBandLimits(*other, 136, 174);
    done << changes.replaceImage(ChangeKind::ModelSelect, *other);
    // A derived cell the write preparation rebuilds, in a row a change
    // touched, stays as it is.
    changes.completeForWrite([](ImageTable &image) { SetPowerOnChannel(image); });
    EXPECT_EQ(RadioData[208][12], 12);

    heard.clear();
    for (auto change = done.crbegin(); change != done.crend(); ++change)
        EXPECT_FALSE(Restore(*change).isEmpty());
    EXPECT_EQ(heard.size(), 4);
    EXPECT_EQ(RadioData[208][12], 12);
    SetUpCell(208, 12, original[208][12]);
    EXPECT_EQ(RadioData, original);
}

// What a window stores while it redraws a change is told apart from the
// user's changes: it belongs to the change being announced.
TEST_F(Changes, AChangeMadeWhileAnotherIsAnnouncedIsItsFollowUp)
{
    auto &changes = ImageChanges::instance();
    const auto redraw =
        QObject::connect(&changes, &ImageChanges::rowsChanged, [](const ImageChange &c) {
            if (c.kind == ChangeKind::OpenedFile)
                ImageChanges::instance().apply(ChangeKind::ShownValues,
                                               [](ImageTable &image) { Record::Erase(image, 3); });
        });
    changes.apply(ChangeKind::OpenedFile, [](ImageTable &image) {
        image[3][0] = ErasedByte;
        image[3][5] = 0x12; // stray cell of an empty channel
    });
    changes.apply(ChangeKind::CellEdit, [](ImageTable &image) { image[4][0] = 0x10; });
    QObject::disconnect(redraw);
    ASSERT_EQ(heard.size(), 3);
    EXPECT_FALSE(heard[0].followUp);
    EXPECT_EQ(heard[1].kind, ChangeKind::ShownValues);
    EXPECT_TRUE(heard[1].followUp);
    EXPECT_FALSE(heard[2].followUp);
}

TEST_F(Changes, CombinedRunsFromTheFirstBeforeToTheLastAfter)
{
    auto &changes = ImageChanges::instance();
    const ImageTable original = RadioData;
    const ImageChange first = changes.apply(ChangeKind::NameTyping, [](ImageTable &image) {
        image[160][0] = 12;
        image[161][0] = 13;
    });
    const ImageChange then = changes.apply(ChangeKind::CellEdit, [&original](ImageTable &image) {
        image[160][0] = 14; // changed again
        image[161][0] = original[161][0]; // back as it began
        image[5][2] = 0x44; // a row only the second touched
    });
    const ImageChange both = Combined(first, then);
    EXPECT_EQ(both.kind, ChangeKind::NameTyping);
    EXPECT_EQ(Rows(both), QList<int>({5, 160}));
    EXPECT_EQ(both.rows[1].before[0], original[160][0]);
    EXPECT_EQ(both.rows[1].after[0], 14);

    const ImageTable after = RadioData;
    auto image = std::make_unique<ImageTable>(after);
    PutBefore(*image, both);
    EXPECT_EQ(*image, original);
    PutAfter(*image, both);
    EXPECT_EQ(*image, after);
    // Only changed cells are written: a cell rebuilt meanwhile stays.
    (*image)[160][1] = 77;
    PutBefore(*image, both);
    EXPECT_EQ((*image)[160][1], 77);
}

// The start-up image and the write preparation's cells are no user's
// change: nothing is announced, so nothing becomes an undo step.
TEST_F(Changes, StartingAndCompletingForAWriteAnnounceNothing)
{
    auto image = std::make_unique<ImageTable>(RadioData);
    (*image)[7][0] = 0x10;
    (*image)[ImageRows - 1][ImageColumns - 1] = 5; // the whole table is taken
    ImageChanges::instance().startWith(*image);
    ImageChanges::instance().completeForWrite([](ImageTable &i) { i[8][0] = 0x20; });
    EXPECT_TRUE(heard.isEmpty());
    EXPECT_EQ(RadioData[7][0], 0x10);
    EXPECT_EQ(RadioData[ImageRows - 1][ImageColumns - 1], 5);
    EXPECT_EQ(RadioData[8][0], 0x20);
}
