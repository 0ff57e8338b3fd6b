#include "CompareWindow.h"

#include "ChannelFile.h"
#include "DifferenceTable.h"
#include "ImageChanges.h"
#include "Language.h"
#include "Messages.h"
#include "SpokenStatus.h"
#include "Windows.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

namespace {

// The file compared last, kept beyond the window: a language switch
// reloads it, and a reopening compares with the same file again.
struct ComparedFile {
    QString path;
    std::unique_ptr<ImageTable> image;
};
ComparedFile &Compared()
{
    static ComparedFile compared;
    return compared;
}

} // namespace

CompareWindow::CompareWindow()
    : ChildWindow(WindowId::Compare),
      file_(new QLabel(this)),
      result_(new QLabel(this)),
      table_(new DifferenceTable(this)),
      choose_(new QPushButton(this)),
      close_(new QPushButton(this))
{
    setObjectName(QStringLiteral("Form_Compare"));
    file_->setObjectName(QStringLiteral("Label_File"));
    result_->setObjectName(QStringLiteral("Label_Result"));
    choose_->setObjectName(QStringLiteral("Command_Choose"));
    close_->setObjectName(QStringLiteral("Command_Close"));
    file_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Selectable by mouse, it would take the focus when the window opens,
    // where Tab never comes back; a screen reader reads it as it is.
    file_->setFocusPolicy(Qt::NoFocus);
    file_->setWordWrap(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {choose_, close_}) {
        button->setMinimumWidth(90);
        buttons->addWidget(button);
        buttons->addStretch();
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(file_);
    layout->addWidget(result_);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);

    connect(choose_, &QPushButton::clicked, this, [this] { chooseFile(); });
    connect(close_, &QPushButton::clicked, this, [this] { unload(); });
    setEscapeButton(close_);
    connect(&ImageChanges::instance(), &ImageChanges::rowsChanged, this, [this] { showResult(); });
}

void CompareWindow::applyTexts()
{
    setWindowTitle(Texts("与文件比较", "Compare with File"));
    choose_->setText(Texts("选择文件…", "Choose File…"));
    close_->setText(Texts("关闭", "Close"));
    table_->setSides(Texts("内存中的数据", "In memory"), Texts("文件中的数据", "In the file"));
}

QRect CompareWindow::placement(const FrameSizes &sizes) const
{
    const QSize main = sizes.window;
    const int width = int(main.width() / 1.4);
    const int height = int(main.height() / 1.5);
    return QRect((main.width() - width) / 2, (main.height() - height) / 4, width, height);
}

void CompareWindow::onLoad()
{
    // The file is read again: it may have changed since.
    ComparedFile &compared = Compared();
    if (!compared.path.isEmpty()) {
        auto image = std::make_unique<ImageTable>();
        if (ReadChannelFile(compared.path, *image, nullptr))
            compared.image = std::move(image);
        else
            compared = ComparedFile{};
    }
    showResult();
}

void CompareWindow::chooseFile()
{
    const QString start =
        Compared().path.isEmpty() ? QDir::homePath() : QFileInfo(Compared().path).absolutePath();
    const QString path =
        QFileDialog::getOpenFileName(this, Texts("与文件比较", "Compare with File"), start,
                                     Texts("信道参数文件 (*.chann)", "Channel files (*.chann)"));
    if (!path.isEmpty())
        compareWith(path);
}

bool CompareWindow::compareWith(const QString &path)
{
    auto image = std::make_unique<ImageTable>();
    ChannelFileError error;
    if (!ReadChannelFile(path, *image, &error)) {
        ShowWarning(this, error.message);
        return false;
    }
    Compared() = ComparedFile{path, std::move(image)};
    showResult();
    return true;
}

void CompareWindow::showResult()
{
    const ComparedFile &compared = Compared();
    if (!compared.image) {
        file_->setText(Texts("请选择要与内存中的数据比较的信道参数文件。",
                             "Choose a channel file to compare with the image in memory."));
        result_->clear();
        table_->showDifferences({});
        return;
    }
    file_->setText(Texts("文件：", "File: ") + QDir::toNativeSeparators(compared.path));
    const QList<ImageDifference> differences = DiffImages(RadioData, *compared.image);
    table_->showDifferences(differences);
    ShowStatus(
        result_,
        differences.isEmpty()
            ? Texts("内存中的数据与文件相同 ！", "The image in memory and the file are the same.")
            : Texts("发现 %1 处不同 ！", "%1 differences found.").arg(differences.size()));
}

void OpenCompareWindow()
{
    if (auto *window = qobject_cast<CompareWindow *>(Windows::Open(WindowId::Compare)))
        window->chooseFile();
}
