#include "PortBinding.h"

#include "PortClaims.h"
#include "PortWatch.h"
#include "RadioLink.h"
#include "SystemPortSource.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QStandardPaths>
#include <map>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

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
    const QString before = DeviceForPort(n);
    if (device.isEmpty())
        Bindings().erase(n);
    else
        Bindings()[n] = device;
    if (DeviceForPort(n) != before)
        emit PortWatch::instance().bindingChanged(n);
}

QStringList BoundDevices()
{
    QStringList devices;
    for (const auto &[n, device] : Bindings())
        devices << device;
    return devices;
}

QString PortNumberLabel(int n) { return PortOptionLabel(n, DeviceForPort(n), HostPortPlatform()); }

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

// The process id a lock file names; 0 when none.
qint64 LockPid(const QString &lockFile)
{
    QFile file(lockFile);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    bool ok = false;
    const qint64 pid = file.readLine(64).trimmed().toLongLong(&ok);
    return ok ? pid : 0;
}

bool LockOwnerIsThisProcess(const QString &lockFile)
{
    return LockPid(lockFile) == QCoreApplication::applicationPid();
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

void SuggestCable(PortOpenResult &result)
{
    const std::optional<PortEntry> cable = SoleUsbCable(PresentPorts());
    if (cable && !SamePort(cable->name, result.device))
        result.soleCable = cable;
}

PortHolding HoldingOf(const QString &device)
{
    if (PortClaims::Holder(device))
        return {PortHolder::ThisProgram, QString::number(QCoreApplication::applicationPid())};
#ifdef Q_OS_UNIX
    const QString lockFile = ExistingPortLockFile(ResolvePortLink(device));
    const QString who = lockFile.isEmpty() ? QString() : LockHolder(lockFile);
    if (who.isEmpty())
        return {PortHolder::Nobody, {}}; // no lock, or one left by a process that has ended
    // Our programs, this one or another of their processes.
    const qint64 pid = LockPid(lockFile);
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    const QString name = comm.open(QIODevice::ReadOnly)
                             ? QString::fromLocal8Bit(comm.readAll()).trimmed()
                             : QString();
    const bool ours = pid == QCoreApplication::applicationPid() || name == QLatin1String("ql540")
                      || name == QLatin1String("ql540-cps");
    return {ours ? PortHolder::ThisProgram : PortHolder::AnotherProgram, who};
#else
    // Windows tells only by refusing a second opening.
    const QString path = WindowsDevicePath(device);
    if (path.isEmpty())
        return {PortHolder::Unknown, {}};
    HANDLE h = CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()),
                           GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return {PortHolder::Nobody, {}};
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION)
        return {PortHolder::AnotherProgram, {}};
    return {PortHolder::Unknown, {}};
#endif
}
