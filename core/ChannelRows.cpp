#include "ChannelRows.h"

#include "RecordCodec.h"

#include <algorithm>
#include <array>

namespace {

constexpr int Channels = 128;

// A channel whole: its record and its name codes.
struct ChannelContent {
    std::array<int16_t, BlockSize> record{};
    std::array<int16_t, NameLength> name{};
};

ChannelContent EmptyChannel()
{
    ChannelContent empty;
    empty.record.fill(ErasedByte);
    empty.name.fill(ErasedByte);
    return empty;
}

ChannelContent Take(const ImageTable &image, int channel)
{
    ChannelContent content;
    std::copy_n(image[channel].begin(), BlockSize, content.record.begin());
    for (int k = 0; k < NameLength; ++k)
        content.name[k] = int16_t(NameCell(channel, k).get(image));
    return content;
}

void Put(ImageTable &image, int channel, const ChannelContent &content)
{
    std::copy_n(content.record.begin(), BlockSize, image[channel].begin());
    for (int k = 0; k < NameLength; ++k) {
        const CellField cell = NameCell(channel, k);
        image[cell.row][cell.column] = content.name[k];
    }
}

// The channels in their new order: entry i becomes channel i + 1.
void Arrange(ImageTable &image, const std::vector<ChannelContent> &order)
{
    for (int i = 0; i < Channels; ++i)
        Put(image, i + 1, i < int(order.size()) ? order[i] : EmptyChannel());
}

std::vector<ChannelContent> AllChannels(const ImageTable &image)
{
    std::vector<ChannelContent> all;
    all.reserve(Channels);
    for (int n = 1; n <= Channels; ++n)
        all.push_back(Take(image, n));
    return all;
}

// Index i of the flags is channel i + 1.
std::array<bool, Channels> Flags(const ChannelSet &channels)
{
    std::array<bool, Channels> flags{};
    for (int n : NormalisedChannels(channels))
        flags[n - 1] = true;
    return flags;
}

ChannelSet Numbers(const std::array<bool, Channels> &flags)
{
    ChannelSet numbers;
    for (int i = 0; i < Channels; ++i)
        if (flags[i])
            numbers.push_back(i + 1);
    return numbers;
}

} // namespace

ChannelSet NormalisedChannels(ChannelSet channels)
{
    channels.erase(std::remove_if(channels.begin(), channels.end(),
                                  [](int n) { return n < 1 || n > Channels; }),
                   channels.end());
    std::sort(channels.begin(), channels.end());
    channels.erase(std::unique(channels.begin(), channels.end()), channels.end());
    return channels;
}

bool LastChannelInUse(const ImageTable &image) { return !Record::IsEmpty(image, Channels); }

bool InsertEmptyChannel(ImageTable &image, int at)
{
    if (at < 1 || at > Channels)
        return false;
    std::vector<ChannelContent> order = AllChannels(image);
    order.insert(order.begin() + (at - 1), EmptyChannel());
    order.pop_back();
    Arrange(image, order);
    return true;
}

int DeleteChannels(ImageTable &image, const ChannelSet &channels)
{
    const std::array<bool, Channels> gone = Flags(channels);
    const ChannelSet numbers = Numbers(gone);
    if (numbers.empty())
        return 0;
    std::vector<ChannelContent> order;
    for (int n = 1; n <= Channels; ++n)
        if (!gone[n - 1])
            order.push_back(Take(image, n));
    Arrange(image, order);
    return numbers.front();
}

ChannelSet MoveChannelsUp(ImageTable &image, const ChannelSet &channels)
{
    std::array<bool, Channels> selected = Flags(channels);
    std::vector<ChannelContent> order = AllChannels(image);
    // Top down, so a block moves as one and one stuck at the top stays.
    for (int i = 1; i < Channels; ++i) {
        if (selected[i] && !selected[i - 1]) {
            std::swap(order[i], order[i - 1]);
            std::swap(selected[i], selected[i - 1]);
        }
    }
    Arrange(image, order);
    return Numbers(selected);
}

ChannelSet MoveChannelsDown(ImageTable &image, const ChannelSet &channels)
{
    std::array<bool, Channels> selected = Flags(channels);
    std::vector<ChannelContent> order = AllChannels(image);
    for (int i = Channels - 2; i >= 0; --i) {
        if (selected[i] && !selected[i + 1]) {
            std::swap(order[i], order[i + 1]);
            std::swap(selected[i], selected[i + 1]);
        }
    }
    Arrange(image, order);
    return Numbers(selected);
}
