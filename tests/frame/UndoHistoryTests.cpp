#include "ChannelRows.h"
#include "ChannelRules.h"
#include "ImageChanges.h"
#include "ImageOrigin.h"
#include "ImageRoutines.h"
#include "RecordCodec.h"
#include "SessionState.h"
#include "UndoHistory.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Edit = std::function<void(ImageTable &)>;

// A radio's memory as a read or an opened file brings it: other channels,
// names, options, FM presets and calibration than the program's image.
std::unique_ptr<ImageTable> OtherRadio()
{
    auto image = std::make_unique<ImageTable>(RadioData);
    for (int n = 1; n <= 128; n += 3) {
        Record::Rx.store(*image, n, QString::number(430 + n * 0.125, 'f', 5));
        Record::Offset.fill(*image, n, 0);
        (*image)[n][12] = 0x42;
        (*image)[n][13] = 0x20;
    }
    for (int i = 0; i < NameAreaSize; ++i)
        (*image)[NameRowFirst + i / BlockSize][i % BlockSize] = int16_t(i % 41);
    Options::Squelch.set(*image, 2);
    FmPresets::Preset(0).set(*image, 100);
    Calibration::Level(1).set(*image, 90);
    (*image)[253][3] = 0x33;
    return image;
}

struct StepCase {
    const char *what;
    ChangeKind kind;
    Edit edit;
};

// One change of each kind, made with the routines the windows store by.
std::vector<StepCase> StepCases()
{
    return {
        {"grid cell", ChangeKind::CellEdit,
         [](ImageTable &image) {
             EditChannelText(image, 7, ChannelField::Receive, "446.125", GridEditProfile,
                             CurrentBand())
                 .applyTo(image);
         }},
        {"channel name", ChangeKind::CellEdit,
         [](ImageTable &image) {
             EditChannelText(image, 2, ChannelField::Name, "ab c", GridEditProfile, CurrentBand())
                 .applyTo(image);
         }},
        {"clear", ChangeKind::Clear, [](ImageTable &image) { EraseAllChannels(image); }},
        {"model select", ChangeKind::ModelSelect,
         [](ImageTable &image) {
             EncodeBandLimits(image, 136, 174);
             Record::Rx.setCode(image, VfoRow, TextToBcd("136.625"));
             Options::SubBandReceive.set(image, 1);
         }},
        {"options", ChangeKind::OptionsEdit,
         [](ImageTable &image) {
             Options::Squelch.set(image, 9);
             Options::SetMessage(image, "QL");
             Record::Power.set(image, VfoRow, 0);
         }},
        {"FM list", ChangeKind::FmEdit,
         [](ImageTable &image) {
             FmPresets::Preset(24).set(image, 15);
             FmPresets::Preset(3).set(image, 255);
         }},
        {"read", ChangeKind::CompletedRead,
         [](ImageTable &image) {
             const auto radio = OtherRadio();
             for (int r = 0; r < ReadBlockCount; ++r)
                 std::copy_n((*radio)[r].begin(), BlockSize, image[r].begin());
         }},
        {"open", ChangeKind::OpenedFile,
         [](ImageTable &image) {
             const auto file = OtherRadio();
             for (int r = 0; r < UsedRows; ++r)
                 std::copy_n((*file)[r].begin(), BlockSize, image[r].begin());
         }},
        {"power", ChangeKind::PowerCalibration,
         [](ImageTable &image) {
             Calibration::Level(2).set(image, 201);
             Calibration::LastAdjusted.set(image, 2);
         }},
        {"insert", ChangeKind::InsertChannel,
         [](ImageTable &image) { InsertEmptyChannel(image, 1); }},
        {"delete", ChangeKind::DeleteChannels,
         [](ImageTable &image) {
             DeleteChannels(image, {1, 4, 128});
         }},
        {"move up", ChangeKind::MoveChannelsUp,
         [](ImageTable &image) {
             MoveChannelsUp(image, {4, 5, 127});
         }},
        {"move down", ChangeKind::MoveChannelsDown,
         [](ImageTable &image) {
             MoveChannelsDown(image, {1, 4});
         }},
    };
}

