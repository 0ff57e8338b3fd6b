#include "ChannelRules.h"

#include "ChannelTexts.h"
#include "Conversions.h"
#include "RecordCodec.h"

#include <memory>

const ChannelEditProfile GridEditProfile{
    .newFlagsA = 2,
    .newFlagsB = 0x20,
    .nameGoesWithChannel = false,
    .transmitOutOfBand = ChannelMessages::TransmitOutOfBand,
};

const ChannelEditProfile EditWindowProfile{
    .newFlagsA = 6,
    .newFlagsB = 0,
    .nameGoesWithChannel = true,
    .transmitOutOfBand = ChannelMessages::TransmitOutOfBandCapital,
};

namespace {

constexpr int FlagsA = 12;
constexpr int FlagsB = 13;

void EraseName(ImageTable &image, int channel)
{
    for (int k = 0; k < NameLength; ++k)
        NameCell(channel, k).set(image, ErasedByte);
}

void MakeSimplex(ImageTable &image, int channel)
{
    Record::Offset.fill(image, channel, 0);
    Record::Shift.set(image, channel, 0);
}

// Cells 4..7 hold a transmit frequency just stored there; it becomes the
// offset from the receive frequency and the shift direction.
void ApplyOffsetRule(ImageTable &image, int channel)
{
    const double rx = Record::Rx.mhz(image, channel);
    const double tx = Record::Offset.mhz(image, channel);
    if (tx == rx) {
        MakeSimplex(image, channel);
        return;
    }
    Record::Shift.set(image, channel, tx > rx ? 1 : 2);
    Record::Offset.store(image, channel, NumberText(tx > rx ? tx - rx : rx - tx));
}

// The typed frequency inside the band, or the band's lower limit with the
// message for it.
QString BandCheckedText(const QString &typed, FrequencyBand band, const BilingualText &outOfBand,
                        std::optional<BilingualText> &message)
{
    if (InsideBand(typed, band))
        return FormatFrequencyText(typed);
    message = outOfBand;
    return BandLowText(band);
}

std::optional<BilingualText> StoreReceive(ImageTable &image, int channel, const QString &typed,
                                          const ChannelEditProfile &profile, FrequencyBand band)
{
    // Blanks carry nothing; left in, they would be padded into the number.
    const QString t = typed.trimmed();
    if (t.isEmpty()) {
        if (profile.nameGoesWithChannel)
            EraseChannelAndName(image, channel);
        else
            EraseChannelCells(image, channel);
        return std::nullopt;
    }
    std::optional<BilingualText> message;
    const QString text = BandCheckedText(t, band, ChannelMessages::ReceiveOutOfBand, message);
    if (IsChannelEmpty(image, channel)) {
        Record::Rx.store(image, channel, text);
        InitNewChannelCells(image, channel, profile);
        return message;
    }
    // The transmit frequency shown before the change is kept, so offset and
    // shift follow the new receive frequency.
    const QString transmit = TransmitText(image, channel);
    Record::Rx.store(image, channel, text);
    Record::Offset.store(image, channel, transmit);
    ApplyOffsetRule(image, channel);
    return message;
}

std::optional<BilingualText> StoreTransmit(ImageTable &image, int channel, const QString &typed,
                                           const ChannelEditProfile &profile, FrequencyBand band)
{
    const QString t = typed.trimmed();
    if (IsChannelEmpty(image, channel)) {
        if (t.isEmpty())
            return std::nullopt;
        return ChannelMessages::ReceiveFirst;
    }
    if (t.isEmpty()) {
        MakeSimplex(image, channel);
        return std::nullopt;
    }
    std::optional<BilingualText> message;
    const QString text = BandCheckedText(t, band, profile.transmitOutOfBand, message);
    Record::Offset.store(image, channel, text);
    ApplyOffsetRule(image, channel);
    return message;
}

// Up to five characters of the trimmed text as name codes; letters of
// either case give the same code, others the code of a blank.
void StoreName(ImageTable &image, int channel, const QString &typed)
{
    const QString name = typed.trimmed();
    EraseName(image, channel);
    for (int k = 0; k < std::min<int>(name.size(), NameLength); ++k) {
        NameCell(channel, k).set(image, CharToCode(QString(name.at(k))));
    }
}

// The one-bit and list fields of the record behind a choice; tones are
// handled apart.
const RecordField *ChoiceField(ChannelField field)
{
    switch (field) {
    case ChannelField::Power:
        return &Record::Power;
    case ChannelField::Bandwidth:
        return &Record::Wide;
    case ChannelField::Vox:
        return &Record::Vox;
    case ChannelField::BusyLockout:
        return &Record::BusyLock;
    case ChannelField::ScanAdd: // reversed: the stored bit says "not scanned"
        return &Record::ScanAdd;
    case ChannelField::TransmitStop:
        return &Record::TxStop;
    default:
        return nullptr;
    }
}

const ToneField *ToneOf(ChannelField field)
{
    if (field == ChannelField::Decode)
        return &Record::Decode;
    if (field == ChannelField::Encode)
        return &Record::Encode;
    return nullptr;
}

int ChoiceCount(ChannelField field)
{
    switch (field) {
    case ChannelField::Decode:
    case ChannelField::Encode:
        return ToneDcsInvertLast + 1;
    case ChannelField::Power:
        return 3;
    case ChannelField::Receive:
    case ChannelField::Transmit:
    case ChannelField::Name:
        return 0;
    default:
        return 2;
    }
}

ChannelEditResult Outcome(const ImageTable &before, const ImageTable &after, int channel,
                          ChannelField field, std::optional<BilingualText> message)
{
    ChannelEditResult result;
    for (int c = 0; c < BlockSize; ++c)
        if (after[channel][c] != before[channel][c])
            result.cells.push_back({channel, c, after[channel][c]});
    for (int k = 0; k < NameLength; ++k) {
        const CellField cell = NameCell(channel, k);
        if (cell.get(after) != cell.get(before))
            result.cells.push_back({cell.row, cell.column, after[cell.row][cell.column]});
    }
    result.message = message;
    result.shownText = ChannelFieldText(after, channel, field);
    return result;
}

} // namespace

