#include "ChannelRows.h"
#include "Globals.h"
#include "RecordCodec.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Channel n's name codes: unique for n = 1..128 and all in the alphabet.
std::array<int16_t, NameLength> NameOf(int n)
{
    return {int16_t(n % 41), int16_t(n / 41), 1, 2, 3};
}

// Every channel n holds n in all its record cells and the name NameOf(n);
// channel 10 is empty but keeps a name, as a deleted channel does.
std::unique_ptr<ImageTable> Marked()
{
    auto image = std::make_unique<ImageTable>();
    for (auto &row : *image)
        row.fill(ErasedByte);
    (*image)[0].fill(7); // VFO
    (*image)[153].fill(9); // band limits
    (*image)[210].fill(0);
    for (int n = 1; n <= 128; ++n) {
        if (n != 10)
            (*image)[n].fill(int16_t(n));
        const auto name = NameOf(n);
        for (int k = 0; k < NameLength; ++k)
            (*image)[NameCell(n, k).row][NameCell(n, k).column] = name[k];
    }
    return image;
}

// Which original channel channel n holds now, judged by its name: 0 for an
// empty channel without a name, -1 when record and name do not belong
// together.
int Holder(const ImageTable &image, int n)
{
    std::array<int16_t, NameLength> name{};
    for (int k = 0; k < NameLength; ++k)
        name[k] = int16_t(NameCell(n, k).get(image));
    const bool recordErased = std::all_of(image[n].begin(), image[n].begin() + BlockSize,
                                          [](int16_t cell) { return cell == ErasedByte; });
    if (name == std::array<int16_t, NameLength>{255, 255, 255, 255, 255})
        return recordErased ? 0 : -1;
    const int tag = name[1] * 41 + name[0];
    if (NameOf(tag) != name)
        return -1;
    if (recordErased)
        return tag == 10 ? 10 : -1;
    const bool recordIsTag = std::all_of(image[n].begin(), image[n].begin() + BlockSize,
                                         [tag](int16_t cell) { return cell == tag; });
    return recordIsTag ? tag : -1;
}

enum class Op { Insert, Delete, Up, Down };

struct RowCase {
    const char *what;
    Op op;
    ChannelSet channels; // Insert: its first entry is the place
    std::vector<std::pair<int, int>> holders; // channel -> original channel (0 empty)
    ChannelSet result; // returned channels (Delete: the one channel)
};

const RowCase RowCases[] = {
    {"insert at the top", Op::Insert, {1}, {{1, 0}, {2, 1}, {3, 2}, {11, 10}, {128, 127}}, {}},
    {"insert at the last channel", Op::Insert, {128}, {{1, 1}, {127, 127}, {128, 0}}, {}},
    {"insert in the middle", Op::Insert, {64}, {{63, 63}, {64, 0}, {65, 64}, {128, 127}}, {}},
    {"delete the first", Op::Delete, {1}, {{1, 2}, {9, 10}, {127, 128}, {128, 0}}, {1}},
    {"delete the last", Op::Delete, {128}, {{1, 1}, {127, 127}, {128, 0}}, {128}},
    {"delete scattered channels",
     Op::Delete,
     {2, 5, 6},
     {{1, 1}, {2, 3}, {3, 4}, {4, 7}, {7, 10}, {125, 128}, {126, 0}, {127, 0}, {128, 0}},
     {2}},
    {"delete an empty named channel", Op::Delete, {10}, {{9, 9}, {10, 11}, {128, 0}}, {10}},
    {"delete with stray numbers", Op::Delete, {0, 5, 5, 200}, {{4, 4}, {5, 6}, {128, 0}}, {5}},
    {"delete nothing", Op::Delete, {0, 129}, {{1, 1}, {128, 128}}, {0}},
    {"up at the top stays", Op::Up, {1}, {{1, 1}, {2, 2}}, {1}},
    {"up one", Op::Up, {2}, {{1, 2}, {2, 1}, {3, 3}}, {1}},
    {"up a block stuck at the top and one more",
     Op::Up,
     {1, 2, 4},
     {{1, 1}, {2, 2}, {3, 4}, {4, 3}},
     {1, 2, 3}},
    {"up a block", Op::Up, {3, 4}, {{2, 3}, {3, 4}, {4, 2}, {5, 5}}, {2, 3}},
    {"up the empty named channel", Op::Up, {10}, {{9, 10}, {10, 9}}, {9}},
    {"up from the last", Op::Up, {128}, {{127, 128}, {128, 127}}, {127}},
    {"down at the bottom stays", Op::Down, {128}, {{127, 127}, {128, 128}}, {128}},
    {"down one", Op::Down, {127}, {{126, 126}, {127, 128}, {128, 127}}, {128}},
    {"down with one stuck at the bottom",
     Op::Down,
     {126, 128},
     {{126, 127}, {127, 126}, {128, 128}},
     {127, 128}},
    {"down a block from the top", Op::Down, {1, 2}, {{1, 3}, {2, 1}, {3, 2}, {4, 4}}, {2, 3}},
};

