#include "WorkKeeper.h"

#include "ImageChanges.h"
#include "ImageOrigin.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString RecentFilesName = QStringLiteral("recent-files.txt");

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(64 * 1024) : QByteArray();
}

bool WriteWhole(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// A lock held for a whole run: never taken for stale because of its age,
// only because its process is gone (or the machine was restarted).
std::unique_ptr<QLockFile> TryLock(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

} // namespace

QString WorkKeeper::DefaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

WorkKeeper::WorkKeeper(const QString &folder, QObject *parent) : QObject(parent), folder_(folder)
{
    writeTimer_.setSingleShot(true);
    writeTimer_.setInterval(RecoveryWriteDelayMs);
    connect(&writeTimer_, &QTimer::timeout, this, &WorkKeeper::writeRecovery);
    connect(&ImageChanges::instance(), &ImageChanges::rowsChanged, this, &WorkKeeper::imageChanged);
    connect(&ImageOrigin::instance(), &ImageOrigin::opened, this, &WorkKeeper::fileOpened);
    connect(&ImageOrigin::instance(), &ImageOrigin::saved, this, &WorkKeeper::fileSaved);
    connect(&ImageOrigin::instance(), &ImageOrigin::read, this, &WorkKeeper::radioRead);
}

WorkKeeper::~WorkKeeper() { finish(); }

QString WorkKeeper::recoveryFolder() const
{
    return QDir(folder_).filePath(QStringLiteral("recovery"));
}

QString WorkKeeper::backupFolder() const
{
    return QDir(folder_).filePath(QStringLiteral("backups"));
}

QString WorkKeeper::pathOf(const QString &fileName) const
{
    return QDir(recoveryFolder()).filePath(fileName);
}

QString WorkKeeper::recoveryImagePath() const
{
    return id_.isEmpty() ? QString() : pathOf(RecoveryFilesOf(id_).image);
}

bool WorkKeeper::start()
{
    if (started_ || finished_ || folder_.isEmpty() || !QDir().mkpath(recoveryFolder()))
        return started_;
    // Two keepers started within the same millisecond (tests) differ by
    // the next free millisecond.
    QDateTime when = QDateTime::currentDateTime();
    for (int attempt = 0; attempt < 20 && !lock_; ++attempt, when = when.addMSecs(1)) {
        const QString id = RecoveryId(when, QCoreApplication::applicationPid());
        if (QFile::exists(pathOf(RecoveryFilesOf(id).image)))
            continue;
        lock_ = TryLock(pathOf(RecoveryFilesOf(id).lock));
        if (lock_)
            id_ = id;
    }
    started_ = lock_ != nullptr;
    if (started_ && modified_)
        writeTimer_.start();
    return started_;
}

void WorkKeeper::finish()
{
    if (finished_)
        return;
    writeTimer_.stop();
    if (started_) {
        if (modified_)
            writeRecovery();
        else
            removeRecovery();
    }
    finished_ = true;
    for (auto &claimed : claimed_)
        claimed.second->unlock();
    claimed_.clear();
    if (lock_)
        lock_->unlock();
}

void WorkKeeper::imageChanged(const ImageChange &)
{
    if (!writeTimer_.isActive() && started_ && !finished_)
        writeTimer_.start();
    if (!modified_) {
        modified_ = true;
        emit stateChanged();
    }
}

void WorkKeeper::writeRecovery()
{
    if (!started_ || finished_ || !modified_)
        return;
    const RecoveryFileNames names = RecoveryFilesOf(id_);
    ChannelFileError error;
    // The image first: a run cut short between the two writes leaves an
    // image that is newer than its description, never older.
    const bool written = WriteChannelFile(pathOf(names.image), RadioData, &error)
                         && WriteWhole(pathOf(names.info), FormatRecoveryInfo(source_));
    if (!written && !recoveryWarned_) {
        recoveryWarned_ = true;
        const QString where = QDir::toNativeSeparators(pathOf(names.image));
        emit recoveryFailed(
            BilingualText{QStringLiteral("未保存的修改无法写入恢复文件 %1。\n"),
                          QStringLiteral("The unsaved changes cannot be written to the recovery "
                                         "file %1.\n")}
                .arg(where)
            + error.message);
    }
}

void WorkKeeper::removeRecovery()
{
    if (id_.isEmpty())
        return;
    const RecoveryFileNames names = RecoveryFilesOf(id_);
    QFile::remove(pathOf(names.image));
    QFile::remove(pathOf(names.info));
}

void WorkKeeper::removeFilesOf(const QString &id)
{
    const RecoveryFileNames names = RecoveryFilesOf(id);
    QFile::remove(pathOf(names.image));
    QFile::remove(pathOf(names.info));
}

void WorkKeeper::markClean(const WorkSource &source)
{
    writeTimer_.stop();
    modified_ = false;
    source_ = source;
    if (!finished_)
        removeRecovery();
    emit stateChanged();
}

void WorkKeeper::savedStateReached()
{
    if (modified_)
        markClean(source_);
}

WorkSource WorkKeeper::sourceOfFile(const QString &path) const
{
    const QFileInfo info(path);
    const bool inBackups = QDir::cleanPath(info.absolutePath())
                           == QDir::cleanPath(QFileInfo(backupFolder()).absoluteFilePath());
    if (inBackups && BackupTime(info.fileName()))
        return {WorkOrigin::Read, info.absoluteFilePath()};
    return {WorkOrigin::File, info.absoluteFilePath()};
}

void WorkKeeper::fileOpened(const QString &path)
{
    const WorkSource source = sourceOfFile(path);
    markClean(source);
    if (source.origin == WorkOrigin::File)
        addRecentFile(path);
}

void WorkKeeper::fileSaved(const QString &path)
{
    markClean({WorkOrigin::File, QFileInfo(path).absoluteFilePath()});
    addRecentFile(path);
}

void WorkKeeper::radioRead()
{
    const QDir backups(backupFolder());
    QString path;
    ChannelFileError error;
    if (!folder_.isEmpty() && QDir().mkpath(backups.path())) {
        QDateTime when = QDateTime::currentDateTime();
        while (backups.exists(BackupFileName(when)))
            when = when.addMSecs(1);
        path = backups.filePath(BackupFileName(when));
        if (WriteChannelFile(path, RadioData, &error)) {
            for (const QString &old : BackupsToRemove(backups.entryList(QDir::Files)))
                QFile::remove(backups.filePath(old));
        } else {
            path.clear();
        }
    } else {
        error.message = BilingualText{QStringLiteral("无法建立文件夹 %1。"),
                                      QStringLiteral("The folder %1 cannot be made.")}
                            .arg(QDir::toNativeSeparators(backups.path()));
    }
    markClean({WorkOrigin::Read, path});
    if (path.isEmpty())
        emit backupFailed(BilingualText{QStringLiteral("读出的数据未能备份。\n"),
                                        QStringLiteral("The data read could not be backed up.\n")}
                          + error.message);
    else
        emit backupsChanged();
}

QList<RecoveryCandidate> WorkKeeper::claimOrphans()
{
    QList<RecoveryCandidate> candidates;
    if (!started_ || finished_)
        return candidates;
    const QStringList names = QDir(recoveryFolder()).entryList(QDir::Files);
    for (const QString &id : RecoveryIdsNewestFirst(names)) {
        if (id == id_ || claimed_.count(id))
            continue;
        const RecoveryFileNames files = RecoveryFilesOf(id);
        std::unique_ptr<QLockFile> lock = TryLock(pathOf(files.lock));
        if (!lock)
            continue; // its program is still running
        if (!QFile::exists(pathOf(files.image))) {
            // A run that ended with nothing unsaved, or before its first write.
            QFile::remove(pathOf(files.info));
            continue; // the lock file goes with the lock
        }
        candidates << RecoveryCandidate{id, QFileInfo(pathOf(files.image)).lastModified(),
                                        ParseRecoveryInfo(FileBytes(pathOf(files.info)))};
        claimed_[id] = std::move(lock);
    }
    return candidates;
}

bool WorkKeeper::restore(const QString &id, ChannelFileError *error)
{
    if (!claimed_.count(id))
        return false;
    const RecoveryFileNames files = RecoveryFilesOf(id);
    auto image = std::make_unique<ImageTable>(RadioData);
    if (!ReadChannelFile(pathOf(files.image), *image, error))
        return false;
    const WorkSource source = ParseRecoveryInfo(FileBytes(pathOf(files.info)));
    ImageChanges::instance().replaceImage(ChangeKind::Recovered, *image);
    source_ = source;
    modified_ = true;
    // This run's own recovery file holds the work before the old one goes.
    writeRecovery();
    if (!started_ || QFile::exists(recoveryImagePath()))
        removeFilesOf(id);
    release(id);
    emit stateChanged();
    return true;
}

void WorkKeeper::discard(const QString &id)
{
    if (!claimed_.count(id))
        return;
    removeFilesOf(id);
    release(id);
}

void WorkKeeper::release(const QString &id)
{
    const auto claimed = claimed_.find(id);
    if (claimed == claimed_.end())
        return;
    claimed->second->unlock();
    claimed_.erase(claimed);
}

QList<BackupEntry> WorkKeeper::backups() const
{
    if (folder_.isEmpty())
        return {};
    const QDir backups(backupFolder());
    QList<BackupEntry> entries;
    for (const QString &name : BackupsNewestFirst(backups.entryList(QDir::Files)))
        entries << BackupEntry{backups.filePath(name), *BackupTime(name)};
    return entries;
}

QStringList WorkKeeper::recentFiles() const
{
    if (folder_.isEmpty())
        return {};
    return ParseRecentFiles(FileBytes(QDir(folder_).filePath(RecentFilesName)));
}

void WorkKeeper::addRecentFile(const QString &path)
{
    if (folder_.isEmpty())
        return;
    // Read again first: another running program may have added its own.
    const QStringList list = WithRecentFile(recentFiles(), path);
    if (QDir().mkpath(folder_))
        WriteWhole(QDir(folder_).filePath(RecentFilesName), FormatRecentFiles(list));
    emit recentFilesChanged();
}

void WorkKeeper::forgetRecentFile(const QString &path)
{
    if (folder_.isEmpty())
        return;
    const QStringList list = WithoutRecentFile(recentFiles(), path);
    WriteWhole(QDir(folder_).filePath(RecentFilesName), FormatRecentFiles(list));
    emit recentFilesChanged();
}
