// The FM station rules as tables: codes shown, texts stored, cells left.
#include "FmRules.h"
#include "RecordCodec.h"
#include "SessionState.h"

#include <gtest/gtest.h>

TEST(FmRules, CodesShowOneDecimalAndAboveTheLastNothing)
{
    // clang-format off
    const std::pair<int, const char *> cases[] = {
        {0, "87.0"}, {15, "88.5"}, {129, "99.9"}, {130, "100.0"}, {210, "108.0"},
        {211, ""},   {255, ""},
    };
    // clang-format on
    for (const auto &[code, text] : cases)
        EXPECT_EQ(FmRules::StationText(code), text) << code;
}

TEST(FmRules, TextsStoreWholeTenthsOfTheirDecimalValue)
{
    // clang-format off
    const std::pair<const char *, int> cases[] = {
        {"87", 0},     {"87.0", 0},   {"87.1", 1},    {"87.15", 1},  {"87.19", 1},
        {"99.95", 129}, {"99.9", 129}, {"100.0", 130}, {"108", 210},  {"108.0", 210},
        {"108.00", 210}, {" 9 9.9", 129}, {"88.5MHz", 15}, {"+88.5", 15},
        // Outside the band or no number: no station.
        {"108.01", 255}, {"108.1", 255}, {"86.99", 255}, {"86.9", 255}, {"", 255},
        {"  ", 255},   {"abc", 255},  {"-90", 255},    {"1000", 255}, {"0087.1", 1},
    };
    // clang-format on
    for (const auto &[text, code] : cases)
        EXPECT_EQ(FmRules::StationCode(text), code) << text;
    // Every code comes back from the text it shows.
    for (int code = 0; code <= 210; ++code)
        EXPECT_EQ(FmRules::StationCode(FmRules::StationText(code)), code) << code;
}

TEST(FmRules, LeavingACell)
{
    struct Case {
        const char *typed;
        const char *cell;
        bool message;
    };
    // clang-format off
    const Case cases[] = {
        {"88", "88.0", false},   {"100", "100.0", false}, {"108", "108.0", false},
        {"87.1", "87.1", false}, {"99.95", "99.95", false},
        {"108.1", "87", true},   {"86.9", "87", true},    {"abc", "87", true},
        {"", "", false},         {"   ", "", false},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        const FmRules::LeftCell left = FmRules::LeaveCell(c.typed);
        EXPECT_EQ(left.text, c.cell);
        EXPECT_EQ(left.outOfRange, c.message);
    }
    EXPECT_FALSE(FmRules::EntryTooLong("100.1"));
    EXPECT_TRUE(FmRules::EntryTooLong("100.12"));
}

TEST(FmRules, StationsAndTheirCells)
{
    EXPECT_EQ(FmPresets::Preset(0).row, 154);
    EXPECT_EQ(FmPresets::Preset(15).column, 15);
    EXPECT_EQ(FmPresets::Preset(16).row, 155);
    EXPECT_EQ(FmPresets::Preset(16).column, 0);
    EXPECT_EQ(FmPresets::Preset(24).column, 8);

    ImageChange change;
    RowChange first{154, {}, {}};
    first.after[3] = 1;
    RowChange second{155, {}, {}};
    second.after[8] = 1;
    second.after[9] = 1; // not a station
    change.rows = {first, second};
    EXPECT_EQ(FmRules::StationsTouched(change), (QList<int>{3, 24}));
}

TEST(FmRules, MessageInBothLanguages)
{
    SessionState::instance().setChinese(true);
    EXPECT_EQ(ChannelMessages::FmOutOfRange.text(), "收音机频率超出范围 ！");
    SessionState::instance().setChinese(false);
    EXPECT_EQ(ChannelMessages::FmOutOfRange.text(), "Over the range of FM frequency .");
}
