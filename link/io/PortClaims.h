// Which serial devices this program has open, and through which link. A
// second window that asks for a device one of ours holds (the power
// window during a read, a read while the power window is linked) is told
// that a transfer is in progress, not that some other program has it.
// Devices are compared by PortIdentity: COM5 and \\.\COM5, or a link and
// the device it points to, are one.
#pragma once

#include <QString>

namespace PortClaims {

// The owner that holds the device, or nullptr.
const void *Holder(const QString &device);
// Claims the device for the owner: false when another owner holds it.
bool Claim(const QString &device, const void *owner);
// Gives up whatever the owner holds.
void Release(const void *owner);

} // namespace PortClaims
