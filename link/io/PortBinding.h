// Which serial device each of the port numbers COM1..COM8 stands for. On
// Windows port N is COMN. Elsewhere port N is by default the N-th serial
// port the system lists (USB adapters first); the user may bind any device
// path to a number instead (setup window, --port). Nothing is persisted.
#pragma once

#include <QString>
#include <QStringList>

constexpr int PortChoices = 8;

// Serial devices in the order the numbers take them: USB adapters first.
QStringList ListedSerialDevices();
// The device of port number n (1..8); empty when there is none.
QString DeviceForPort(int n);
// The device the system list gives number n, ignoring any binding.
QString DefaultDeviceForPort(int n);
// Binds number n to a device path; an empty path goes back to the default.
void BindPort(int n, const QString &device);
