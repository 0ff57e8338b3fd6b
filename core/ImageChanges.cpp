#include "ImageChanges.h"

#include <algorithm>

namespace {

// The image behind RadioData.
ImageTable radioImage{};

using UsedImage = std::array<RowBytes, UsedRows>;

RowBytes RowOf(const ImageTable &image, int row)
{
    RowBytes bytes;
    std::copy_n(image[row].begin(), BlockSize, bytes.begin());
    return bytes;
}

// Leaves a nesting depth as it was, also when an edit throws.
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

const ImageTable &RadioData = radioImage;

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

void PutBefore(ImageTable &image, const ImageChange &change)
{
    for (const RowChange &row : change.rows)
        for (int c : row.changedColumns())
            image[row.row][c] = row.before[c];
}

void PutAfter(ImageTable &image, const ImageChange &change)
{
    for (const RowChange &row : change.rows)
        for (int c : row.changedColumns())
            image[row.row][c] = row.after[c];
}

ImageChange Combined(const ImageChange &first, const ImageChange &then)
{
    ImageChange combined{first.kind, {}, first.followUp};
    auto a = first.rows.cbegin();
    auto b = then.rows.cbegin();
    auto add = [&combined](const RowChange &row) {
        if (row.before != row.after)
            combined.rows << row;
    };
    while (a != first.rows.cend() || b != then.rows.cend()) {
        if (b == then.rows.cend() || (a != first.rows.cend() && a->row < b->row)) {
            add(*a++);
        } else if (a == first.rows.cend() || b->row < a->row) {
            add(*b++);
        } else {
            add(RowChange{a->row, a->before, b->after});
            ++a;
            ++b;
        }
    }
    return combined;
}

ImageChanges &ImageChanges::instance()
{
    static ImageChanges changes;
    return changes;
}

ImageChange ImageChanges::apply(ChangeKind kind, const std::function<void(ImageTable &)> &edit)
{
    ImageChange change{kind, {}, announcing_ > 0};
    if (depth_ > 0) {
        edit(radioImage); // the outer call reports it
        return change;
    }
    UsedImage before;
    for (int r = 0; r < UsedRows; ++r)
        before[r] = RowOf(radioImage, r);
    {
        DepthGuard guard(depth_);
        edit(radioImage);
    }
    for (int r = 0; r < UsedRows; ++r) {
        const RowBytes after = RowOf(radioImage, r);
        if (after != before[r])
            change.rows << RowChange{r, before[r], after};
    }
    if (!change.isEmpty()) {
        DepthGuard announcing(announcing_);
        emit rowsChanged(change);
    }
    return change;
}

ImageChange ImageChanges::replaceImage(ChangeKind kind, const ImageTable &source, int rowCount)
{
    const int rows = std::clamp(rowCount, 0, int(UsedRows));
    return apply(kind, [&source, rows](ImageTable &target) {
        for (int r = 0; r < rows; ++r)
            std::copy_n(source[r].begin(), BlockSize, target[r].begin());
    });
}

void ImageChanges::startWith(const ImageTable &start) { radioImage = start; }

void ImageChanges::completeForWrite(const std::function<void(ImageTable &)> &prepare)
{
    prepare(radioImage);
}
