// Rearranging whole channels in the grid's order: inserting an empty one,
// deleting some, moving some up or down. A channel's record (its row) and
// its five name codes always move together. Every routine works on the
// image it is given and shows nothing, so the grid stores the result as
// one change and the rules can be tested without windows.
#pragma once

#include "Globals.h"

#include <vector>

// Channel numbers 1..128, ascending, each once.
using ChannelSet = std::vector<int>;

// Sorted, without duplicates and without numbers outside 1..128.
ChannelSet NormalisedChannels(ChannelSet channels);

// Whether channel 128 shows a channel: inserting would push it off the end.
bool LastChannelInUse(const ImageTable &image);

// An empty channel (record and name erased) at `at`; the channels from
// `at` on move one down and channel 128 falls off. False, and nothing
// changed, when `at` is not 1..128.
bool InsertEmptyChannel(ImageTable &image, int at);

// The channels are removed; those below move up to close the gaps and the
// freed channels at the end are empty. Returns the channel that now holds
// what followed the first deleted one (clamped to 128), 0 for none given.
int DeleteChannels(ImageTable &image, const ChannelSet &channels);

// Each channel swaps with the unselected neighbour above (below); a block
// that already touches channel 1 (128) stays where it is. Returns the
// channels' new numbers.
ChannelSet MoveChannelsUp(ImageTable &image, const ChannelSet &channels);
ChannelSet MoveChannelsDown(ImageTable &image, const ChannelSet &channels);
