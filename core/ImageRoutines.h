// Routines that build the default image and keep its derived regions
// (power-on channel, channel bitmap, identification block) up to date, and
// the band checks that run before every write. Each has a form that works
// on a given image and leaves every global alone; the form without an
// image works on RadioData.
#pragma once

#include "Globals.h"
#include "Language.h"
#include "RecordCodec.h"

#include <QString>
#include <optional>

// The editors' band: the limits of model ModelIndex in BandTable.
void InitModelTable();
// What confirming model `position` (0..6) of the model table stores: its
// band limits in the band-limit record and the VFO's receive frequency at
// the band's lower limit plus 0.625 MHz. No global changes.
void StoreModelChoice(ImageTable &image, int position);
// The model table position of a model named so (case, blanks and hyphens
// aside: "ql540-vhf"), or of the model with exactly these limits in MHz.
std::optional<int> ModelByName(const QString &name);
std::optional<int> ModelByBand(int low, int high);
// The start-up default image. The form on RadioData also sets
// BandLowMHz/BandHighMHz from its band-limit record.
void ResetImage(ImageTable &image);
void ResetImage();
void SetPowerOnChannel(ImageTable &image);
void SetPowerOnChannel();
void BuildChannelMap(ImageTable &image);
void BuildChannelMap();
int CheckVfoBand(const ImageTable &image);
int CheckVfoBand();
int FindChannelOutOfBand(const ImageTable &image);
int FindChannelOutOfBand();
// What the first failing band check says: CheckVfoBand first, then
// FindChannelOutOfBand naming the channel; nothing when both pass. The write
// refuses with it and the optional features window warns with it.
std::optional<BilingualText> BandCheckMessage(const ImageTable &image);

// Whole-MHz limits of RadioData's band-limit record (row 153).
BandLimits DecodeBandLimits();
void EncodeBandLimits(int low, int high);

// A channel of RadioData counts as programmed when none of its RX cells is
// erased.
bool IsProgrammed(int channel);
// RX and TX in MHz of a channel or VFO record of RadioData; a shift
// direction of 3 counts as simplex.
double RecordRx(int row);
double RecordTx(int row);
int ShiftDirection(int row);

// Status-bar band text: " 400-- 470 MHZ".
QString BandText(double low, double high);

// The 640 name bytes of rows 160..199 as one sequence, via NameCodes.
void CopyNameAreaToCodes();
void CopyCodesToNameArea();
