#include "Globals.h"
#include "ImageRoutines.h"
#include "RecordCodec.h"

#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace {

class Codec : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobals();
        image = std::make_unique<ImageTable>();
        ResetImage(*image);
    }
    std::unique_ptr<ImageTable> image;
};

struct FieldCase {
    const char *name;
    CellField field;
    int start; // cell before the change
    int value; // value set
    int expected; // cell after the change
};

} // namespace

// Every option field writes only its own bits, at the place the radio
// keeps them, and reads back what was written.
TEST_F(Codec, OptionFieldsOwnTheirBits)
{
    const FieldCase cases[] = {
        {"squelch", Options::Squelch, 5, 9, 9},
        {"channel display", Options::ChannelDisplay, 0x71, 1, 0xF1},
        {"battery save", Options::BatterySave, 0x71, 0, 0x31},
        {"FM receive", Options::FmReceive, 0x71, 0, 0x51},
        {"VOX receive stop", Options::VoxReceiveStop, 0x00, 1, 0x10},
        {"roger", Options::Roger, 0x71, 1, 0x79},
        {"manual set-up ticked", Options::ManualSetup, 0x04, 1, 0x00},
        {"manual set-up cleared", Options::ManualSetup, 0x71, 0, 0x75},
        {"scan mode", Options::ScanMode, 0x71, 2, 0x72},
        {"beep", Options::Beep, 0x81, 0, 0x01},
        {"channel mode", Options::ChannelMode, 0x81, 1, 0xC1},
        {"power-on display", Options::PowerOnDisplay, 0x81, 2, 0xA1},
        {"power-on password", Options::PowerOnPassword, 0x81, 1, 0x89},
        {"back light", Options::BackLight, 0xFF, 0, 0xFC},
        {"time-out", Options::TimeOutTimer, 3, 7, 7},
        {"auto power-off", Options::AutoPowerOff, 0, 15, 15},
        {"VOX level", Options::VoxLevel, 4, 7, 7},
        {"VOX delay", Options::VoxDelay, 3, 0, 0},
        {"key lock keeps the sub-band bit", Options::KeyLockMode, 0x82, 3, 0x83},
        {"sub-band receive", Options::SubBandReceive, 0x02, 1, 0x82},
        {"channel only", Options::ChannelOnly, 0x01, 1, 0x09},
        {"bit 0 of (208,10)", Options::Reserved10Bit0, 0x09, 0, 0x08},
        {"power-on channel", Options::PowerOnChannel, 0, 128, 128},
        {"VFO shift", Record::Shift.at(VfoRow), 0x02, 2, 0x82},
        {"VFO step", Record::Step.at(VfoRow), 0xF8, 7, 0xFF},
        {"value bits beyond the field are dropped", Options::ScanMode, 0x00, 6, 0x02},
    };
    for (const FieldCase &c : cases) {
        (*image)[c.field.row][c.field.column] = int16_t(c.start);
        c.field.set(*image, c.value);
        EXPECT_EQ((*image)[c.field.row][c.field.column], c.expected) << c.name;
        EXPECT_EQ(c.field.get(*image), c.value & c.field.last()) << c.name;
    }
}

