#include "SystemInfoTool.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

#ifdef Q_OS_WIN
namespace {

QString MachineValue(const QString &key, const QString &name)
{
    const QSettings settings(QStringLiteral("HKEY_LOCAL_MACHINE\\") + key, QSettings::NativeFormat);
    return settings.value(name).toString();
}

} // namespace

std::optional<ToolCommand> FindSystemInfoTool()
{
    const QString path = MachineValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                                      QStringLiteral("PATH"));
    if (!path.isEmpty())
        return ToolCommand{path, {}};
    const QString folder = MachineValue(
        QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"), QStringLiteral("MSINFO"));
    if (!folder.isEmpty()) {
        const QString program = QDir(folder).filePath(QStringLiteral("MSINFO32.EXE"));
        if (QFileInfo::exists(program))
            return ToolCommand{program, {}};
    }
    return std::nullopt;
}

#else

std::optional<ToolCommand> FindSystemInfoTool()
{
#ifdef Q_OS_MACOS
    const QString app = QStringLiteral("/System/Applications/Utilities/System Information.app");
    if (QFileInfo::exists(app))
        return ToolCommand{QStringLiteral("open"), {app}};
#endif
    // Desktop tools that show the hardware and system summary.
    const QStringList candidates{QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"),
                                 QStringLiteral("kinfocenter")};
    for (const QString &name : candidates) {
        const QString program = QStandardPaths::findExecutable(name);
        if (!program.isEmpty())
            return ToolCommand{program, {}};
    }
    return std::nullopt;
}

#endif

bool StartSystemInfoTool()
{
    const std::optional<ToolCommand> tool = FindSystemInfoTool();
    return tool && QProcess::startDetached(tool->program, tool->arguments);
}
