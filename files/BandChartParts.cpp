#include "BandChartParts.h"

#include <algorithm>
#include <vector>

namespace BandChartParts {

bool Spread(QList<Item> &items, double low, double high, double gap)
{
    struct Block {
        int first;
        int count;
        double width;
        double wanted; // sum over members of (wanted left - offset in the block)
        double start;
    };
    const auto place = [low, high](Block &b) {
        b.start = std::max(low, std::min(b.wanted / b.count, high - b.width));
    };
    std::vector<Block> blocks;
    for (int i = 0; i < items.size(); ++i) {
        Block b{i, 1, items[i].width, items[i].anchor - items[i].width / 2, 0};
        place(b);
        blocks.push_back(b);
        while (blocks.size() >= 2) {
            Block &previous = blocks[blocks.size() - 2];
            const Block &last = blocks.back();
            if (previous.start + previous.width + gap <= last.start + 1e-9)
                break;
            const double shift = previous.width + gap;
            previous.wanted += last.wanted - last.count * shift;
            previous.count += last.count;
            previous.width += gap + last.width;
            place(previous);
            blocks.pop_back();
        }
    }
    for (int b = 0; b < int(blocks.size()); ++b) {
        double x = blocks[b].start;
        for (int i = blocks[b].first; i < blocks[b].first + blocks[b].count; ++i) {
            items[i].left = x;
            items[i].block = b;
            x += items[i].width + gap;
        }
    }
    return items.isEmpty() || items.constLast().left + items.constLast().width <= high + 1e-6;
}

double Stray(const Item &item)
{
    return std::max({0.0, item.left - item.reachRight, item.reachLeft - (item.left + item.width)});
}

} // namespace BandChartParts