// The start-up image read through the fields gives what the optional
// features window shows at start-up.
TEST_F(Codec, StartUpOptionsAndVfo)
{
    const ImageTable &i = *image;
    const struct {
        const char *name;
        CellField field;
        int value;
    } cases[] = {
        {"squelch", Options::Squelch, 5},
        {"scan carrier", Options::ScanMode, 1},
        {"menu ticked", Options::ManualSetup, 1},
        {"roger", Options::Roger, 0},
        {"FM receive", Options::FmReceive, 1},
        {"save", Options::BatterySave, 1},
        {"by frequency", Options::ChannelDisplay, 0},
        {"back light key", Options::BackLight, 1},
        {"password", Options::PowerOnPassword, 0},
        {"power-on display", Options::PowerOnDisplay, 0},
        {"frequency mode", Options::ChannelMode, 0},
        {"beep", Options::Beep, 1},
        {"time-out 3", Options::TimeOutTimer, 3},
        {"APO off", Options::AutoPowerOff, 0},
        {"VOX level 5", Options::VoxLevel, 4},
        {"VOX delay 4", Options::VoxDelay, 3},
        {"key lock", Options::KeyLockMode, 0},
        {"channel only", Options::ChannelOnly, 0},
        {"VFO power high", Record::Power.at(VfoRow), 2},
        {"VFO step 5K", Record::Step.at(VfoRow), 0},
        {"VFO wide", Record::Wide.at(VfoRow), 1},
        {"VFO VOX", Record::Vox.at(VfoRow), 0},
        {"VFO lockout", Record::BusyLock.at(VfoRow), 0},
        {"VFO TX stop", Record::TxStop.at(VfoRow), 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.field.get(i), c.value) << c.name;
    EXPECT_EQ(Record::Rx.text(i, VfoRow), "462.01250");
    EXPECT_EQ(Record::Offset.text(i, VfoRow), "10.00000");
    EXPECT_TRUE(Record::Decode.isOff(i, VfoRow));
    EXPECT_EQ(Record::Encode.position(i, VfoRow), 0);
    EXPECT_EQ(Options::Message(i), "HELLO");
    EXPECT_EQ(Options::Password(i), "");
    EXPECT_EQ(DecodeBandLimits(i).low, 400);
    EXPECT_EQ(DecodeBandLimits(i).high, 470);
}

TEST_F(Codec, ChannelRecordFlagsAndShift)
{
    ImageTable &i = *image;
    // RX 469.5, offset 5, shift 1, not scanned, high; lockout, VOX, narrow, TX stop.
    i[3] = {0x00, 0x00, 0x95, 0x46, 0x00, 0x00, 0x50, 0x00, 1, 4, 2, 106, 0x46, 0xD0, 255, 255};
    EXPECT_FALSE(Record::IsEmpty(i, 3));
    EXPECT_TRUE(Record::IsProgrammed(i, 3));
    EXPECT_EQ(Record::ShiftDirection(i, 3), 1);
    EXPECT_DOUBLE_EQ(Record::TxMHz(i, 3), 474.5);
    EXPECT_EQ(Record::ScanAdd.get(i, 3), 0);
    EXPECT_EQ(Record::Power.get(i, 3), 2);
    EXPECT_EQ(Record::BusyLock.get(i, 3), 1);
    EXPECT_EQ(Record::Vox.get(i, 3), 1);
    EXPECT_EQ(Record::Wide.get(i, 3), 0);
    EXPECT_EQ(Record::TxStop.get(i, 3), 1);
    EXPECT_EQ(Record::Decode.position(i, 3), 55); // DCS normal index 4
    EXPECT_EQ(Record::Encode.position(i, 3), 264); // DCS inverted, last

    // A stored direction 3 is kept but reads as simplex.
    Record::Shift.set(i, 3, 3);
    EXPECT_EQ(Record::Shift.get(i, 3), 3);
    EXPECT_EQ(Record::ShiftDirection(i, 3), 0);
    EXPECT_DOUBLE_EQ(Record::TxMHz(i, 3), 469.5);
    Record::Shift.set(i, 3, 2);
    EXPECT_DOUBLE_EQ(Record::TxMHz(i, 3), 464.5);

    // Ticking scan add on a new channel's 6 stores 2.
    i[3][12] = 6;
    Record::ScanAdd.set(i, 3, 1);
    EXPECT_EQ(i[3][12], 2);

    // Column 0 alone makes a channel shown; all four make it programmed.
    Record::Erase(i, 4);
    i[4][0] = 0x00;
    EXPECT_FALSE(Record::IsEmpty(i, 4));
    EXPECT_FALSE(Record::IsProgrammed(i, 4));
    EXPECT_FALSE(Record::Rx.allErased(i, 4));
}

TEST_F(Codec, TonesWithAnErasedCellAreOff)
{
    ImageTable &i = *image;
    const struct {
        int type, index, position;
        bool off;
    } cases[] = {{255, 3, 0, true}, {1, 255, 0, true}, {0, 60, 50, false}, {7, 0, -1, false}};
    for (const auto &c : cases) {
        Record::Decode.set(i, 9, {c.type, c.index});
        EXPECT_EQ(Record::Decode.isOff(i, 9), c.off) << c.type << "/" << c.index;
        EXPECT_EQ(Record::Decode.position(i, 9), c.position) << c.type << "/" << c.index;
    }
    Record::Encode.setPosition(i, 9, 158);
    EXPECT_EQ(i[9][10], 2);
    EXPECT_EQ(i[9][11], 0);
}

TEST_F(Codec, FrequenciesAndBandLimits)
{
    EXPECT_EQ(Record::Rx.store(*image, 5, " 435.5 "), "435.50000");
    EXPECT_EQ((*image)[5][2], 0x55);
    EXPECT_EQ((*image)[5][3], 0x43);
    Record::Offset.setCode(*image, 5, TextToBcd("5"));
    EXPECT_EQ(Record::Offset.text(*image, 5), "5.00000");
    EXPECT_EQ(Record::Offset.code(*image, 5).B2, 0x50);
    EncodeBandLimits(*image, 430, 460);
    EXPECT_EQ((*image)[153][0], 0x00);
    EXPECT_EQ((*image)[153][1], 0x43);
    EXPECT_EQ((*image)[153][3], 0x46);
    EXPECT_EQ(DecodeBandLimits(*image).high, 460);
}

TEST_F(Codec, PresetNameAndTextCells)
{
    const struct {
        CellField cell;
        int row, column;
    } cases[] = {{FmPresets::Preset(0), 154, 0},  {FmPresets::Preset(15), 154, 15},
                 {FmPresets::Preset(16), 155, 0}, {FmPresets::Preset(24), 155, 8},
                 {NameCell(1, 0), 160, 0},        {NameCell(7, 2), 162, 0},
                 {NameCell(128, 0), 199, 11},     {NameCell(128, 4), 199, 15}};
    for (const auto &c : cases) {
        EXPECT_EQ(c.cell.row, c.row);
        EXPECT_EQ(c.cell.column, c.column);
    }
    // The name cells of the 128 channels fill rows 160..199 one to one.
    std::set<std::pair<int, int>> nameCells;
    for (int n = 1; n <= ChannelCount; ++n)
        for (int k = 0; k < NameLength; ++k) {
            const CellField cell = NameCell(n, k);
            EXPECT_TRUE(NameRowFirst <= cell.row && cell.row <= NameRowLast) << n << "/" << k;
            nameCells.insert({cell.row, cell.column});
        }
    EXPECT_EQ(nameCells.size(), size_t(NameAreaSize));
    EXPECT_TRUE(FmPresets::IsEmpty(211));
    EXPECT_FALSE(FmPresets::IsEmpty(210));

    ImageTable &i = *image;
    Options::SetMessage(i, " ab-1 ");
    EXPECT_EQ(i[209][4], 12);
    EXPECT_EQ(i[209][6], 10);
    EXPECT_EQ(i[209][7], 1);
    EXPECT_EQ(i[209][8], 255);
    EXPECT_EQ(Options::Message(i), "AB-1");
    Options::SetPassword(i, "123456");
    EXPECT_EQ(i[209][3], 4);
    EXPECT_EQ(i[209][4], 12); // the message is left alone
    i[209][1] = 255;
    i[209][3] = 255;
    EXPECT_EQ(Options::Password(i), "13");
}

// The image forms of the routines work on the image given and leave the
// program's image and globals alone.
TEST_F(Codec, ImageRoutinesOnAnotherImage)
{
    const ImageTable before = RadioData;
    ImageTable &i = *image;
    for (int n : {9, 1, 128}) {
        Record::Rx.store(i, n, "440");
        Record::Offset.fill(i, n, 0);
    }
    SetPowerOnChannel(i);
    BuildChannelMap(i);
    EXPECT_EQ(i[208][12], 1);
    EXPECT_EQ(i[210][0], 0xFE);
    EXPECT_EQ(i[210][1], 0xFE);
    EXPECT_EQ(i[210][15], 0x7F);
    EXPECT_EQ(FindChannelOutOfBand(i), 0);
    Record::Rx.store(i, 9, "480");
    EXPECT_EQ(FindChannelOutOfBand(i), 9);
    Record::Shift.set(i, VfoRow, 1); // 462.0125 + 10
    EXPECT_EQ(CheckVfoBand(i), 1);

    EXPECT_EQ(RadioData, before);
    EXPECT_EQ(FindChannelOutOfBand(RadioData), 0);
    EXPECT_EQ(CheckVfoBand(RadioData), 0);
    EXPECT_EQ(BandLowMHz, 400);
}
