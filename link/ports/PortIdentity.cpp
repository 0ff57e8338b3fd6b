#include "PortIdentity.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The device namespace prefix, in either slash.
QString WithoutDevicePrefix(const QString &name)
{
    for (const char *prefix : {"\\\\.\\", "//./"})
        if (name.startsWith(QLatin1String(prefix)))
            return name.mid(4);
    return name;
}

// Windows device names are plain: letters, digits and a few marks (COM12,
// CNCA0, COM#1). A colon, a slash, a dot or a blank makes a path or a file
// name, which no port has.
bool IsPlainDeviceName(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        const bool plain = (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z')
                           || (u >= u'0' && u <= u'9') || u == u'_' || u == u'-' || u == u'#';
        if (!plain)
            return false;
    }
    return true;
}

// Where the serial library looks for a Unix port name.
QString UnixLocation(const QString &name)
{
    if (name.startsWith(u'/') || name.startsWith(QLatin1String("./"))
        || name.startsWith(QLatin1String("../")))
        return QDir::cleanPath(name);
    return QDir::cleanPath(QStringLiteral("/dev/") + name);
}

} // namespace

PortPlatform HostPortPlatform()
{
#ifdef Q_OS_WIN
    return PortPlatform::Windows;
#else
    return PortPlatform::Unix;
#endif
}

QString PortKey(const QString &name, PortPlatform platform)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || trimmed.contains(QChar(0)))
        return {};
    if (platform == PortPlatform::Unix)
        return UnixLocation(trimmed);
    const QString bare = WithoutDevicePrefix(trimmed);
    return IsPlainDeviceName(bare) ? bare.toUpper() : QString();
}

bool IsValidPortName(const QString &name, PortPlatform platform)
{
    return !PortKey(name, platform).isEmpty();
}

QString WindowsDevicePath(const QString &name)
{
    const QString key = PortKey(name, PortPlatform::Windows);
    return key.isEmpty() ? QString() : QStringLiteral("\\\\.\\") + key;
}

QString ResolvePortLink(const QString &name)
{
    if (HostPortPlatform() == PortPlatform::Windows || !IsValidPortName(name, PortPlatform::Unix))
        return name;
    const QString target = QFileInfo(UnixLocation(name.trimmed())).canonicalFilePath();
    return target.isEmpty() ? name : target;
}

QString PortIdentity(const QString &name)
{
    return PortKey(ResolvePortLink(name), HostPortPlatform());
}

bool SamePort(const QString &a, const QString &b)
{
    const QString key = PortIdentity(a);
    return !key.isEmpty() && key == PortIdentity(b);
}

QString PortOptionLabel(int option, const QString &device, PortPlatform platform)
{
    const QString name = QStringLiteral("COM%1").arg(option);
    const QString key = PortKey(device, platform);
    if (device.trimmed().isEmpty() || key == PortKey(name, platform))
        return name;
    return name + QStringLiteral(": ") + device.trimmed();
}
