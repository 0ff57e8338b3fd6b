#include "KeepingUi.h"

#include "FileWindows.h"
#include "Globals.h"
#include "Language.h"
#include "MainWindow.h"
#include "Messages.h"
#include "UndoHistory.h"
#include "WorkKeeper.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QToolBar>

namespace {

RecoveryAnswerHook &AnswerHook()
{
    static RecoveryAnswerHook hook;
    return hook;
}

// The program always starts in Chinese, so the offer speaks both languages:
// an English-speaking user meets it before any language switch.
QString OfferText(const RecoveryCandidate &candidate)
{
    const QString when = candidate.savedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return QStringLiteral("上次运行结束时有未保存的修改（%1，最后记录于 %2）。\n"
                          "恢复这些修改吗？\n\n"
                          "The last run ended with unsaved changes (%3, last recorded %2).\n"
                          "Restore them?")
        .arg(WorkLabel(candidate.source, false).chinese, when,
             WorkLabel(candidate.source, false).english);
}

RecoveryAnswer Ask(const QString &text, QWidget *parent)
{
    if (AnswerHook())
        return AnswerHook()(text);
    QMessageBox box(QMessageBox::Question, Texts("操作提示", "Operate prompt"), text,
                    QMessageBox::NoButton, parent);
    QPushButton *restore = box.addButton(QStringLiteral("恢复 / Restore"), QMessageBox::AcceptRole);
    QPushButton *discard =
        box.addButton(QStringLiteral("放弃 / Discard"), QMessageBox::DestructiveRole);
    QPushButton *later = box.addButton(QStringLiteral("以后再说 / Later"), QMessageBox::RejectRole);
    box.setDefaultButton(restore);
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == restore)
        return RecoveryAnswer::Restore;
    if (box.clickedButton() == discard)
        return RecoveryAnswer::Discard;
    return RecoveryAnswer::Later;
}

} // namespace

void SetRecoveryAnswerHook(RecoveryAnswerHook hook) { AnswerHook() = std::move(hook); }

KeepingUi::KeepingUi(MainWindow &main, WorkKeeper &keeper)
    : QObject(&main),
      keeper_(keeper),
      recentFiles_(new QMenu(&main)),
      recentReads_(new QMenu(&main)),
      label_(new QLabel(&main))
{
    recentFiles_->setObjectName(QStringLiteral("File_recent"));
    recentFiles_->menuAction()->setObjectName(QStringLiteral("File_recent"));
    recentReads_->setObjectName(QStringLiteral("File_recent_reads"));
    recentReads_->menuAction()->setObjectName(QStringLiteral("File_recent_reads"));
    // Both lists sit above Exit; the files of other running programs show
    // up too, as the lists are read when the menu opens.
    if (auto *file = main.findChild<QMenu *>(QStringLiteral("File"))) {
        QAction *exit = main.findChild<QAction *>(QStringLiteral("File_exit"));
        file->insertMenu(exit, recentFiles_);
        file->insertMenu(exit, recentReads_);
        file->insertSeparator(exit);
    }
    connect(recentFiles_, &QMenu::aboutToShow, this, &KeepingUi::fillRecentFiles);
    connect(recentReads_, &QMenu::aboutToShow, this, &KeepingUi::fillRecentReads);

    label_->setObjectName(QStringLiteral("Label_work"));
    label_->setContentsMargins(12, 0, 12, 0);
    if (auto *toolbar = main.findChild<QToolBar *>(QStringLiteral("Toolbar1"))) {
        auto *spacer = new QWidget(toolbar);
        spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        toolbar->addWidget(spacer);
        toolbar->addWidget(label_);
    }
    connect(&keeper_, &WorkKeeper::stateChanged, this, &KeepingUi::showState);
    // Undo back to what was saved, opened or read leaves nothing unsaved.
    if (UndoHistory *history = main.history())
        connect(history, &UndoHistory::savedStateChanged, this, [this](bool atSavedState) {
            if (atSavedState)
                keeper_.savedStateReached();
        });
    connect(&main, &MainWindow::languageSwitched, this, &KeepingUi::applyTexts);
    connect(&keeper_, &WorkKeeper::backupFailed, this,
            [&main](const BilingualText &message) { ShowWarning(&main, message); });
    connect(&keeper_, &WorkKeeper::recoveryFailed, this,
            [&main](const BilingualText &message) { ShowWarning(&main, message); });
    applyTexts();
    fillRecentFiles();
    fillRecentReads();
}

QWidget *KeepingUi::mainWindow() const { return qobject_cast<QWidget *>(parent()); }

void KeepingUi::applyTexts()
{
    recentFiles_->setTitle(Texts("最近文件", "Recent files"));
    recentReads_->setTitle(Texts("最近读取", "Recent reads"));
    showState();
}

void KeepingUi::showState()
{
    label_->setText(keeper_.label().text());
    const QString path = keeper_.source().path;
    label_->setToolTip(path.isEmpty() ? QString() : QDir::toNativeSeparators(path));
    label_->setStyleSheet(
        keeper_.isModified() ? QStringLiteral("color: #b00000; font-weight: bold;") : QString());
}

void KeepingUi::fillRecentFiles()
{
    recentFiles_->clear();
    const QStringList files = keeper_.recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction *action = recentFiles_->addAction(RecentMenuText(i + 1, path));
        action->setObjectName(QStringLiteral("File_recent_%1").arg(i + 1));
        action->setData(path);
        connect(action, &QAction::triggered, this, [this, path] {
            if (!OpenChannelFileAt(path, mainWindow()) && !QFileInfo::exists(path))
                keeper_.forgetRecentFile(path); // gone: no use offering it again
        });
    }
    if (files.isEmpty())
        recentFiles_->addAction(Texts("（无）", "(none)"))->setEnabled(false);
}

void KeepingUi::fillRecentReads()
{
    recentReads_->clear();
    const QList<BackupEntry> backups = keeper_.backups();
    for (int i = 0; i < backups.size(); ++i) {
        const QString path = backups[i].path;
        QAction *action = recentReads_->addAction(BackupMenuText(backups[i].readAt));
        action->setObjectName(QStringLiteral("File_read_%1").arg(i + 1));
        action->setData(path);
        connect(action, &QAction::triggered, this,
                [this, path] { OpenChannelFileAt(path, mainWindow()); });
    }
    if (backups.isEmpty())
        recentReads_->addAction(Texts("（无）", "(none)"))->setEnabled(false);
}

void KeepingUi::offerRecovery()
{
    QWidget *parent = mainWindow();
    const QList<RecoveryCandidate> candidates = keeper_.claimOrphans();
    bool restored = false;
    for (const RecoveryCandidate &candidate : candidates) {
        if (restored) {
            keeper_.release(candidate.id);
            continue;
        }
        switch (Ask(OfferText(candidate), parent)) {
        case RecoveryAnswer::Restore: {
            ChannelFileError error;
            if (keeper_.restore(candidate.id, &error)) {
                restored = true;
            } else {
                keeper_.release(candidate.id);
                ShowWarning(parent,
                            error.message
                                + BilingualText{
                                    QStringLiteral("\n未保存的修改没有恢复。"),
                                    QStringLiteral("\nThe unsaved changes were not restored.")});
            }
            break;
        }
        case RecoveryAnswer::Discard:
            keeper_.discard(candidate.id);
            break;
        case RecoveryAnswer::Later:
            keeper_.release(candidate.id);
            break;
        }
    }
}
