#include "Conversions.h"
#include "Globals.h"
#include "ImageRoutines.h"
#include "SessionState.h"

#include <gtest/gtest.h>

namespace {

class Image : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobals();
        image = RadioData;
    }

    // A programmed channel at rx MHz with an offset and shift direction.
    void Program(int channel, const char *rx, const char *offset = "0", int direction = 0)
    {
        StoreFrequency(image, QString::fromLatin1(rx), channel, 0);
        StoreFrequency(image, QString::fromLatin1(offset), channel, 4);
        image[channel][12] = int16_t(2 | (direction << 6));
    }

    // The start-up image, then what a test programs.
    ImageTable image{};
};

} // namespace

TEST_F(Image, StartUpStateAndDefaultImage)
{
    EXPECT_EQ(BandLowMHz, 400);
    EXPECT_EQ(BandHighMHz, 470);
    EXPECT_TRUE(IsChinese);
    EXPECT_EQ(PortNumber, 1);
    EXPECT_EQ(VersionText, "Ver1.2");
    EXPECT_EQ(BcdToText(RadioData[0][0], RadioData[0][1], RadioData[0][2], RadioData[0][3]),
              "462.01250");
    EXPECT_EQ(RadioData[0][7], 0x01);
    EXPECT_EQ(RadioData[0][13], 0x20);
    EXPECT_EQ(RadioData[0][14], 255);
    for (int n = 1; n <= 128; ++n)
        for (int c = 0; c < 16; ++c)
            ASSERT_EQ(RadioData[n][c], 255);
    for (int r = 160; r <= 199; ++r)
        for (int c = 0; c < 16; ++c)
            ASSERT_EQ(RadioData[r][c], 255);
    EXPECT_EQ(RadioData[153][1], 0x40);
    EXPECT_EQ(RadioData[153][3], 0x47);
    EXPECT_EQ(RadioData[155][9], 255);
    EXPECT_EQ(RadioData[208][1], 0x71);
    EXPECT_EQ(RadioData[208][12], 0);
    EXPECT_EQ(RadioData[208][13], 255);
    EXPECT_EQ(RadioData[209][4], 19); // H of HELLO
    EXPECT_EQ(RadioData[210][15], 0);
    EXPECT_EQ(RadioData[212][0], 'Q');
    EXPECT_EQ(RadioData[212][2], ' ');
    EXPECT_EQ(RadioData[212][7], 2);
    EXPECT_EQ(RadioData[212][8], 255);
    EXPECT_EQ(RadioData[240][2], 200);
    EXPECT_EQ(RadioData[240][3], 255);
    EXPECT_EQ(RadioData[256][0], 0); // beyond the used rows nothing is touched
}

TEST_F(Image, ModelTable)
{
    EXPECT_EQ(ModelNames[0], "QL540 UHF");
    EXPECT_EQ(ModelNames[6], "VM90 FULL");
    const int expected[14] = {400, 136, 136, 244, 350, 450, 100, 470, 174, 175, 247, 391, 521, 601};
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(BandTable[i], expected[i]) << i;
}

TEST_F(Image, DerivedRegionsOfAnEmptyImage)
{
    SetPowerOnChannel(image);
    EXPECT_EQ(image[208][12], 0);
    BuildChannelMap(image);
    for (int c = 0; c < 16; ++c)
        EXPECT_EQ(image[210][c], 0xFF);
    EXPECT_EQ(FindChannelOutOfBand(image), 0);
    EXPECT_EQ(CheckVfoBand(image), 0);
}

TEST_F(Image, PowerOnChannelAndBitmap)
{
    Program(9, "440");
    Program(1, "440");
    Program(128, "440");
    image[50][0] = 0x00; // partly erased: not programmed
    SetPowerOnChannel(image);
    EXPECT_EQ(image[208][12], 1);
    image[212][10] = 7;
    BuildChannelMap(image);
    EXPECT_EQ(image[210][0], 0xFE);
    EXPECT_EQ(image[210][1], 0xFE);
    for (int c = 2; c < 15; ++c)
        EXPECT_EQ(image[210][c], 0xFF) << c;
    EXPECT_EQ(image[210][15], 0x7F);
    EXPECT_EQ(image[212][10], 255); // identification block rebuilt whole
    EXPECT_EQ(image[212][6], '2');

    image[1][2] = 255;
    SetPowerOnChannel(image);
    EXPECT_EQ(image[208][12], 9);
}

TEST_F(Image, BandChecksUseWholeMHzOfTheRecord)
{
    Program(1, "470.99");
    EXPECT_EQ(FindChannelOutOfBand(image), 0);
    Program(2, "399.99");
    EXPECT_EQ(FindChannelOutOfBand(image), 2);

    ResetImage(image);
    Program(1, "145");
    EXPECT_EQ(FindChannelOutOfBand(image), 1);

    ResetImage(image);
    for (int n = 1; n <= 3; ++n)
        Program(n, "440");
    Program(4, "480");
    EXPECT_EQ(FindChannelOutOfBand(image), 4);

    // The record decides, not BandLowMHz/BandHighMHz.
    SessionState::instance().setBand(100, 600);
    EXPECT_EQ(FindChannelOutOfBand(image), 4);
    EncodeBandLimits(image, 400, 480);
    EXPECT_EQ(FindChannelOutOfBand(image), 0);
}

TEST_F(Image, TransmitWithOffsetIsChecked)
{
    Program(1, "469.5", "5", 1); // TX 474.5
    EXPECT_EQ(FindChannelOutOfBand(image), 1);
    Program(1, "469.5", "5", 2); // TX 464.5
    EXPECT_EQ(FindChannelOutOfBand(image), 0);
    Program(1, "469.5", "500", 3); // direction 3 is simplex
    EXPECT_EQ(FindChannelOutOfBand(image), 0);
    EXPECT_DOUBLE_EQ(Record::TxMHz(image, 1), 469.5);

    image[0][12] = 0x40; // VFO 462.0125 + 10 = 472.0125
    EXPECT_EQ(CheckVfoBand(image), 1);
    image[0][12] = 0x80;
    EXPECT_EQ(CheckVfoBand(image), 0);
    StoreFrequency(image, QStringLiteral("399"), 0, 0);
    EXPECT_EQ(CheckVfoBand(image), 1);
}

TEST_F(Image, BandLimitRecord)
{
    EncodeBandLimits(image, 136, 174);
    EXPECT_EQ(image[153][0], 0x60);
    EXPECT_EQ(image[153][1], 0x13);
    EXPECT_EQ(image[153][2], 0x40);
    EXPECT_EQ(image[153][3], 0x17);
    EncodeBandLimits(image, 100, 601);
    EXPECT_EQ(image[153][0], 0x00);
    EXPECT_EQ(image[153][1], 0x10);
    EXPECT_EQ(image[153][2], 0x10);
    EXPECT_EQ(image[153][3], 0x60);
    const BandLimits limits = DecodeBandLimits(image);
    EXPECT_EQ(limits.low, 100);
    EXPECT_EQ(limits.high, 601);
    EXPECT_EQ(BandText(400, 470), " 400-- 470 MHZ");
}
