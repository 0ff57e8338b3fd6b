// The windows' side of WorkKeeper: File → "最近文件 / Recent files" and
// File → "最近读取 / Recent reads", the current file and unsaved-changes
// mark at the right end of the toolbar, the offer to restore the unsaved
// work of an earlier run, and the keeper's warnings. It owns no state: all
// of it is the keeper's.
#pragma once

#include <QObject>
#include <functional>

class MainWindow;
class QLabel;
class QMenu;
class QWidget;
class WorkKeeper;

class KeepingUi : public QObject {
    Q_OBJECT
public:
    KeepingUi(MainWindow &main, WorkKeeper &keeper);

    // Asks once about each recovery file of an ended run, newest first,
    // until the user restores one; the rest wait for a later start.
    void offerRecovery();
    // Captions in the current language.
    void applyTexts();

private:
    void fillRecentFiles();
    void fillRecentReads();
    void showState();
    // The main window: the parent of the boxes and menus.
    QWidget *mainWindow() const;

    WorkKeeper &keeper_;
    QMenu *recentFiles_;
    QMenu *recentReads_;
    QLabel *label_;
};

// How the user answered the offer. Later (also Esc or the close box)
// decides nothing: the work stays for the next start.
enum class RecoveryAnswer { Restore, Discard, Later };
// Tests answer the offer instead of a user; a null hook restores the box.
using RecoveryAnswerHook = std::function<RecoveryAnswer(const QString &text)>;
void SetRecoveryAnswerHook(RecoveryAnswerHook hook);
