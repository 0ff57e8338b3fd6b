// The rules of the VFO fields of the optional features window: receive
// frequency, offset and shift direction with the transmit frequency they
// imply, and the tones. The band check is the channel fields' one; what
// differs from a channel is that a refused VFO frequency is cleared rather
// than replaced, and that the offset is typed, not derived from a typed
// transmit frequency.
#pragma once

#include "ChannelRules.h"
#include "RecordCodec.h"
#include "SettingsMessages.h"

#include <QString>
#include <optional>

// Positions of the shift direction list.
namespace ShiftPosition {
constexpr int Off = 0;
constexpr int Plus = 1;
constexpr int Minus = 2;
} // namespace ShiftPosition

struct VfoTransmit {
    bool inBand = true;
    // In band: TX as the shortest decimal text. Otherwise, and for shift Off,
    // the receive text as it stands.
    QString text;
};
// TX = RX, RX + offset or RX - offset for the shift position, from the
// fields' texts (an empty text counts 0). Shift Off only copies the receive
// text; otherwise TX is checked like a channel frequency (low <= TX < high).
VfoTransmit TransmitFor(const QString &receiveText, const QString &offsetText, int shift,
                        FrequencyBand band);

// Receive field: at most 9 characters.
constexpr int ReceiveMaxLength = 9;
// A text that long is refused while it is typed.
bool ReceiveTooLong(const QString &text);
// On leave: a text of at most 9 characters inside the band (empty = 0 MHz).
bool ReceiveAccepted(const QString &text, FrequencyBand band);
// The text's frequency code into the VFO's receive cells, and the VFO back
// to simplex.
void StoreVfoReceive(ImageTable &image, const QString &text);

// Offset field: at most 8 characters, below 70 MHz.
constexpr int OffsetMaxLength = 8;
// An offset of 70 MHz or more is cleared as soon as it is typed.
bool OffsetClearedWhileTyping(const QString &text);
enum class OffsetLeave {
    Store, // taken
    Clear, // too long: message, field cleared, focus back
    KeepTyping, // above 69.9875 MHz: message, focus back, text stays
};
OffsetLeave LeaveOffset(const QString &text);
// The text's frequency code into the VFO's offset cells. An empty text
// erases them while typing and stores 0 MHz when the field is left.
enum class EmptyOffset { Erase, Zero };
void StoreVfoOffset(ImageTable &image, const QString &text, EmptyOffset empty);

// What a tone list shows for the stored tone: its position (indices beyond
// their type's last clamped) and whether INV is ticked. Nothing for an
// unknown type: list and indicator stay as they are.
struct ShownTone {
    int position;
    bool inverted;
};
std::optional<ShownTone> ShownVfoTone(const ImageTable &image, const ToneField &tone);
// A chosen list position stored as (type, index); true when it is an
// inverted DCS code (INV ticked).
bool StoreVfoTone(ImageTable &image, const ToneField &tone, int position);
