// The steps of showing the optional features that work on the image alone:
// what every list shows for its stored value, the values that are written
// back because they lay beyond their list, and the bits the window clears.
#pragma once

#include "ChannelRules.h"
#include "OptionTable.h"
#include "SettingsMessages.h"

#include <QList>

// The list position an entry shows for the image: the stored index, a value
// beyond the list shown as its last item (the shift direction: as Off).
int ShownListIndex(const OptionEntry &entry, const ImageTable &image);

// Every list value of the options and the VFO record that lies beyond its
// list becomes the index the list shows, and a VFO tone index beyond the
// last of its type the index its list shows: the image then holds what the
// window shows.
void StoreShownValues(ImageTable &image);

// The VOX-inhibit flag (208,1) bit 4 is always off; its box stays hidden.
void ClearVoxReceiveStop(ImageTable &image);
// Bit 0 of (208,10), whose meaning is unknown, is cleared on every showing.
void ClearReservedOptionBit(ImageTable &image);

// What a redraw shows of the VFO's offset and transmit frequency when it
// runs no rule that stores: an offset the field would clear shows empty,
// and a transmit frequency outside the band is reported, not mended. The
// warnings are the ones that showing the image on load raises, in order.
struct ShownVfo {
    QString offsetText;
    QString transmitText;
    QList<PromptMessage> warnings;
};
ShownVfo ShowVfoWithoutStoring(const ImageTable &image, FrequencyBand band);
