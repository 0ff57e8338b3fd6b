// Named fields of the image: the channel and VFO records, the option rows
// 208/209, the band-limit record, the FM presets, the channel names and
// the power calibration.
// The layout of these cells is written down here and nowhere else; every
// reader and writer goes through these fields.
//
// A field reads from and writes to the image it is given, so code can work
// on an image that is not the program's own (a file being checked, the
// simulator's memory, the image before a change). Callers that work on the
// program's image pass RadioData.
#pragma once

#include "Conversions.h"
#include "Globals.h"

#include <QString>

// Bits shift .. shift + width - 1 of one cell. A reversed one-bit field
// reads 1 when its bit is clear: a box that a 0 ticks.
struct CellField {
    int row = 0;
    int column = 0;
    int shift = 0;
    int width = 8;
    bool reversed = false;

    constexpr int mask() const { return ((1 << width) - 1) << shift; }
    // Largest value the bits hold.
    constexpr int last() const { return (1 << width) - 1; }
    int get(const ImageTable &image) const;
    // Changes only the field's own bits; value bits beyond the width are
    // dropped.
    void set(ImageTable &image, int value) const;
};

// The same for a column of a record, whichever row holds the record.
struct RecordField {
    int column = 0;
    int shift = 0;
    int width = 8;
    bool reversed = false;

    constexpr CellField at(int row) const { return {row, column, shift, width, reversed}; }
    int get(const ImageTable &image, int row) const { return at(row).get(image); }
    void set(ImageTable &image, int row, int value) const { at(row).set(image, value); }
};

// Four packed-BCD cells of a record holding a frequency, least significant
// byte first.
struct FrequencyField {
    int column = 0;

    BcdBytes code(const ImageTable &image, int row) const;
    void setCode(ImageTable &image, int row, const BcdBytes &code) const;
    // BcdToText of the four cells: "446.00625".
    QString text(const ImageTable &image, int row) const;
    double mhz(const ImageTable &image, int row) const;
    // StoreFrequency into the four cells; returns the normalised text.
    QString store(ImageTable &image, int row, const QString &text) const;
    // Every cell set to one byte (0: no offset, 255: erased).
    void fill(ImageTable &image, int row, int value) const;
    bool allErased(const ImageTable &image, int row) const;
    bool anyErased(const ImageTable &image, int row) const;
};

// A tone stored as (type, index) in two neighbouring cells; 255 in either
// means no tone.
struct ToneField {
    int typeColumn = 0; // the index is in the next column

    ToneCode get(const ImageTable &image, int row) const;
    void set(ImageTable &image, int row, ToneCode tone) const;
    bool isOff(const ImageTable &image, int row) const;
    // Selector position 0..264 (ToneList entry), indices above the last of
    // their type clamped; -1 for an unknown type.
    int position(const ImageTable &image, int row) const;
    void setPosition(ImageTable &image, int row, int position) const;
};

// Channel records (rows 1..128) and the VFO record (row 0).
namespace Record {
inline constexpr FrequencyField Rx{0};
inline constexpr FrequencyField Offset{4}; // offset between RX and TX, not TX
inline constexpr ToneField Decode{8};
inline constexpr ToneField Encode{10};
// Stored shift bits 0..3; ShiftDirection reads them as the radio does.
inline constexpr RecordField Shift{12, 6, 2};
inline constexpr RecordField ScanAdd{12, 2, 1, true}; // 1 = scanned (bit clear)
inline constexpr RecordField Power{12, 0, 2}; // 0 low, 1 mid, 2 high
inline constexpr RecordField BusyLock{13, 7, 1};
inline constexpr RecordField Vox{13, 6, 1};
inline constexpr RecordField Wide{13, 5, 1}; // 1 wide, 0 narrow
inline constexpr RecordField TxStop{13, 4, 1};
inline constexpr RecordField Step{13, 0, 3}; // VFO record only: step list index

// Shown as empty: the first RX cell is erased.
bool IsEmpty(const ImageTable &image, int row);
// Programmed for the write preparation: none of the RX cells is erased.
bool IsProgrammed(const ImageTable &image, int row);
// 0 simplex, 1 TX = RX + offset, 2 TX = RX - offset; a stored 3 is simplex.
int ShiftDirection(const ImageTable &image, int row);
double RxMHz(const ImageTable &image, int row);
double TxMHz(const ImageTable &image, int row);
// Every cell of the record erased.
void Erase(ImageTable &image, int row);
} // namespace Record

