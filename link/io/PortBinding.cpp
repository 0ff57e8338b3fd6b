#include "PortBinding.h"

#include "RadioLink.h"
#include "SystemPortSource.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QStandardPaths>
#include <map>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

std::map<int, QString> &Bindings()
{
    static std::map<int, QString> bindings;
    return bindings;
}

} // namespace

QStringList ListedSerialDevices()
{
    QStringList devices;
    for (const PortEntry &port : PresentPorts())
        devices << port.name;
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

namespace {

#ifdef Q_OS_UNIX
// The holder named by a lock file: "1234 (minicom)", or just the number;
// empty when the file names no live process.
QString LockHolder(const QString &lockFile)
{
    QFile file(lockFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The first line is the process id (some programs pad it with blanks),
    // a second line, where present, the program's name.
    const QList<QByteArray> lines = file.read(4096).split('\n');
    bool ok = false;
    const qint64 pid = lines.value(0).trimmed().toLongLong(&ok);
    if (!ok || pid <= 0 || (::kill(pid_t(pid), 0) != 0 && errno == ESRCH))
        return {};
    QString name;
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (comm.open(QIODevice::ReadOnly))
        name = QString::fromLocal8Bit(comm.readAll()).trimmed();
    if (name.isEmpty())
        name = QString::fromLocal8Bit(lines.value(1)).trimmed();
    return name.isEmpty() ? QString::number(pid) : QStringLiteral("%1 (%2)").arg(pid).arg(name);
}

bool LockOwnerIsThisProcess(const QString &lockFile)
{
    QFile file(lockFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bool ok = false;
    const qint64 pid = file.readLine(64).trimmed().toLongLong(&ok);
    return ok && pid == QCoreApplication::applicationPid();
}
#endif

} // namespace

QString ExistingPortLockFile(const QString &device)
{
#ifdef Q_OS_UNIX
    // The serial port library's own scheme: the name below /dev with "/"
    // made "_", prefixed "LCK..", in the first of these folders that has it.
    QString name = device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
    name.replace(u'/', u'_');
    const QStringList folders{QStringLiteral("/var/lock"),
                              QStringLiteral("/etc/locks"),
                              QStringLiteral("/var/spool/locks"),
                              QStringLiteral("/var/spool/uucp"),
                              QStringLiteral("/tmp"),
                              QStringLiteral("/var/tmp"),
                              QStringLiteral("/var/lock/lockdev"),
                              QStringLiteral("/run/lock"),
                              QStandardPaths::writableLocation(QStandardPaths::TempLocation)};
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(QStringLiteral("LCK..") + name);
        if (QFileInfo::exists(path))
            return path;
    }
#else
    Q_UNUSED(device);
#endif
    return {};
}

void ExplainPortFailure(PortOpenResult &result, int serialError)
{
    if (serialError == QSerialPort::DeviceNotFoundError) {
        result.notFound = true;
        return;
    }
    if (serialError != QSerialPort::PermissionError)
        return;
#ifdef Q_OS_UNIX
    const QString lockFile = ExistingPortLockFile(result.device);
    if (!lockFile.isEmpty()) {
        const QString holder = LockHolder(lockFile);
        if (!holder.isEmpty()) {
            // Our own process: one of our windows has it, not another program.
            result.heldHere = LockOwnerIsThisProcess(lockFile);
            result.inUse = true;
            result.lockFile = lockFile;
            result.holder = holder;
            return;
        }
    }
    // No live lock: ask the device itself. A device that another program
    // opened for itself alone answers "busy"; a real denial "access".
    const QByteArray path = QFile::encodeName(result.device);
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        ::close(fd);
    } else if (errno == EBUSY) {
        result.inUse = true;
    } else if (errno == EACCES || errno == EPERM) {
        result.accessDenied = true;
    } else if (errno == ENOENT || errno == ENODEV || errno == ENXIO) {
        result.notFound = true;
    }
#else
    // Windows refuses a port that another program has open with "access
    // denied"; ordinary users may open every COM port.
    result.inUse = true;
#endif
}
