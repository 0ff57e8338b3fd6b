// The channel field rules: what a validated edit writes into a channel's
// RadioData cells. Messages and editors stay with the windows; these only
// touch the image, so every editor of a channel stores alike.
#pragma once

#include <QString>

// An empty channel has its cell 0 erased.
bool IsChannelEmpty(int channel);

// BandLowMHz <= f < BandHighMHz, f = the text's leading number (0 if none).
bool InsideBand(const QString &text);
// The cell text of an in-band frequency: 446 -> 446.00000, 446.1 ->
// 446.10000, 88.5 -> 88.50000; longer texts stay as they are.
QString FormatFrequencyText(const QString &text);
// What an out-of-band frequency is replaced by: the band's lower limit.
QString BandLowText();

// Cells 0..15 of the channel set to 255 (the name stays).
void EraseChannelCells(int channel);
// Cells 8..15 of a channel just created: no tones, High, scanned, simplex,
// wide.
void SetChannelDefaults(int channel);

// Stores a formatted receive frequency. A new channel gets no offset and
// the defaults; an existing one keeps its transmit frequency, so offset and
// shift follow the new receive frequency.
void StoreReceive(int channel, const QString &receiveText);
// Stores a formatted transmit frequency as offset and shift.
void StoreTransmit(int channel, const QString &transmitText);
// Turns the transmit frequency just stored in cells 4..7 into offset and
// shift direction.
void ApplyOffsetRule(int channel);
// Transmit = receive.
void MakeSimplex(int channel);

// Tone selector position 0..264 into the decode (cells 8/9) or encode
// (cells 10/11) pair.
void ApplyToneRule(int channel, bool encode, int position);
// 0 Low, 1 Mid, 2 High.
void ApplyPowerRule(int channel, int position);
// 0 Narrow, 1 Wide.
void ApplyBandwidthRule(int channel, int position);
// Up to five characters of the trimmed text as name codes; an empty text
// erases the name.
void ApplyNameRule(int channel, const QString &text);
