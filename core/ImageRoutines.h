// Routines that build the default image and keep its derived regions
// (power-on channel, channel bitmap, identification block) up to date, and
// the band checks that run before every write. Each works on the image it
// is given and leaves every global alone, but for InitModelTable.
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
// The start-up default image (rows 0..255, columns 0..15).
void ResetImage(ImageTable &image);
// The power-on channel: the first programmed one, 0 when there is none.
void SetPowerOnChannel(ImageTable &image);
// The identification block and the bitmap of programmed channels.
void BuildChannelMap(ImageTable &image);
// 1 when the VFO's receive or transmit frequency lies outside the band-limit
// record's whole-MHz band, else 0.
int CheckVfoBand(const ImageTable &image);
// The first channel whose RX cells are not all erased and whose receive or
// transmit frequency lies outside that band; 0 when there is none.
int FindChannelOutOfBand(const ImageTable &image);
// What the first failing band check says: CheckVfoBand first, then
// FindChannelOutOfBand naming the channel; nothing when both pass. The write
// refuses with it and the optional features window warns with it.
std::optional<BilingualText> BandCheckMessage(const ImageTable &image);

// Status-bar band text: " 400-- 470 MHZ".
QString BandText(double low, double high);
