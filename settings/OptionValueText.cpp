#include "OptionValueText.h"

#include "ChannelTexts.h"
#include "Language.h"
#include "RecordCodec.h"

QString OptionValueText(const OptionEntry &entry, const ImageTable &image)
{
    const CellField &field = entry.field;
    switch (entry.kind) {
    case OptionKind::List:
        return entry.itemTexts().at(entry.shownIndex(field.get(image))).trimmed();
    case OptionKind::Check:
        return field.get(image) != 0 ? Texts("开", "On") : Texts("关", "Off");
    case OptionKind::Frequency:
        return FrequencyField{field.column}.text(image, field.row);
    case OptionKind::Transmit:
        return TransmitText(image, VfoRow);
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
