// What the program keeps for the user between runs, as names and lists:
// the recovery file of unsaved work, the backups of reads and the list of
// recent files. WorkKeeper does the file work by these rules.
#pragma once

#include "Language.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

constexpr int BackupsKept = 50;
constexpr int RecentFilesKept = 8;
// Unsaved work reaches the recovery file this long after a change at the
// latest; changes in between are written together.
constexpr int RecoveryWriteDelayMs = 250;

// Backups of reads: "read-20261207-184403-123.chann", local time to the
// millisecond, so that names sort as the reads happened.
QString BackupFileName(const QDateTime &when);
// The time in a backup's name; nothing for a name that is not a backup's.
std::optional<QDateTime> BackupTime(const QString &fileName);
// The backups among the names, newest first; other names are left out.
QStringList BackupsNewestFirst(const QStringList &fileNames);
// The backups beyond the newest keep, which rotation deletes.
QStringList BackupsToRemove(const QStringList &fileNames, int keep = BackupsKept);
// "2026-12-07 18:44:03", as the menu lists a backup.
QString BackupMenuText(const QDateTime &when);

// Recovery files: one set per running program, named by its start and
// process id: "work-<id>.chann" (the image), "work-<id>.info" (where the
// image came from) and "work-<id>.lock" (held while the program runs).
struct RecoveryFileNames {
    QString image;
    QString info;
    QString lock;
};
QString RecoveryId(const QDateTime &start, qint64 processId);
RecoveryFileNames RecoveryFilesOf(const QString &id);
// The id in the name of any of the three files; empty for other names.
QString RecoveryIdOf(const QString &fileName);
// Distinct ids found among the names, newest run first.
QStringList RecoveryIdsNewestFirst(const QStringList &fileNames);
// When the run of that id started; invalid for a malformed id.
QDateTime RecoveryStart(const QString &id);

// Where the image in memory came from, for the label and the recovery info.
enum class WorkOrigin { None, File, Read };
struct WorkSource {
    WorkOrigin origin = WorkOrigin::None;
    QString path; // the file, or the backup of the read (may be empty)
    bool operator==(const WorkSource &) const = default;
};
QByteArray FormatRecoveryInfo(const WorkSource &source);
WorkSource ParseRecoveryInfo(const QByteArray &text);

// Recent files: the path moved (or added) to the front, at most keep kept.
// Paths are compared as absolute, cleaned paths (without regard to letter
// case on Windows).
QStringList WithRecentFile(const QStringList &list, const QString &path,
                           int keep = RecentFilesKept);
QStringList WithoutRecentFile(const QStringList &list, const QString &path);
// The list file: one path per line, UTF-8.
QStringList ParseRecentFiles(const QByteArray &text, int keep = RecentFilesKept);
QByteArray FormatRecentFiles(const QStringList &list);
// "&3  radio.chann   (/home/dealer/files)"
QString RecentMenuText(int number, const QString &path);

// The "where am I" text: the file name or the read's date and time, and a
// mark when the image holds unsaved changes.
BilingualText WorkLabel(const WorkSource &source, bool modified);
