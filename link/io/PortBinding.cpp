#include "PortBinding.h"

#include <QCollator>
#include <QSerialPortInfo>
#include <algorithm>
#include <map>

namespace {

std::map<int, QString> &Bindings()
{
    static std::map<int, QString> bindings;
    return bindings;
}

bool IsUsb(const QSerialPortInfo &info)
{
    const QString name = info.portName();
    return info.hasVendorIdentifier() || name.startsWith(QLatin1String("ttyUSB")) ||
           name.startsWith(QLatin1String("ttyACM"));
}

} // namespace

QStringList ListedSerialDevices()
{
    QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    QCollator collator;
    collator.setNumericMode(true);
    std::stable_sort(ports.begin(), ports.end(), [&](const QSerialPortInfo &a, const QSerialPortInfo &b) {
        if (IsUsb(a) != IsUsb(b))
            return IsUsb(a);
        return collator.compare(a.systemLocation(), b.systemLocation()) < 0;
    });
    QStringList devices;
    for (const QSerialPortInfo &info : ports)
        devices << info.systemLocation();
    return devices;
}

QString DefaultDeviceForPort(int n)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(n);
#else
    const QStringList devices = ListedSerialDevices();
    return n >= 1 && n <= devices.size() ? devices.at(n - 1) : QString();
#endif
}

QString DeviceForPort(int n)
{
    const auto bound = Bindings().find(n);
    return bound != Bindings().end() ? bound->second : DefaultDeviceForPort(n);
}

void BindPort(int n, const QString &device)
{
    if (device.isEmpty())
        Bindings().erase(n);
    else
        Bindings()[n] = device;
}