class Undo : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobals();
        // Some channels with names to move, delete and clear.
        ImageChanges::instance().apply(ChangeKind::OpenedFile, [](ImageTable &image) {
            for (int n : {1, 2, 4, 5, 127, 128}) {
                Record::Rx.store(image, n, QString::number(440 + n * 0.0125, 'f', 5));
                Record::Offset.fill(image, n, 0);
                SetChannelDefaults(image, n, GridEditProfile);
                NameCell(n, 0).set(image, 12 + n % 20);
            }
        });
        history = std::make_unique<UndoHistory>();
        connection = QObject::connect(&ImageChanges::instance(), &ImageChanges::rowsChanged,
                                      [this](const ImageChange &change) { heard << change; });
    }
    void TearDown() override
    {
        QObject::disconnect(connection);
        history.reset();
    }

    static ImageChange Apply(ChangeKind kind, const Edit &edit)
    {
        return ImageChanges::instance().apply(kind, edit);
    }

    std::unique_ptr<UndoHistory> history;
    QList<ImageChange> heard;
    QMetaObject::Connection connection;
};

} // namespace

TEST_F(Undo, EachKindOfChangeIsOneStepUndoneAndRedoneByteForByte)
{
    const ImageTable start = RadioData;
    for (const StepCase &c : StepCases()) {
        SCOPED_TRACE(c.what);
        ImageChanges::instance().startWith(start);
        history->clear();
        const ImageChange change = Apply(c.kind, c.edit);
        ASSERT_FALSE(change.isEmpty());
        const ImageTable after = RadioData;
        EXPECT_EQ(history->count(), 1);
        EXPECT_EQ(history->undoKind(), c.kind);

        heard.clear();
        history->undo();
        EXPECT_EQ(RadioData, start);
        // Through the change path, so every window redraws - and it is no
        // new step.
        ASSERT_EQ(heard.size(), 1);
        EXPECT_EQ(heard.first().kind, c.kind);
        EXPECT_EQ(history->count(), 1);
        EXPECT_FALSE(history->canUndo());
        EXPECT_EQ(history->redoKind(), c.kind);

        history->redo();
        EXPECT_EQ(RadioData, after);
        EXPECT_EQ(heard.size(), 2);
        EXPECT_TRUE(history->canUndo());
        EXPECT_FALSE(history->canRedo());
    }
}

TEST_F(Undo, AllStepsBackToTheStartAndForwardToTheEnd)
{
    const ImageTable start = RadioData;
    int changed = 0;
    for (const StepCase &c : StepCases())
        changed += Apply(c.kind, c.edit).isEmpty() ? 0 : 1;
    const ImageTable end = RadioData;
    EXPECT_GE(changed, 10);
    EXPECT_EQ(history->count(), changed); // a change of nothing is no step
    while (history->canUndo())
        history->undo();
    EXPECT_EQ(RadioData, start);
    while (history->canRedo())
        history->redo();
    EXPECT_EQ(RadioData, end);
}

// The write preparation rebuilds its cells unannounced; an undo must leave
// them as rebuilt.
TEST_F(Undo, CellsTheWritePreparationRebuiltStay)
{
    Apply(ChangeKind::CellEdit, [](ImageTable &image) {
        EditChannelText(image, 3, ChannelField::Receive, "450", GridEditProfile, CurrentBand())
            .applyTo(image);
    });
    ImageChanges::instance().completeForWrite([](ImageTable &image) {
        Options::VoxReceiveStop.set(image, 0);
        SetPowerOnChannel(image);
        BuildChannelMap(image);
    });
    const auto prepared = std::make_unique<ImageTable>(RadioData);
    history->undo();
    EXPECT_TRUE(Record::IsEmpty(RadioData, 3));
    for (int r : {int(ChannelMapRow), int(IdentRow)})
        EXPECT_EQ(RadioData[r], (*prepared)[r]);
    EXPECT_EQ(RadioData[OptionRow], (*prepared)[OptionRow]);
}

TEST_F(Undo, ANewChangeAfterAnUndoDropsWhatCouldBeRedone)
{
    Apply(ChangeKind::FmEdit, [](ImageTable &image) { FmPresets::Preset(1).set(image, 10); });
    history->undo();
    ASSERT_TRUE(history->canRedo());
    Apply(ChangeKind::FmEdit, [](ImageTable &image) { FmPresets::Preset(2).set(image, 20); });
    EXPECT_FALSE(history->canRedo());
    EXPECT_EQ(history->count(), 1);
}

