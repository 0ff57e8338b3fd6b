#include "FileWindows.h"

#include "ChannelFile.h"
#include "CompareWindow.h"
#include "ImageChanges.h"
#include "ImageOrigin.h"
#include "Messages.h"
#include "Windows.h"

#include <QFileInfo>
#include <memory>

SaveChannelWindow::SaveChannelWindow() : ChannelFileWindow(WindowId::SaveChannel)
{
    setObjectName(QStringLiteral("Form_save_chann"));
}

ChannelFileWindow::Captions SaveChannelWindow::captions() const
{
    return {{QStringLiteral("保存信道参数文件"), QStringLiteral("Save Channel File")},
            {QStringLiteral("保存文件名："), QStringLiteral("Save File:")}};
}

BilingualText SaveChannelWindow::invalidNameMessage() const
{
    return {QStringLiteral("保存信道参数所需要的文件名无效 "),
            QStringLiteral("Store the file name of channel parameter need is nullity. ")};
}

BilingualText SaveChannelWindow::suffixMessage() const
{
    return {QStringLiteral("建议不要修改系统默认的文件后缀名！"),
            QStringLiteral("Advice don't modify file suffix name of system default ！")};
}

bool SaveChannelWindow::confirm(const QString &path)
{
    // Typed in another window while this one was open: it belongs in the file.
    if (!Windows::CommitTyped())
        return false;
    ChannelFileError error;
    if (!WriteChannelFile(path, RadioData, &error)) {
        ShowWarning(this, error.message);
        return false;
    }
    ImageOrigin::instance().fileSaved(path);
    ShowWarning(this, BilingualText{QStringLiteral("信道参数保存完毕 ！"),
                                    QStringLiteral("Complete storing channel parameter.")});
    return true;
}

OpenChannelWindow::OpenChannelWindow() : ChannelFileWindow(WindowId::OpenChannel)
{
    setObjectName(QStringLiteral("Form_open_chann"));
}

ChannelFileWindow::Captions OpenChannelWindow::captions() const
{
    return {{QStringLiteral("打开信道参数文件"), QStringLiteral("Open Channcle File")},
            {QStringLiteral("打开文件名："), QStringLiteral("Open File:")}};
}

namespace {

const BilingualText OpenInvalidName{
    QStringLiteral("打开信道参数文件名无效 "),
    QStringLiteral("Open the file name of channel parameter is nullity ")};
const BilingualText OpenWrongSuffix{
    QStringLiteral("无效的信道参数文件后缀名！"),
    QStringLiteral("Nullity file suffix name of channel parameter.")};

// Reads the file into the image, or leaves the image as it was and says why.
bool OpenChannelFile(const QString &path, QWidget *parent)
{
    // What is typed elsewhere is stored (or refused) before the file replaces it.
    if (!Windows::CommitTyped())
        return false;
    // Read into a copy so that a bad file leaves the image as it was.
    auto image = std::make_unique<ImageTable>(RadioData);
    ChannelFileError error;
    if (!ReadChannelFile(path, *image, &error)) {
        ShowWarning(parent,
                    error.message
                        + BilingualText{QStringLiteral("\n信道参数没有调入，原有参数保持不变。"),
                                        QStringLiteral("\nThe channel parameters were not loaded; "
                                                       "the current ones are unchanged.")});
        return false;
    }
    ImageChanges::instance().replaceImage(ChangeKind::OpenedFile, *image);
    ImageOrigin::instance().fileOpened(path);
    ShowWarning(parent,
                BilingualText{QStringLiteral("信道参数从文件调入成功 ！"),
                              QStringLiteral("Succeed fold the channel parameter from file.")});
    return true;
}

} // namespace

BilingualText OpenChannelWindow::invalidNameMessage() const { return OpenInvalidName; }

BilingualText OpenChannelWindow::suffixMessage() const { return OpenWrongSuffix; }

bool OpenChannelWindow::confirm(const QString &path) { return OpenChannelFile(path, this); }

bool OpenChannelFileAt(const QString &path, QWidget *parent)
{
    const auto refuse = [parent](const BilingualText &m) {
        ShowWarning(parent, m);
        return false;
    };
    switch (CheckChannelFileName(QFileInfo(path).fileName())) {
    case NameProblem::InvalidCharacter:
        return refuse(OpenInvalidName);
    case NameProblem::WrongSuffix:
        return refuse(OpenWrongSuffix);
    case NameProblem::None:
        break;
    }
    return OpenChannelFile(path, parent);
}

void RegisterFileWindows()
{
    // Both go when the user closes the channel grid, the open window first.
    const WindowTraits traits{.dialogLike = true,
                              .closesWith = std::nullopt,
                              .closedByCloseOf = WindowId::ChannelGrid,
                              .takesImage = true};
    Windows::Register(
        WindowId::OpenChannel, [] { return new OpenChannelWindow; }, traits);
    Windows::Register(
        WindowId::SaveChannel, [] { return new SaveChannelWindow; }, traits);
    // What is typed is part of the image compared.
    Windows::Register(WindowId::Compare, [] { return new CompareWindow; },
                      {.dialogLike = false,
                       .closesWith = std::nullopt,
                       .closedByCloseOf = std::nullopt,
                       .takesImage = true});
}
