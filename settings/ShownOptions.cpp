#include "ShownOptions.h"

#include "VfoRules.h"

int ShownListIndex(const OptionEntry &entry, const ImageTable &image)
{
    return entry.shownIndex(entry.field.get(image));
}

void StoreShownValues(ImageTable &image)
{
    for (const QList<OptionEntry> *table : {&VfoOptionTable(), &OptionTable()})
        for (const OptionEntry &entry : *table)
            if (entry.kind == OptionKind::List && !entry.field.reversed)
                entry.field.set(image, ShownListIndex(entry, image));
    for (const ToneField &tone : {Record::Decode, Record::Encode}) {
        const std::optional<ShownTone> shown = ShownVfoTone(image, tone);
        // An off tone stays as stored (either cell may hold the 255).
        if (shown && shown->position > 0)
            StoreVfoTone(image, tone, shown->position);
    }
}

void ClearVoxReceiveStop(ImageTable &image) { Options::VoxReceiveStop.set(image, 0); }

void ClearReservedOptionBit(ImageTable &image) { Options::Reserved10Bit0.set(image, 0); }

ShownVfo ShowVfoWithoutStoring(const ImageTable &image, FrequencyBand band)
{
    ShownVfo shown;
    shown.offsetText = Record::Offset.text(image, VfoRow);
    if (OffsetClearedWhileTyping(shown.offsetText)) {
        shown.offsetText.clear();
        shown.warnings << SettingsMessages::OffsetOutOfRange;
    }
    const int shift = ShownListIndex(*FindOption(QStringLiteral("duplex")), image);
    const VfoTransmit tx =
        TransmitFor(Record::Rx.text(image, VfoRow), shown.offsetText, shift, band);
    shown.transmitText = tx.text;
    if (!tx.inBand)
        shown.warnings << SettingsMessages::TransmitOutOfRange;
    return shown;
}
