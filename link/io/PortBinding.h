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

struct PortOpenResult;

// The lock file that marks a device as taken, as the serial port library
// names it (LCK..ttyUSB0 in the first usable lock folder); empty when none
// exists.
QString ExistingPortLockFile(const QString &device);

// Says why opening result.device failed (serialError: a
// QSerialPort::SerialPortError). The serial library reports a device held
// by another program as a permission error; this tells the two apart and
// names the holder where its lock file does.
void ExplainPortFailure(PortOpenResult &result, int serialError);
