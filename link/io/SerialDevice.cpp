#include "SerialDevice.h"

#include "DemoRadio.h"

#ifdef Q_OS_WIN
#include "WinSerialDevice.h"
#else
#include "QtSerialDevice.h"
#endif

SerialDevice *CreateSerialDevice(const QString &device, QObject *parent)
{
    if (IsDemoDevice(device))
        return new DemoSerialDevice(parent);
#ifdef Q_OS_WIN
    return new WinSerialDevice(MakeWin32CommApi(), parent);
#else
    return new QtSerialDevice(parent);
#endif
}

bool NeedsOtherDevice(const SerialDevice *current, const QString &device)
{
    return !current
           || IsDemoDevice(device) != bool(qobject_cast<const DemoSerialDevice *>(current));
}