void ChannelEditResult::applyTo(ImageTable &image) const
{
    for (const CellValue &cell : cells)
        image[cell.row][cell.column] = cell.value;
}

FrequencyBand CurrentBand() { return {BandLowMHz, BandHighMHz}; }

ChannelEditResult EditChannelText(const ImageTable &image, int channel, ChannelField field,
                                  const QString &typed, const ChannelEditProfile &profile,
                                  FrequencyBand band)
{
    // A working copy, so that the rules read back what they stored.
    auto after = std::make_unique<ImageTable>(image);
    std::optional<BilingualText> message;
    if (typed != ChannelFieldText(image, channel, field)) {
        if (field == ChannelField::Receive)
            message = StoreReceive(*after, channel, typed, profile, band);
        else if (field == ChannelField::Transmit)
            message = StoreTransmit(*after, channel, typed, profile, band);
        else if (field == ChannelField::Name)
            StoreName(*after, channel, typed);
    }
    return Outcome(image, *after, channel, field, message);
}

ChannelEditResult ChooseChannelItem(const ImageTable &image, int channel, ChannelField field,
                                    int position)
{
    auto after = std::make_unique<ImageTable>(image);
    const bool valid = position >= 0 && position < ChoiceCount(field);
    if (valid && !IsChannelEmpty(image, channel)) {
        if (const ToneField *tone = ToneOf(field))
            tone->setPosition(*after, channel, position);
        else if (const RecordField *choice = ChoiceField(field))
            choice->set(*after, channel, position);
    }
    return Outcome(image, *after, channel, field, std::nullopt);
}

QString ChannelFieldText(const ImageTable &image, int channel, ChannelField field)
{
    const ChannelRowTexts texts = ChannelTextsOf(image, channel);
    switch (field) {
    case ChannelField::Receive:
        return texts.receive;
    case ChannelField::Transmit:
        return texts.transmit;
    case ChannelField::Name:
        return texts.name;
    case ChannelField::Decode:
        return texts.decode.value_or(QString());
    case ChannelField::Encode:
        return texts.encode.value_or(QString());
    case ChannelField::Power:
        return texts.power.value_or(QString());
    case ChannelField::Bandwidth:
        return texts.bandwidth;
    default:
        return QString();
    }
}

std::optional<int> ChannelChoice(const ImageTable &image, int channel, ChannelField field)
{
    if (IsChannelEmpty(image, channel))
        return std::nullopt;
    if (const ToneField *tone = ToneOf(field)) {
        const int position = tone->position(image, channel);
        return position < 0 ? std::nullopt : std::optional<int>(position);
    }
    const RecordField *choice = ChoiceField(field);
    if (!choice)
        return std::nullopt;
    const int value = choice->get(image, channel);
    // Power bits 3 name no list entry.
    if (field == ChannelField::Power && value > 2)
        return std::nullopt;
    return value;
}

