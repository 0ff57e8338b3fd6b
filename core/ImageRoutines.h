// Routines that build the default image and keep its derived regions
// (power-on channel, channel bitmap, identification block) up to date, and
// the band checks that run before every write.
#pragma once

#include <QString>

void InitModelTable();
void ResetImage();
void SetPowerOnChannel();
void BuildChannelMap();
int CheckVfoBand();
int FindChannelOutOfBand();

// Whole-MHz limits stored in the band-limit record (row 153).
struct BandLimits {
    int low;
    int high;
};
BandLimits DecodeBandLimits();
// Writes whole-MHz limits into the band-limit record.
void EncodeBandLimits(int low, int high);

// A channel counts as programmed when none of its RX cells is erased.
bool IsProgrammed(int channel);
// RX and TX in MHz of a channel or VFO record; a shift direction of 3
// counts as simplex.
double RecordRx(int row);
double RecordTx(int row);
int ShiftDirection(int row);

// Status-bar band text: " 400-- 470 MHZ".
QString BandText(double low, double high);

// The 640 name bytes of rows 160..199 as one sequence, via NameCodes.
void CopyNameAreaToCodes();
void CopyCodesToNameArea();