class ChannelRowCases : public ::testing::TestWithParam<RowCase> { };

} // namespace

TEST_P(ChannelRowCases, ChannelsMoveWholeWithTheirNames)
{
    const RowCase &c = GetParam();
    auto image = Marked();
    const auto original = std::make_unique<ImageTable>(*image);
    switch (c.op) {
    case Op::Insert:
        EXPECT_TRUE(InsertEmptyChannel(*image, c.channels.front()));
        break;
    case Op::Delete:
        EXPECT_EQ(DeleteChannels(*image, c.channels), c.result.front());
        break;
    case Op::Up:
        EXPECT_EQ(MoveChannelsUp(*image, c.channels), c.result);
        break;
    case Op::Down:
        EXPECT_EQ(MoveChannelsDown(*image, c.channels), c.result);
        break;
    }
    for (const auto &[n, holder] : c.holders)
        EXPECT_EQ(Holder(*image, n), holder) << "channel " << n;
    // Every channel is whole, and each original channel is held at most once.
    std::array<int, 129> seen{};
    for (int n = 1; n <= 128; ++n) {
        const int holder = Holder(*image, n);
        ASSERT_GE(holder, 0) << "channel " << n << " mixes record and name";
        if (holder > 0) {
            EXPECT_EQ(++seen[holder], 1) << "channel " << holder << " twice";
        }
    }
    // Nothing beyond the channels and their names moves.
    for (int r : {0, 129, 153, 159, 200, 210, 255})
        EXPECT_EQ((*image)[r], (*original)[r]) << "row " << r;
}

INSTANTIATE_TEST_SUITE_P(Rows, ChannelRowCases, ::testing::ValuesIn(RowCases));

TEST(ChannelRows, InsertNeedsAPlaceAndSaysWhenChannel128WouldBeLost)
{
    auto image = Marked();
    const auto original = std::make_unique<ImageTable>(*image);
    EXPECT_FALSE(InsertEmptyChannel(*image, 0));
    EXPECT_FALSE(InsertEmptyChannel(*image, 129));
    EXPECT_EQ(*image, *original);

    EXPECT_TRUE(LastChannelInUse(*image));
    Record::Erase(*image, 128); // a name alone is no channel shown
    EXPECT_FALSE(LastChannelInUse(*image));
    (*image)[128][0] = 0x00; // shown as soon as its first receive cell is set
    EXPECT_TRUE(LastChannelInUse(*image));
}

TEST(ChannelRows, NormalisedChannelsSortsAndDropsWhatIsNoChannel)
{
    EXPECT_EQ(NormalisedChannels({5, 3, 5, 0, 129, -1, 128, 1}), (ChannelSet{1, 3, 5, 128}));
    EXPECT_TRUE(NormalisedChannels({}).empty());
}
