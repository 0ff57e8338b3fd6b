#include "ChannelTexts.h"
#include "Conversions.h"
#include "Globals.h"
#include "SessionState.h"

#include <gtest/gtest.h>

namespace {

class ChannelData : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobals();
        image = RadioData;
    }

    void cells(int row, std::initializer_list<int> values)
    {
        int c = 0;
        for (int v : values)
            image[row][c++] = int16_t(v);
    }
    // RX 438.50000, offset 7.60000, shift bits and power in cell 12.
    void repeater(int n, int cell12)
    {
        cells(n,
              {0x00, 0x00, 0x85, 0x43, 0x00, 0x00, 0x76, 0x00, 255, 255, 255, 255, cell12, 0x20});
    }

    ImageTable image{};
};

} // namespace

TEST_F(ChannelData, EmptyChannelHasNoTexts)
{
    EXPECT_TRUE(ChannelTextsOf(image, 1).empty);
    image[1][0] = 0x00; // cell 0 alone decides
    EXPECT_FALSE(ChannelTextsOf(image, 1).empty);
}

TEST_F(ChannelData, TransmitFollowsOffsetAndShift)
{
    repeater(1, 0x41);
    EXPECT_EQ(ChannelTextsOf(image, 1).receive, "438.50000");
    EXPECT_EQ(ChannelTextsOf(image, 1).transmit, "446.10000");
    repeater(1, 0x81);
    EXPECT_EQ(TransmitText(image, 1), "430.90000");
    repeater(1, 0xC1); // direction 3 counts as none
    EXPECT_EQ(TransmitText(image, 1), "438.50000");
    cells(2, {0x25, 0x06, 0x60, 0x44, 0, 0, 0, 0, 255, 255, 255, 255, 2, 0});
    EXPECT_EQ(TransmitText(image, 2), "446.00625");
}

TEST_F(ChannelData, ToneTextsClampAndUnknownTypesKeepTheCell)
{
    EXPECT_EQ(ToneText(0, 60), ToneList[50]);
    EXPECT_EQ(*ToneText(0, 60), "  254.1   ");
    EXPECT_EQ(ToneText(1, 200), ToneList[157]);
    EXPECT_EQ(ToneText(2, 200), ToneList[264]);
    EXPECT_EQ(ToneText(1, 0), ToneList[51]);
    EXPECT_EQ(*ToneText(2, 0), "D017I");
    for (auto [type, index] : {std::pair{0, 255}, {1, 255}, {2, 255}, {255, 3}})
        EXPECT_EQ(ToneText(type, index), "关");
    SessionState::instance().setChinese(false);
    EXPECT_EQ(ToneText(255, 255), "OFF");
    EXPECT_FALSE(ToneText(7, 0).has_value());
    EXPECT_FALSE(PowerText(3).has_value());
    EXPECT_EQ(PowerText(1), "Mid");
}

TEST_F(ChannelData, RowTextsInBothLanguages)
{
    repeater(1, 0x40);
    cells(1, {0x00, 0x00, 0x85, 0x43, 0x00, 0x00, 0x76, 0x00, 7, 0, 1, 200, 3, 0xDF});
    image[160][0] = 12;
    image[160][1] = 13;
    ChannelRowTexts texts = ChannelTextsOf(image, 1);
    EXPECT_FALSE(texts.decode.has_value());
    EXPECT_EQ(texts.encode, ToneList[157]);
    EXPECT_FALSE(texts.power.has_value());
    EXPECT_EQ(texts.bandwidth, "窄带");
    EXPECT_EQ(texts.name, "AB");
    SessionState::instance().setChinese(false);
    image[1][13] = 0x20;
    image[1][12] = 0x42;
    texts = ChannelTextsOf(image, 1);
    EXPECT_EQ(texts.bandwidth, "Wide");
    EXPECT_EQ(texts.power, "High");
}

TEST_F(ChannelData, NameOfTheLastChannelUsesTheLastFiveCodes)
{
    for (int c = 11; c <= 15; ++c)
        image[199][c] = int16_t(c + 12); // X.. as codes 23..27
    image[199][10] = 12; // channel 127's last code
    EXPECT_EQ(ChannelName(image, 128), "LMNOP");
    EXPECT_EQ(ChannelName(image, 127), "A");
}

TEST_F(ChannelData, CaptionHasTheSignBlank)
{
    EXPECT_EQ(ChannelCaption(5), "信道参数编辑 [ 信道 -  5 ]");
    SessionState::instance().setChinese(false);
    EXPECT_EQ(ChannelCaption(128), "Channel Information [ Channel -  128 ]");
}
