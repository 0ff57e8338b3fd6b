#include "SystemPortSource.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {

PortSource *&Installed()
{
    static PortSource *source = nullptr;
    return source;
}

// Linux names USB adapters ttyUSB… and ttyACM…; the library gives ids for
// those it finds on a USB bus.
bool IsUsb(const QSerialPortInfo &info)
{
    const QString name = info.portName();
    return info.hasVendorIdentifier() || name.startsWith(QLatin1String("ttyUSB"))
           || name.startsWith(QLatin1String("ttyACM"));
}

} // namespace

QList<PortEntry> SystemPortSource::ports() const
{
    QList<PortEntry> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        PortEntry port;
        // What the user types: COM12 on Windows, the device path elsewhere.
        port.name =
            HostPortPlatform() == PortPlatform::Windows ? info.portName() : info.systemLocation();
        port.description = info.description();
        port.manufacturer = info.manufacturer();
        port.serialNumber = info.serialNumber();
        if (info.hasVendorIdentifier())
            port.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            port.productId = info.productIdentifier();
        port.usb = IsUsb(info);
        ports << port;
    }
    return ports;
}

PortSource &CurrentPortSource()
{
    static SystemPortSource system;
    return Installed() ? *Installed() : system;
}

void SetCurrentPortSource(PortSource *source) { Installed() = source; }

QList<PortEntry> PresentPorts()
{
    return OrderedPorts(CurrentPortSource().ports(), HostPortPlatform());
}

bool PortExists(const QString &name)
{
    const PortPlatform platform = HostPortPlatform();
    if (!IsValidPortName(name, platform))
        return false;
    if (FindPort(PresentPorts(), ResolvePortLink(name), platform))
        return true;
#ifdef Q_OS_WIN
    // The system's own table of device names, without opening the port.
    const QString key = PortKey(name, platform);
    wchar_t target[512];
    return QueryDosDeviceW(reinterpret_cast<const wchar_t *>(key.utf16()), target, 512) != 0;
#else
    return QFileInfo::exists(PortKey(name, platform));
#endif
}
