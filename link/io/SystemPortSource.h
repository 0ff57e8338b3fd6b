// The serial ports the system lists now (the serial port library's list),
// and the source the program asks: the system's, unless a test (or a
// check under Wine, which lists none) has put a list of its own in place.
// See PortInventory.h for the data and its rules.
#pragma once

#include "PortInventory.h"

class SystemPortSource : public PortSource {
public:
    QList<PortEntry> ports() const override;
};

// The source every window and command asks. Not owned; nullptr goes back
// to the system's.
PortSource &CurrentPortSource();
void SetCurrentPortSource(PortSource *source);

// The ports present now, in their order (OrderedPorts).
QList<PortEntry> PresentPorts();

// Whether a port of that name exists now: listed, or (Unix) a device file
// at that path, or (Windows) a device the system knows by that name. A
// pseudo-terminal or a port the list misses still counts.
bool PortExists(const QString &name);
