// One name per serial port. Windows names a port COM5, com5, \\.\COM5 or
// \\.\com5 alike; Linux reaches one device through links such as
// /dev/serial/by-id/usb-…. Wherever two port names are compared (claims
// between windows, batch rows, fleet duplicates, the command-line tool)
// they are compared by their key.
//
// PortKey is a pure rule over the text, with the platform as a parameter,
// so the Windows rules are tested on Linux too. ResolvePortLink is the thin
// step that asks the file system; PortIdentity puts the two together for
// the system the program runs on.
#pragma once

#include <QString>

enum class PortPlatform { Windows, Unix };

// The platform the program runs on.
PortPlatform HostPortPlatform();

// The key two names of one port share; empty for a name that cannot name a
// port at all (nothing typed, "COM5:", a Windows name with a path in it).
// Windows: without the \\.\ prefix, upper case (device names there ignore
// case). Unix: a bare name is taken below /dev (as the serial library
// does), a path with its redundant "." and "/" removed.
QString PortKey(const QString &name, PortPlatform platform);

// Whether the name can name a port at all on the platform.
bool IsValidPortName(const QString &name, PortPlatform platform);

// The path a Windows name is opened by: \\.\COM12 (COM10 and above are
// reachable only so, and it serves COM1..COM9 as well); empty when invalid.
QString WindowsDevicePath(const QString &name);

// Unix: the device a link points to (/dev/serial/by-id/… -> /dev/ttyUSB0),
// or the name itself when it is no link or does not exist. Windows: the
// name itself.
QString ResolvePortLink(const QString &name);

// PortKey of the resolved name on this system.
QString PortIdentity(const QString &name);
// Whether two names name one port on this system (false when either names
// none).
bool SamePort(const QString &a, const QString &b);

// How the program names port option n (1..8) bound to device: "COM1" where
// the device is COM1 (or none is bound), "COM1: COM12" where it differs.
QString PortOptionLabel(int option, const QString &device, PortPlatform platform);