// What a window stores while it redraws (stray cells of an empty channel
// erased) belongs to the change it redraws: undo takes both back.
TEST_F(Undo, WhatAWindowStoresWhileRedrawingJoinsTheStep)
{
    const ImageTable start = RadioData;
    const auto redraw = QObject::connect(
        &ImageChanges::instance(), &ImageChanges::rowsChanged, [](const ImageChange &change) {
            if (change.kind == ChangeKind::OpenedFile && Record::IsEmpty(RadioData, 9)
                && RadioData[9][5] != ErasedByte)
                Apply(ChangeKind::ShownValues, [](ImageTable &image) { Record::Erase(image, 9); });
        });
    Apply(ChangeKind::OpenedFile, [](ImageTable &image) {
        image[9][5] = 0x21; // a stray cell: channel 9 stays empty
        Options::Squelch.set(image, 1);
    });
    EXPECT_EQ(RadioData[9][5], ErasedByte);
    EXPECT_EQ(history->count(), 1);
    history->undo();
    EXPECT_EQ(RadioData, start);
    history->redo();
    EXPECT_EQ(RadioData[9][5], ErasedByte);
    EXPECT_EQ(Options::Squelch.get(RadioData), 1);
    QObject::disconnect(redraw);
}

// A window storing what it shows, on its own, is no step: it neither adds
// one nor throws away what could be redone.
TEST_F(Undo, StoringWhatAWindowShowsIsNoStep)
{
    Apply(ChangeKind::OptionsEdit, [](ImageTable &image) { Options::Squelch.set(image, 3); });
    history->undo();
    Apply(ChangeKind::ShownValues,
          [](ImageTable &image) { Options::VoxReceiveStop.set(image, 0); });
    EXPECT_TRUE(history->canRedo());
    EXPECT_EQ(history->count(), 1);
    history->redo();
    EXPECT_EQ(Options::Squelch.get(RadioData), 3);
}

// The channel edit window stores a name key by key: one step per name.
TEST_F(Undo, ANameTypedKeyByKeyIsOneStep)
{
    const ImageTable start = RadioData;
    for (const char *typed : {"a", "ab", "abc"})
        Apply(ChangeKind::NameTyping, [typed](ImageTable &image) {
            EditChannelText(image, 5, ChannelField::Name, typed, GridEditProfile, CurrentBand())
                .applyTo(image);
        });
    Apply(ChangeKind::NameTyping, [](ImageTable &image) {
        EditChannelText(image, 6, ChannelField::Name, "x", GridEditProfile, CurrentBand())
            .applyTo(image);
    });
    EXPECT_EQ(history->count(), 2); // another channel's name is another step
    history->undo();
    history->undo();
    EXPECT_EQ(RadioData, start);
    EXPECT_FALSE(history->canUndo());
}

TEST_F(Undo, CaptionsNameTheStepInBothLanguages)
{
    SessionState::instance().setChinese(false);
    EXPECT_EQ(history->undoCaption(), "Undo");
    EXPECT_EQ(history->redoCaption(), "Redo");
    Apply(ChangeKind::Clear, [](ImageTable &image) { EraseAllChannels(image); });
    EXPECT_EQ(history->undoCaption(), "Undo Clear");
    SessionState::instance().setChinese(true);
    EXPECT_EQ(history->undoCaption(), "撤销 清除");
    history->undo();
    EXPECT_EQ(history->redoCaption(), "重做 清除");
    EXPECT_EQ(history->undoCaption(), "撤销");
    for (const StepCase &c : StepCases())
        EXPECT_FALSE(StepName(c.kind).isEmpty()) << c.what;
}

