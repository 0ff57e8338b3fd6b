// Translations between what the radio stores (packed BCD, tone codes, name
// codes) and what the user sees. Every editor uses these; none keeps its
// own copy of the rules.
#pragma once

#include "Globals.h"

#include <QString>
#include <cstdint>

// Number text. Locale-independent, "." as decimal point.
// The value of the longest leading decimal part of a typed text, blanks
// skipped; a text without one is 0 ("446.1abc" -> 446.1, "abc" -> 0).
double NumericValue(const QString &text);
// The number rounded to 15 significant digits, plain notation, trailing
// zeros removed (438.5 + 7.6 -> "446.1", 400 -> "400", 0.5 -> "0.5").
QString NumberText(double value);
// NumberText with the sign position a positive number gets: " 400", "-3".
QString SignedNumberText(double value);

// Tone (type, index) of a selector position 0..264.
struct ToneCode {
    int type;
    int index;
};
ToneCode ToneFromPosition(int position);
// Selector position of a stored (type, index), clamping indices above the
// last of their type; an unknown type gives -1 (callers leave the display).
int TonePosition(int type, int index);

// Name alphabet.
int CharToCode(const QString &text);
QString CodeToChar(int code);

// Frequencies. Four packed-BCD bytes of a frequency in 10 Hz units: B3
// holds hundreds and tens of MHz, B0 the 100 Hz and 10 Hz digits.
struct BcdBytes {
    uint8_t B3 = 0, B2 = 0, B1 = 0, B0 = 0;
};
BcdBytes TextToBcd(const QString &text);
QString BcdToText(int b0, int b1, int b2, int b3);
// Normalises the text (trimmed, dot added, padded to 9 characters), stores
// its code into (row, column)..(row, column + 3), least significant byte
// first, and returns the normalised text. The caller's text is left alone.
QString StoreFrequency(ImageTable &image, const QString &text, int row, int column);
// Frequency in MHz of the 4 BCD cells (row, column)..(row, column + 3).
double CellsFrequency(const ImageTable &image, int row, int column);
QString FmChannelText(int n);
