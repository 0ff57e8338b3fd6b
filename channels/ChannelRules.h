// The channel field rules: what a typed text or a choice for one field of a
// channel stores, which message answers it and what the field shows
// afterwards. They work on a given image and show nothing themselves, so
// the grid, the channel edit window, imports and the command-line tool all
// store alike.
#pragma once

#include "ChannelMessages.h"
#include "Globals.h"

#include <QString>
#include <optional>
#include <vector>

enum class ChannelField {
    // Typed texts.
    Receive,
    Transmit,
    Name,
    // List positions: tones 0..264 (ToneList order), power 0 Low..2 High,
    // bandwidth 0 Narrow, 1 Wide.
    Decode,
    Encode,
    Power,
    Bandwidth,
    // Switches: 0 off, 1 on.
    Vox,
    BusyLockout,
    ScanAdd,
    TransmitStop,
};

// Where the editors of a channel differ.
struct ChannelEditProfile {
    // Cells 12 and 13 of a channel created by typing its receive frequency.
    int newFlagsA;
    int newFlagsB;
    // Whether creating or deleting a channel erases its name; otherwise an
    // old name comes back with the channel.
    bool nameGoesWithChannel;
    BilingualText transmitOutOfBand;
};
// The grid: a new channel is scanned, High and wide and keeps its old name.
extern const ChannelEditProfile GridEditProfile;
// The channel edit window: a new channel is not scanned, High, narrow and
// has no name.
extern const ChannelEditProfile EditWindowProfile;

// Frequency limits in MHz: low <= f < high.
struct FrequencyBand {
    double lowMHz;
    double highMHz;
};
// BandLowMHz..BandHighMHz, the limits every editor checks against.
FrequencyBand CurrentBand();

struct CellValue {
    int row;
    int column;
    int16_t value;
    bool operator==(const CellValue &) const = default;
};

struct ChannelEditResult {
    // The cells whose value changes, the channel's row first, then its name
    // codes. Empty when nothing is stored.
    std::vector<CellValue> cells;
    std::optional<BilingualText> message;
    // What the field shows afterwards, drawn from the changed image.
    QString shownText;

    void applyTo(ImageTable &image) const;
};

// A text typed into the receive, transmit or name field of a channel. A
// text equal to what the field shows stores nothing: leaving a field
// untouched must not trim a name or move a stored frequency into the band.
ChannelEditResult EditChannelText(const ImageTable &image, int channel, ChannelField field,
                                  const QString &typed, const ChannelEditProfile &profile,
                                  FrequencyBand band);
// A list position or switch state chosen for a programmed channel. An empty
// channel or a position outside the field's list stores nothing.
ChannelEditResult ChooseChannelItem(const ImageTable &image, int channel, ChannelField field,
                                    int position);

// What a field shows for the stored channel: the texts of the grid's cells,
// "" for an empty channel, for switches and where a list has no entry.
QString ChannelFieldText(const ImageTable &image, int channel, ChannelField field);
// The list position or switch state a field shows; nothing for an empty
// channel, an unknown tone type or power bits 3.
std::optional<int> ChannelChoice(const ImageTable &image, int channel, ChannelField field);

// An empty channel has its cell 0 erased.
bool IsChannelEmpty(const ImageTable &image, int channel);
// f = the text's leading number (0 if none).
bool InsideBand(const QString &text, FrequencyBand band);
bool InsideBand(double mhz, FrequencyBand band);
// The text an in-band frequency is stored as: 446 -> 446.00000, 446.1 ->
// 446.10000, 88.5 -> 88.50000; longer texts stay as they are.
QString FormatFrequencyText(const QString &text);
// 400 -> 400.00000, 88 -> 88.00000; other lengths stay as they are.
QString PadFrequencyText(const QString &text);
// What an out-of-band frequency is replaced by: the band's lower limit.
QString BandLowText(FrequencyBand band);

// Cells 0..15 of the channel set to 255 (the name stays).
void EraseChannelCells(ImageTable &image, int channel);
// Every channel and every name erased; other rows stay.
void EraseAllChannels(ImageTable &image);
// Cells 8..15 of a channel just created: no tones, then the profile's flags.
void SetChannelDefaults(ImageTable &image, int channel, const ChannelEditProfile &profile);
// A channel created by its receive frequency: no offset, the defaults, and
// no name where the profile says the name goes with the channel.
void InitNewChannelCells(ImageTable &image, int channel, const ChannelEditProfile &profile);
// Cells 0..15 and the five name codes erased.
void EraseChannelAndName(ImageTable &image, int channel);

// low <= TX < high for the transmit frequency the channel shows.
bool TransmitInsideBand(const ImageTable &image, int channel, FrequencyBand band);
// The channel as the edit window shows it: one whose transmit frequency
// lies outside the band as simplex, i.e. its shift bits cleared and the
// offset cells kept. The window only shows this; it never stores it.
ChannelEditResult KeepTransmitInBand(const ImageTable &image, int channel, FrequencyBand band);
// The transmit frequency text of the channel as the edit window shows it.
QString ShownTransmitText(const ImageTable &image, int channel, FrequencyBand band);
// A text typed into a field of the edit window, which edits the channel as
// it shows it. A text left as shown stores nothing, so a shift the window
// shows as simplex stays stored until the user changes a frequency; a
// changed text stores the rule's result for the channel as shown.
ChannelEditResult EditShownChannelText(const ImageTable &image, int channel, ChannelField field,
                                       const QString &typed, const ChannelEditProfile &profile,
                                       FrequencyBand band);
