#include "ImageDiff.h"

#include "ChannelEditTexts.h"
#include "ChannelGridTexts.h"
#include "ChannelTexts.h"
#include "FmRules.h"
#include "Language.h"
#include "OptionTable.h"
#include "OptionValueText.h"
#include "RecordCodec.h"

#include <QJsonArray>
#include <QStringList>

namespace {

using Area = ImageDifference::Area;
using BitMasks = std::array<std::array<int, BlockSize>, UsedRows>;

// A text the grid would leave as it was (unknown tone type, power bits 3)
// has nothing to show; it still differs from any real text.
QString Shown(const std::optional<QString> &text)
{
    return text ? text->trimmed() : QStringLiteral("?");
}

QList<DiffCell> Cells(int row, int firstColumn, int count, int mask = 0xFF)
{
    QList<DiffCell> cells;
    for (int c = firstColumn; c < firstColumn + count; ++c)
        cells << DiffCell{row, c, mask};
    return cells;
}

QList<DiffCell> Cells(const CellField &field)
{
    return {DiffCell{field.row, field.column, field.mask()}};
}

// The grid's column titles, "^" and blanks taken off.
QString GridTitle(int column)
{
    QString title = GridTexts::HeaderFormat().split(u'|').at(column);
    return title.remove(u'^').trimmed();
}

// The grid's texts of a programmed channel on one line.
QString ChannelSummary(const ImageTable &image, int channel)
{
    const ChannelRowTexts t = ChannelTextsOf(image, channel);
    return QStringList{t.receive,       t.transmit,     Shown(t.decode),
                       Shown(t.encode), Shown(t.power), t.bandwidth}
        .join(QStringLiteral(" / "));
}

QList<DiffCell> OptionCells(const OptionEntry &entry)
{
    const CellField &f = entry.field;
    switch (entry.kind) {
    case OptionKind::List:
    case OptionKind::Check:
    case OptionKind::Number:
        return Cells(f);
    case OptionKind::Frequency:
        return Cells(f.row, f.column, 4);
    case OptionKind::Transmit:
        return Cells(VfoRow, Record::Rx.column, 8) + Cells(Record::Shift.at(VfoRow));
    case OptionKind::Tone:
        return Cells(f.row, f.column, 2);
    case OptionKind::Password:
        return Cells(PasswordRow, 0, Options::PasswordLength);
    case OptionKind::Message:
        return Cells(PasswordRow, Options::MessageColumn, Options::MessageLength);
    case OptionKind::Range:
        return Cells(BandLimitRow, 0, 4);
    }
    return {};
}

class Differ {
public:
    Differ(const ImageTable &a, const ImageTable &b, int firstRow, int lastRow) : a_(a), b_(b)
    {
        for (int r = 0; r < UsedRows; ++r)
            for (int c = 0; c < BlockSize; ++c)
                differing_[r][c] = r >= firstRow && r <= lastRow ? (a[r][c] ^ b[r][c]) & 0xFFFF : 0;
        unexplained_ = differing_;
    }

    QList<ImageDifference> run()
    {
        entries(Area::Vfo, VfoOptionTable(), Texts("频率模式", "Frequncy Mode"));
        for (int n = 1; n <= ChannelCount; ++n)
            channel(n);
        for (int k = 0; k < FmPresetCount; ++k) {
            const CellField preset = FmPresets::Preset(k);
            add(Area::FmStation, k, QStringLiteral("frequency"),
                Texts("收音频道 %1", "Radio Channel %1").arg(k),
                Texts("频率(MHZ)", "Frequency (MHZ)"), FmRules::StationText(preset.get(a_)),
                FmRules::StationText(preset.get(b_)), Cells(preset));
        }
        entries(Area::Option, OptionTable(), Texts("可选参数", "Optional Features"));
        bytes();
        return list_;
    }

private:
    // Listed when one of its bits and its texts differ; its differing bits
    // are then accounted for.
    void add(Area area, int index, const QString &key, const QString &what, const QString &field,
             const QString &left, const QString &right, const QList<DiffCell> &span)
    {
        QList<DiffCell> cells;
        for (const DiffCell &cell : span)
            if (const int bits = differing_[cell.row][cell.column] & cell.mask)
                cells << DiffCell{cell.row, cell.column, bits};
        if (cells.isEmpty() || left == right)
            return;
        for (const DiffCell &cell : cells)
            unexplained_[cell.row][cell.column] &= ~cell.mask;
        list_ << ImageDifference{area, index, key, what, field, left, right, cells};
    }

    void entries(Area area, const QList<OptionEntry> &table, const QString &what)
    {
        for (const OptionEntry &entry : table)
            add(area, 0, entry.key, what, entry.caption.text().trimmed(),
                OptionValueText(entry, a_), OptionValueText(entry, b_), OptionCells(entry));
    }

