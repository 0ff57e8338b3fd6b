// Which serial device each of the port numbers COM1..COM8 stands for. On
// Windows port N is COMN by default, elsewhere the N-th serial port the
// system lists (USB adapters first); the user may bind any port to a number
// instead (setup window, --port): COM12 to COM1, or /dev/ttyUSB3 to COM2.
// Nothing is persisted.
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
// Announced by PortWatch::bindingChanged.
void BindPort(int n, const QString &device);
// The devices bound to a number by hand (setup window, --port, --demo), in
// the order of their numbers.
QStringList BoundDevices();
// How the program names port number n: "COM1", or "COM1: COM12" where it
// is bound to another device (the status bar, messages).
QString PortNumberLabel(int n);

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

// Who holds a port now, as far as can be told without disturbing it: one
// of our own links, or on Linux the lock file serial programs leave (this
// program's or another's); on Windows whether the port opens at all.
enum class PortHolder { Nobody, ThisProgram, AnotherProgram, Unknown };
struct PortHolding {
    PortHolder holder = PortHolder::Unknown;
    QString who; // the holding process, "1234 (minicom)", where known
};
PortHolding HoldingOf(const QString &device);

// For a device that is not there: names the one USB serial cable present,
// where there is exactly one, so the message can point to it.
void SuggestCable(PortOpenResult &result);