// Where the image was last saved, opened or read, the history knows: undo
// and redo back to that step arrive there, every other step leaves it.
TEST_F(Undo, TheSavedStateFollowsUndoRedoSaveAndOpen)
{
    QList<bool> said;
    QObject context;
    QObject::connect(history.get(), &UndoHistory::savedStateChanged, &context,
                     [&said](bool at) { said << at; });
    const auto squelch = [](int level) {
        Apply(ChangeKind::OptionsEdit,
              [level](ImageTable &image) { Options::Squelch.set(image, level); });
    };
    EXPECT_TRUE(history->atSavedState()); // the start counts as saved

    squelch(1);
    EXPECT_FALSE(history->atSavedState());
    history->undo();
    EXPECT_TRUE(history->atSavedState());
    history->redo();
    EXPECT_FALSE(history->atSavedState());
    EXPECT_EQ(said, (QList<bool>{false, true, false}));

    // Saved after two steps: one undo leaves, one redo returns.
    squelch(2);
    ImageOrigin::instance().fileSaved(QStringLiteral("/tmp/x.chann"));
    EXPECT_TRUE(history->atSavedState());
    squelch(3);
    EXPECT_FALSE(history->atSavedState());
    history->undo();
    EXPECT_TRUE(history->atSavedState());
    history->undo();
    EXPECT_FALSE(history->atSavedState());
    history->redo();
    EXPECT_TRUE(history->atSavedState());

    // An opened file is a step of its own and the new saved state.
    Apply(ChangeKind::OpenedFile, [](ImageTable &image) { Options::Squelch.set(image, 7); });
    ImageOrigin::instance().fileOpened(QStringLiteral("/tmp/y.chann"));
    EXPECT_TRUE(history->atSavedState());
    history->undo();
    EXPECT_FALSE(history->atSavedState());
    history->redo();
    EXPECT_TRUE(history->atSavedState());

    // A read that changed nothing still makes the image the radio's.
    squelch(4);
    ImageOrigin::instance().radioRead();
    EXPECT_TRUE(history->atSavedState());
    history->undo();
    EXPECT_FALSE(history->atSavedState());
}

TEST_F(Undo, TheSavedStateCannotBeReachedAgainOnceItsStepIsGone)
{
    const auto fm = [](int code) {
        Apply(ChangeKind::FmEdit,
              [code](ImageTable &image) { FmPresets::Preset(1).set(image, code); });
    };
    fm(10);
    ImageOrigin::instance().fileSaved(QStringLiteral("/tmp/x.chann"));
    history->undo();
    fm(20); // the saved step is dropped with the redo
    history->undo();
    EXPECT_FALSE(history->atSavedState());
    history->redo();
    EXPECT_FALSE(history->atSavedState());
}

// A name typed on after a save is a new step, not part of the saved one:
// otherwise the mark would say "saved" for a name the file does not hold.
TEST_F(Undo, ANameTypedOnAfterASaveIsANewStep)
{
    const auto type = [](const char *text) {
        Apply(ChangeKind::NameTyping, [text](ImageTable &image) {
            EditChannelText(image, 5, ChannelField::Name, text, GridEditProfile, CurrentBand())
                .applyTo(image);
        });
    };
    type("a");
    ImageOrigin::instance().fileSaved(QStringLiteral("/tmp/x.chann"));
    type("ab");
    EXPECT_FALSE(history->atSavedState());
    EXPECT_EQ(history->count(), 2);
    history->undo();
    EXPECT_TRUE(history->atSavedState());
}

// What a window stores as it shows the image is no step, so no undo takes
// it back: the saved state is out of reach from then on.
TEST_F(Undo, StoringWhatAWindowShowsLeavesTheSavedStateForGood)
{
    Apply(ChangeKind::ShownValues,
          [](ImageTable &image) { Options::VoxReceiveStop.set(image, 0); });
    EXPECT_FALSE(history->atSavedState());
    Apply(ChangeKind::OptionsEdit, [](ImageTable &image) { Options::Squelch.set(image, 3); });
    history->undo();
    EXPECT_FALSE(history->atSavedState());
}

// The program's end is no undo: the history going away with unsaved steps
// must not say the saved state was reached (the recovery file would go).
TEST_F(Undo, TheHistoryGoingAwaySaysNothing)
{
    Apply(ChangeKind::FmEdit, [](ImageTable &image) { FmPresets::Preset(1).set(image, 10); });
    QList<bool> said;
    QObject context;
    QObject::connect(history.get(), &UndoHistory::savedStateChanged, &context,
                     [&said](bool at) { said << at; });
    history.reset();
    EXPECT_TRUE(said.isEmpty());
}