    void channel(int n)
    {
        const QString what = Texts("信道 %1", "CH %1").arg(n);
        const bool emptyA = Record::IsEmpty(a_, n), emptyB = Record::IsEmpty(b_, n);
        auto empty = [] { return Texts("（空）", "(empty)"); };
        if (emptyA != emptyB) {
            add(Area::Channel, n, QStringLiteral("channel"), what, Texts("信道", "Channel"),
                emptyA ? empty() : ChannelSummary(a_, n), emptyB ? empty() : ChannelSummary(b_, n),
                Cells(n, 0, BlockSize));
        } else if (!emptyA) {
            const ChannelRowTexts ta = ChannelTextsOf(a_, n), tb = ChannelTextsOf(b_, n);
            auto field = [&](const char *key, const QString &title, const QString &left,
                             const QString &right, const QList<DiffCell> &cells) {
                add(Area::Channel, n, QString::fromLatin1(key), what, title, left, right, cells);
            };
            field("rx", GridTitle(1), ta.receive, tb.receive, Cells(n, Record::Rx.column, 4));
            field("tx", GridTitle(2), ta.transmit, tb.transmit,
                  Cells(n, Record::Rx.column, 8) + Cells(Record::Shift.at(n)));
            field("decode", GridTitle(3), Shown(ta.decode), Shown(tb.decode),
                  Cells(n, Record::Decode.typeColumn, 2));
            field("encode", GridTitle(4), Shown(ta.encode), Shown(tb.encode),
                  Cells(n, Record::Encode.typeColumn, 2));
            field("power", GridTitle(5), Shown(ta.power), Shown(tb.power),
                  Cells(Record::Power.at(n)));
            field("bandwidth", GridTitle(6), ta.bandwidth, tb.bandwidth, Cells(Record::Wide.at(n)));
            // The switches of the channel edit window, by its captions.
            const struct {
                const char *key;
                QString title;
                RecordField bit;
            } switches[] = {{"vox", ChannelEditTexts::Vox(), Record::Vox},
                            {"busyLock", ChannelEditTexts::BusyLock(), Record::BusyLock},
                            {"scanAdd", ChannelEditTexts::ScanAdd(), Record::ScanAdd},
                            {"txStop", ChannelEditTexts::TxStop(), Record::TxStop}};
            for (const auto &s : switches) {
                auto onOff = [&](const ImageTable &image) {
                    return s.bit.get(image, n) != 0 ? Texts("开", "On") : Texts("关", "Off");
                };
                field(s.key, s.title.trimmed(), onOff(a_), onOff(b_), Cells(s.bit.at(n)));
            }
        }
        QList<DiffCell> name;
        for (int k = 0; k < NameLength; ++k)
            name << Cells(NameCell(n, k));
        add(Area::Channel, n, QStringLiteral("name"), what, GridTitle(7), ChannelName(a_, n),
            ChannelName(b_, n), name);
    }

    // What no field accounts for, row by row.
    void bytes()
    {
        for (int r = 0; r < UsedRows; ++r) {
            QList<DiffCell> cells;
            QStringList columns, left, right;
            for (int c = 0; c < BlockSize; ++c)
                if (unexplained_[r][c]) {
                    cells << DiffCell{r, c, unexplained_[r][c]};
                    columns << QString::number(c);
                    left << QString::number(a_[r][c]);
                    right << QString::number(b_[r][c]);
                }
            if (cells.isEmpty())
                continue;
            const QString field =
                columns.size() == 1
                    ? Texts("第 %1 列", "Column %1").arg(columns.constFirst())
                    : Texts("第 %1 列", "Columns %1").arg(columns.join(QStringLiteral(", ")));
            list_ << ImageDifference{Area::Bytes,
                                     r,
                                     QStringLiteral("bytes"),
                                     Texts("第 %1 行", "Row %1").arg(r),
                                     field,
                                     left.join(u' '),
                                     right.join(u' '),
                                     cells};
        }
    }

    const ImageTable &a_;
    const ImageTable &b_;
    BitMasks differing_{};
    BitMasks unexplained_{};
    QList<ImageDifference> list_;
};

QString AreaName(Area area)
{
    switch (area) {
    case Area::Channel:
        return QStringLiteral("channel");
    case Area::Vfo:
        return QStringLiteral("vfo");
    case Area::Option:
        return QStringLiteral("option");
    case Area::FmStation:
        return QStringLiteral("fm");
    case Area::Bytes:
        break;
    }
    return QStringLiteral("bytes");
}

} // namespace

QList<ImageDifference> DiffImages(const ImageTable &a, const ImageTable &b, int firstRow,
                                  int lastRow)
{
    return Differ(a, b, std::max(0, firstRow), std::min(UsedRows - 1, lastRow)).run();
}

QString ShownDifferenceValue(const QString &text)
{
    return text.isEmpty() ? Texts("（空）", "(empty)") : text;
}

QString DifferenceLine(const ImageDifference &d)
{
    return d.what + QStringLiteral("  ") + d.field + QStringLiteral("  ")
           + ShownDifferenceValue(d.left) + QStringLiteral(" → ") + ShownDifferenceValue(d.right);
}

QJsonObject DifferencesJson(const QList<ImageDifference> &differences, const QString &leftName,
                            const QString &rightName)
{
    QJsonArray list;
    for (const ImageDifference &d : differences) {
        QJsonObject item{{QStringLiteral("area"), AreaName(d.area)},
                         {QStringLiteral("key"), d.key},
                         {QStringLiteral("what"), d.what},
                         {QStringLiteral("field"), d.field},
                         {leftName, d.left},
                         {rightName, d.right}};
        if (d.area == Area::Channel)
            item.insert(QStringLiteral("channel"), d.index);
        else if (d.area == Area::FmStation)
            item.insert(QStringLiteral("station"), d.index);
        else if (d.area == Area::Bytes) {
            item.insert(QStringLiteral("row"), d.index);
            QJsonArray columns;
            for (const DiffCell &cell : d.cells)
                columns.append(cell.column);
            item.insert(QStringLiteral("columns"), columns);
        }
        list.append(item);
    }
    return {{QStringLiteral("same"), differences.isEmpty()},
            {QStringLiteral("count"), int(differences.size())},
            {QStringLiteral("differences"), list}};
}

QString DifferenceSummary(qsizetype count)
{
    if (count == 0)
        return Texts("没有不同之处。", "No differences.");
    return count == 1 ? Texts("1 处不同。", "1 difference.")
                      : Texts("%1 处不同。", "%1 differences.").arg(count);
}
