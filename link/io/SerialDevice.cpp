#include "SerialDevice.h"

#include "DemoRadio.h"

#ifdef Q_OS_WIN
#include "WinSerialDevice.h"
using SystemSerialDevice = WinSerialDevice;
#else
#include "QtSerialDevice.h"
using SystemSerialDevice = QtSerialDevice;
#endif

SerialDevice *CreateSerialDevice(const QString &device, QObject *parent)
{
    if (IsDemoDevice(device))
        return new DemoSerialDevice(parent);
    return new SystemSerialDevice(parent);
}

bool NeedsOtherDevice(const SerialDevice *current, const QString &device)
{
    return !current
           || IsDemoDevice(device) != bool(qobject_cast<const DemoSerialDevice *>(current));
}
