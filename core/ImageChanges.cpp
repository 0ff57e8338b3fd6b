#include "ImageChanges.h"

#include <algorithm>

namespace {

using UsedImage = std::array<RowBytes, UsedRows>;

RowBytes RowOf(const ImageTable &image, int row)
{
    RowBytes bytes;
    std::copy_n(image[row].begin(), BlockSize, bytes.begin());
    return bytes;
}

// Leaves the nesting depth as it was, also when an edit throws.
class DepthGuard {
public:
    explicit DepthGuard(int &depth) : depth_(depth) { ++depth_; }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard &) = delete;
    DepthGuard &operator=(const DepthGuard &) = delete;

private:
    int &depth_;
};

} // namespace

QList<int> RowChange::changedColumns() const
{
    QList<int> columns;
    for (int c = 0; c < BlockSize; ++c)
        if (before[c] != after[c])
            columns << c;
    return columns;
}

bool ImageChange::touches(int row) const { return touches(row, row); }

bool ImageChange::touches(int firstRow, int lastRow) const
{
    return std::any_of(rows.begin(), rows.end(), [&](const RowChange &change) {
        return firstRow <= change.row && change.row <= lastRow;
    });
}

ImageChanges &ImageChanges::instance()
{
    static ImageChanges changes;
    return changes;
}

ImageChange ImageChanges::apply(ChangeKind kind, const std::function<void(ImageTable &)> &edit)
{
    ImageChange change{kind, {}};
    if (depth_ > 0) {
        edit(RadioData); // the outer call reports it
        return change;
    }
    UsedImage before;
    for (int r = 0; r < UsedRows; ++r)
        before[r] = RowOf(RadioData, r);
    {
        DepthGuard guard(depth_);
        edit(RadioData);
    }
    for (int r = 0; r < UsedRows; ++r) {
        const RowBytes after = RowOf(RadioData, r);
        if (after != before[r])
            change.rows << RowChange{r, before[r], after};
    }
    if (!change.isEmpty())
        emit rowsChanged(change);
    return change;
}

ImageChange ImageChanges::replaceImage(ChangeKind kind, const ImageTable &source, int rowCount)
{
    const int rows = std::clamp(rowCount, 0, int(UsedRows));
    return apply(kind, [&source, rows](ImageTable &image) {
        for (int r = 0; r < rows; ++r)
            std::copy_n(source[r].begin(), BlockSize, image[r].begin());
    });
}