// Optional-feature rows 208 and 209. List fields hold the list index.
namespace Options {
inline constexpr CellField Squelch{OptionRow, 0};
inline constexpr CellField ChannelDisplay{OptionRow, 1, 7, 1}; // 0 frequency, 1 name
inline constexpr CellField BatterySave{OptionRow, 1, 6, 1};
inline constexpr CellField FmReceive{OptionRow, 1, 5, 1}; // receive while the FM radio plays
inline constexpr CellField VoxReceiveStop{OptionRow, 1, 4, 1};
inline constexpr CellField Roger{OptionRow, 1, 3, 1};
inline constexpr CellField ManualSetup{OptionRow, 1, 2, 1, true}; // the menu box: ticked by a 0
inline constexpr CellField ScanMode{OptionRow, 1, 0, 2}; // 0 time, 1 carrier, 2 search
inline constexpr CellField Beep{OptionRow, 2, 7, 1};
inline constexpr CellField ChannelMode{OptionRow, 2, 6, 1}; // 1 channel, 0 frequency mode
inline constexpr CellField PowerOnDisplay{OptionRow, 2, 4, 2}; // 0 off, 1 voltage, 2 message
inline constexpr CellField PowerOnPassword{OptionRow, 2, 3, 1};
inline constexpr CellField BackLight{OptionRow, 2, 0, 2}; // 0 off, 1 key, 2 continuous
inline constexpr CellField TimeOutTimer{OptionRow, 3}; // 0 off, else minutes
inline constexpr CellField AutoPowerOff{OptionRow, 4}; // 0 off, else hours
inline constexpr CellField VoxLevel{OptionRow, 5}; // level 1 + value
inline constexpr CellField VoxDelay{OptionRow, 6}; // 1 + value seconds
inline constexpr CellField KeyLockMode{OptionRow, 7, 0, 7};
inline constexpr CellField SubBandReceive{OptionRow, 7, 7, 1}; // the model window's box
inline constexpr CellField ChannelOnly{OptionRow, 10, 3, 1};
// Meaning unknown; the optional features window clears it.
inline constexpr CellField Reserved10Bit0{OptionRow, 10, 0, 1};
inline constexpr CellField PowerOnChannel{OptionRow, 12}; // first programmed channel

constexpr int PasswordLength = 4; // (209,0..3)
constexpr int MessageColumn = 4; // (209,4..8)
constexpr int MessageLength = 5;
// The password digits: a cell 0..9 gives its digit, any other value none.
QString Password(const ImageTable &image);
// Erases the password, then stores the codes of the first four characters
// of the trimmed text.
void SetPassword(ImageTable &image, const QString &text);
// The power-on message in the name alphabet; 255 gives no character.
QString Message(const ImageTable &image);
// Erases the message, then stores the first five characters' codes.
void SetMessage(ImageTable &image, const QString &text);
} // namespace Options

// The radio's working range in whole MHz (row 153).
struct BandLimits {
    int low;
    int high;
};
BandLimits DecodeBandLimits(const ImageTable &image);
void EncodeBandLimits(ImageTable &image, int low, int high);

// FM broadcast presets 0..24: code n is 87.0 + 0.1 * n MHz, above 210 none.
namespace FmPresets {
constexpr int LastCode = 210;
constexpr CellField Preset(int n) { return {FmRowFirst + n / BlockSize, n % BlockSize}; }
inline bool IsEmpty(int code) { return code > LastCode; }
} // namespace FmPresets

// Character k (0..4) of channel n's name in the name area.
constexpr CellField NameCell(int channel, int k)
{
    const int at = (channel - 1) * NameLength + k;
    return {NameRowFirst + at / BlockSize, at % BlockSize};
}

// Transmit-power calibration (row 240): the low, mid and high power values
// and the level the power window moved last.
namespace Calibration {
constexpr int LevelCount = 3;
constexpr CellField Level(int level) { return {CalibrationRow, level}; } // 0 low, 1 mid, 2 high
inline constexpr CellField LastAdjusted{CalibrationRow, 3};
} // namespace Calibration
