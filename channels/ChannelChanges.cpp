#include "ChannelChanges.h"

#include <algorithm>

QList<int> ChannelsTouched(const ImageChange &change)
{
    QList<int> channels;
    for (const RowChange &row : change.rows) {
        if (row.row >= 1 && row.row <= ChannelCount) {
            channels << row.row;
        } else if (row.row >= NameRowFirst && row.row <= NameRowLast) {
            for (int column : row.changedColumns()) {
                const int index = (row.row - NameRowFirst) * BlockSize + column;
                channels << index / NameLength + 1;
            }
        }
    }
    std::sort(channels.begin(), channels.end());
    channels.erase(std::unique(channels.begin(), channels.end()), channels.end());
    return channels;
}
