#include "Program.h"

#include "FileWindows.h"
#include "KeepingUi.h"
#include "MainWindow.h"
#include "Messages.h"
#include "WindowCatalog.h"
#include "WorkKeeper.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

Program::Program() = default;

Program::~Program()
{
    // The windows go first: closing them may still store a value typed.
    window_.reset();
    if (keeper_)
        keeper_->finish();
}

void Program::start(const QString &file)
{
    RegisterAllWindows();
    keeper_ = std::make_unique<WorkKeeper>(WorkKeeper::DefaultFolder());
    const bool keeping = keeper_->start();
    window_ = std::make_unique<MainWindow>();
    auto *ui = new KeepingUi(*window_, *keeper_); // owned by the main window
    window_->startUp();
    QTimer::singleShot(0, ui, [this, ui, keeping, file] {
        if (!keeping) {
            const QString folder = QDir::toNativeSeparators(keeper_->recoveryFolder());
            ShowWarning(window_.get(),
                        BilingualText{QStringLiteral("无法使用文件夹 %1：程序意外结束时，未保存的"
                                                     "修改将会丢失。"),
                                      QStringLiteral("The folder %1 cannot be used: unsaved "
                                                     "changes will be lost if the program ends "
                                                     "unexpectedly.")}
                            .arg(folder));
        }
        if (!file.isEmpty())
            OpenChannelFileAt(QFileInfo(file).absoluteFilePath(), window_.get());
        ui->offerRecovery();
    });
}
