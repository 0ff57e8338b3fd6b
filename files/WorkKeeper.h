// Keeps the user's work safe between runs, by the rules of KeepingRules:
// - unsaved changes go to this run's recovery file, at most a few times a
//   second, and the file goes once the image is saved, opened or read;
// - every completed read is also kept as a backup file (the last 50);
// - files opened or saved join the recent files list.
// It follows the change path (ImageChanges) and the moments the image is
// safe (ImageOrigin); windows only show its state.
//
// Two programs running at once each keep their own recovery file, held by
// a lock file for the whole run. At start a program claims only recovery
// files whose lock is free: left by a run that ended (with unsaved changes)
// or stale (its process is gone: a crash, a kill, a power loss).
#pragma once

#include "ChannelFile.h"
#include "KeepingRules.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <map>
#include <memory>

class QLockFile;
struct ImageChange;

// A recovery file left by an earlier run, claimed by this one.
struct RecoveryCandidate {
    QString id;
    QDateTime savedAt; // when its image was last written
    WorkSource source;
};

// A backup of a read, for the menu.
struct BackupEntry {
    QString path;
    QDateTime readAt;
};

class WorkKeeper : public QObject {
    Q_OBJECT
public:
    // The folder under which everything is kept: the user's application
    // data folder of this program (e.g. ~/.local/share/QL540 CPS). Empty
    // when there is none; then nothing is kept.
    static QString DefaultFolder();

    explicit WorkKeeper(const QString &folder, QObject *parent = nullptr);
    ~WorkKeeper() override;

    // Takes this run's recovery slot; false when the folder cannot be used
    // (the program then runs without a recovery file).
    bool start();
    // At the end of the run: unsaved changes are written and their file
    // stays for the next start; otherwise the file goes.
    void finish();

    bool isModified() const { return modified_; }
    // The image is back at the state last saved, opened or read (undo or
    // redo took it there): nothing is unsaved, the recovery file goes.
    void savedStateReached();
    const WorkSource &source() const { return source_; }
    BilingualText label() const { return WorkLabel(source_, modified_); }

    QString recoveryFolder() const;
    QString backupFolder() const;
    // This run's recovery image file (exists only while there is unsaved work).
    QString recoveryImagePath() const;

    // Recovery files of ended runs, newest first; each is locked for this
    // run until restored, discarded or released.
    QList<RecoveryCandidate> claimOrphans();
    // Replaces the image by the candidate's, as one change; the restored
    // work counts as unsaved. The candidate's files go on success.
    bool restore(const QString &id, ChannelFileError *error);
    void discard(const QString &id);
    // Leaves the candidate's files for a later start.
    void release(const QString &id);

    QList<BackupEntry> backups() const;
    QStringList recentFiles() const;
    void forgetRecentFile(const QString &path);

signals:
    void stateChanged();
    void recentFilesChanged();
    void backupsChanged();
    // A read could not be backed up; the read itself is in the image.
    void backupFailed(const BilingualText &message);
    // Unsaved work could not be written to the recovery file (first time).
    void recoveryFailed(const BilingualText &message);

private:
    void imageChanged(const ImageChange &change);
    void fileOpened(const QString &path);
    void fileSaved(const QString &path);
    void radioRead();
    void markClean(const WorkSource &source);
    void writeRecovery();
    void removeRecovery();
    void removeFilesOf(const QString &id);
    void addRecentFile(const QString &path);
    QString pathOf(const QString &fileName) const;
    WorkSource sourceOfFile(const QString &path) const;

    QString folder_;
    QString id_;
    std::unique_ptr<QLockFile> lock_;
    std::map<QString, std::unique_ptr<QLockFile>> claimed_;
    QTimer writeTimer_;
    WorkSource source_;
    bool modified_ = false;
    bool started_ = false;
    bool finished_ = false;
    bool recoveryWarned_ = false;
};
