#include "KeepingRules.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace {

const QString BackupFormat = QStringLiteral("yyyyMMdd-HHmmss-zzz");

Qt::CaseSensitivity PathCase()
{
#ifdef Q_OS_WIN
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

QString CleanAbsolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

const QRegularExpression &RecoveryName()
{
    static const QRegularExpression name(
        QStringLiteral("^work-(\\d{8}-\\d{6}-\\d{3}-\\d+)\\.(chann|info|lock)$"));
    return name;
}

} // namespace

QString BackupFileName(const QDateTime &when)
{
    return QStringLiteral("read-%1.chann").arg(when.toString(BackupFormat));
}

std::optional<QDateTime> BackupTime(const QString &fileName)
{
    static const QRegularExpression name(QStringLiteral("^read-(\\d{8}-\\d{6}-\\d{3})\\.chann$"));
    const QRegularExpressionMatch match = name.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    const QDateTime when = QDateTime::fromString(match.captured(1), BackupFormat);
    if (!when.isValid())
        return std::nullopt;
    return when;
}

QStringList BackupsNewestFirst(const QStringList &fileNames)
{
    QStringList backups;
    for (const QString &name : fileNames)
        if (BackupTime(name) && !backups.contains(name))
            backups << name;
    // The names carry the time with fixed widths, so they sort as it does.
    std::sort(backups.begin(), backups.end(), std::greater<>());
    return backups;
}

QStringList BackupsToRemove(const QStringList &fileNames, int keep)
{
    const QStringList backups = BackupsNewestFirst(fileNames);
    return backups.mid(std::max(keep, 0));
}

QString BackupMenuText(const QDateTime &when)
{
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString RecoveryId(const QDateTime &start, qint64 processId)
{
    return QStringLiteral("%1-%2").arg(start.toString(BackupFormat)).arg(processId);
}

RecoveryFileNames RecoveryFilesOf(const QString &id)
{
    const QString base = QStringLiteral("work-") + id;
    return {base + QStringLiteral(".chann"), base + QStringLiteral(".info"),
            base + QStringLiteral(".lock")};
}

QString RecoveryIdOf(const QString &fileName)
{
    const QRegularExpressionMatch match = RecoveryName().match(fileName);
    return match.hasMatch() ? match.captured(1) : QString();
}

QDateTime RecoveryStart(const QString &id)
{
    return QDateTime::fromString(id.left(int(BackupFormat.size())), BackupFormat);
}

QStringList RecoveryIdsNewestFirst(const QStringList &fileNames)
{
    QStringList ids;
    for (const QString &name : fileNames) {
        const QString id = RecoveryIdOf(name);
        if (!id.isEmpty() && !ids.contains(id))
            ids << id;
    }
    // By start time, then by process id as a number.
    std::sort(ids.begin(), ids.end(), [](const QString &a, const QString &b) {
        const QDateTime ta = RecoveryStart(a), tb = RecoveryStart(b);
        if (ta != tb)
            return ta > tb;
        return a.mid(BackupFormat.size() + 1).toLongLong()
               > b.mid(BackupFormat.size() + 1).toLongLong();
    });
    return ids;
}

QByteArray FormatRecoveryInfo(const WorkSource &source)
{
    const char *origin = source.origin == WorkOrigin::File   ? "file"
                         : source.origin == WorkOrigin::Read ? "read"
                                                             : "none";
    return QByteArray("origin=") + origin + "\npath=" + source.path.toUtf8() + "\n";
}

WorkSource ParseRecoveryInfo(const QByteArray &text)
{
    WorkSource source;
    for (const QByteArray &line : text.split('\n')) {
        if (line.startsWith("origin=")) {
            const QByteArray origin = line.mid(7).trimmed();
            source.origin = origin == "file"   ? WorkOrigin::File
                            : origin == "read" ? WorkOrigin::Read
                                               : WorkOrigin::None;
        } else if (line.startsWith("path=")) {
            source.path = QString::fromUtf8(line.mid(5));
        }
    }
    if (source.origin == WorkOrigin::None)
        source.path.clear();
    return source;
}

QStringList WithoutRecentFile(const QStringList &list, const QString &path)
{
    const QString clean = CleanAbsolute(path);
    QStringList kept;
    for (const QString &entry : list)
        if (CleanAbsolute(entry).compare(clean, PathCase()) != 0)
            kept << entry;
    return kept;
}

QStringList WithRecentFile(const QStringList &list, const QString &path, int keep)
{
    if (path.trimmed().isEmpty())
        return list.mid(0, std::max(keep, 0));
    QStringList result = WithoutRecentFile(list, path);
    result.prepend(CleanAbsolute(path));
    return result.mid(0, std::max(keep, 0));
}

QStringList ParseRecentFiles(const QByteArray &text, int keep)
{
    QStringList list;
    for (const QByteArray &line : text.split('\n')) {
        const QString path = QString::fromUtf8(line).trimmed();
        if (path.isEmpty() || !QFileInfo(path).isAbsolute())
            continue;
        if (WithoutRecentFile(list, path).size() == list.size())
            list << QDir::cleanPath(path);
    }
    return list.mid(0, std::max(keep, 0));
}

QByteArray FormatRecentFiles(const QStringList &list)
{
    QByteArray text;
    for (const QString &path : list)
        text += path.toUtf8() + '\n';
    return text;
}

QString RecentMenuText(int number, const QString &path)
{
    const QFileInfo info(path);
    // An "&" in a name would otherwise turn into a shortcut mark.
    QString name = info.fileName();
    QString folder = QDir::toNativeSeparators(info.absolutePath());
    name.replace(u'&', QStringLiteral("&&"));
    folder.replace(u'&', QStringLiteral("&&"));
    return QStringLiteral("&%1  %2   (%3)").arg(number).arg(name, folder);
}

BilingualText WorkLabel(const WorkSource &source, bool modified)
{
    BilingualText what;
    switch (source.origin) {
    case WorkOrigin::None:
        what = {QStringLiteral("未命名"), QStringLiteral("Untitled")};
        break;
    case WorkOrigin::File: {
        const QString name = QFileInfo(source.path).fileName();
        what = {name, name};
        break;
    }
    case WorkOrigin::Read:
        if (const auto when = BackupTime(QFileInfo(source.path).fileName())) {
            const QString time = BackupMenuText(*when);
            what = {QStringLiteral("读取于 ") + time, QStringLiteral("Read ") + time};
        } else {
            what = {QStringLiteral("读自对讲机"), QStringLiteral("Read from radio")};
        }
        break;
    }
    if (!modified)
        return what;
    return {QStringLiteral("● %1（有未保存的修改）").arg(what.chinese),
            QStringLiteral("● %1 (unsaved changes)").arg(what.english)};
}
