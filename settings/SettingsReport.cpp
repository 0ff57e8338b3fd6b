#include "SettingsReport.h"

#include "ChannelTexts.h"
#include "Globals.h"
#include "Language.h"
#include "OptionTable.h"
#include "RecordCodec.h"

namespace {

QString OnOff(bool on) { return on ? Texts("开", "On") : Texts("关", "Off"); }

// What the window would show for an entry, from the image.
QString Value(const OptionEntry &entry, const ImageTable &image)
{
    const CellField &field = entry.field;
    switch (entry.kind) {
    case OptionKind::List:
        return entry.itemTexts().at(entry.shownIndex(field.get(image))).trimmed();
    case OptionKind::Check:
        return OnOff(field.get(image) != 0);
    case OptionKind::Frequency:
        return FrequencyField{field.column}.text(image, field.row);
    case OptionKind::Transmit:
        return TransmitText(VfoRow);
    case OptionKind::Tone: {
        // An unknown tone type leaves the list as it was: nothing to show.
        const int position = ToneField{field.column}.position(image, field.row);
        return position < 0 ? QString() : entry.itemTexts().at(position);
    }
    case OptionKind::Password:
        return Options::Password(image);
    case OptionKind::Message:
        return Options::Message(image);
    case OptionKind::Range: {
        const BandLimits range = DecodeBandLimits(image);
        return Texts("从 %1 到 %2 MHZ", "From %1 to %2 MHZ").arg(range.low).arg(range.high);
    }
    case OptionKind::Number:
        return QString::number(field.get(image));
    }
    return QString();
}

QList<ReportItem> Items(const QList<OptionEntry> &table)
{
    QList<ReportItem> items;
    for (const OptionEntry &entry : table)
        if (!entry.hidden)
            items << ReportItem{entry.key, entry.caption.text().trimmed(), Value(entry, RadioData)};
    return items;
}

} // namespace

QString VfoTitle() { return Texts("频率模式", "Frequncy Mode"); }

QString OptionsTitle() { return Texts("可选参数", "Optional Features"); }

QList<ReportItem> VfoItems() { return Items(VfoOptionTable()); }

QList<ReportItem> OptionItems() { return Items(OptionTable()); }