bool IsChannelEmpty(const ImageTable &image, int channel)
{
    return image[channel][0] == ErasedByte;
}

bool InsideBand(const QString &text, FrequencyBand band)
{
    return InsideBand(NumericValue(text), band);
}

bool InsideBand(double mhz, FrequencyBand band) { return band.lowMHz <= mhz && mhz < band.highMHz; }

QString FormatFrequencyText(const QString &text)
{
    // Built from the number itself: blanks, a sign or a leading zero in the
    // typed text would otherwise be padded into a wrong frequency.
    const double f = NumericValue(text);
    QString formatted = NumberText(f);
    if (!formatted.contains(u'.'))
        formatted += u'.';
    return formatted.leftJustified(f < 100 ? 8 : 9, u'0');
}

QString PadFrequencyText(const QString &text)
{
    if (text.size() == 3)
        return (text + QStringLiteral(".0")).leftJustified(9, u'0');
    if (text.size() == 2)
        return (text + QStringLiteral(".0")).leftJustified(8, u'0');
    return text;
}

QString BandLowText(FrequencyBand band) { return PadFrequencyText(NumberText(band.lowMHz)); }

void EraseChannelCells(ImageTable &image, int channel)
{
    for (int c = 0; c < BlockSize; ++c)
        image[channel][c] = ErasedByte;
}

void EraseAllChannels(ImageTable &image)
{
    for (int r = NameRowFirst; r <= NameRowLast; ++r)
        for (int c = 0; c < BlockSize; ++c)
            image[r][c] = ErasedByte;
    for (int n = 1; n <= ChannelCount; ++n)
        EraseChannelCells(image, n);
}

void SetChannelDefaults(ImageTable &image, int channel, const ChannelEditProfile &profile)
{
    auto &r = image[channel];
    Record::Decode.setPosition(image, channel, 0);
    Record::Encode.setPosition(image, channel, 0);
    r[FlagsA] = int16_t(profile.newFlagsA);
    r[FlagsB] = int16_t(profile.newFlagsB);
    r[14] = r[15] = ErasedByte;
}

void InitNewChannelCells(ImageTable &image, int channel, const ChannelEditProfile &profile)
{
    Record::Offset.fill(image, channel, 0);
    SetChannelDefaults(image, channel, profile);
    if (profile.nameGoesWithChannel)
        EraseName(image, channel);
}

void EraseChannelAndName(ImageTable &image, int channel)
{
    EraseChannelCells(image, channel);
    EraseName(image, channel);
}

bool TransmitInsideBand(const ImageTable &image, int channel, FrequencyBand band)
{
    const double tx = Record::TxMHz(image, channel);
    return band.lowMHz <= tx && tx < band.highMHz;
}

ChannelEditResult KeepTransmitInBand(const ImageTable &image, int channel, FrequencyBand band)
{
    auto after = std::make_unique<ImageTable>(image);
    if (!IsChannelEmpty(image, channel) && !TransmitInsideBand(image, channel, band))
        Record::Shift.set(*after, channel, 0); // the offset cells stay
    return Outcome(image, *after, channel, ChannelField::Transmit, std::nullopt);
}

namespace {

std::unique_ptr<ImageTable> ShownImage(const ImageTable &image, int channel, FrequencyBand band)
{
    auto shown = std::make_unique<ImageTable>(image);
    KeepTransmitInBand(image, channel, band).applyTo(*shown);
    return shown;
}

} // namespace

QString ShownTransmitText(const ImageTable &image, int channel, FrequencyBand band)
{
    return ChannelFieldText(*ShownImage(image, channel, band), channel, ChannelField::Transmit);
}

ChannelEditResult EditShownChannelText(const ImageTable &image, int channel, ChannelField field,
                                       const QString &typed, const ChannelEditProfile &profile,
                                       FrequencyBand band)
{
    const auto shown = ShownImage(image, channel, band);
    const ChannelEditResult edit = EditChannelText(*shown, channel, field, typed, profile, band);
    // Nothing changed against what the field showed: the display's own
    // simplex is not stored either.
    if (edit.cells.empty())
        *shown = image;
    else
        edit.applyTo(*shown);
    ChannelEditResult result = Outcome(image, *shown, channel, field, edit.message);
    result.shownText = edit.shownText;
    return result;
}
