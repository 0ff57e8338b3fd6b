#include "ChannelFileWindow.h"

#include "Language.h"
#include "Messages.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>

namespace {

const QString InitialName = QStringLiteral("*.chann");

} // namespace

NameProblem CheckChannelFileName(const QString &name)
{
    const QString n = name.trimmed();
    for (QChar c : {u'*', u'$', u'/', u'#', u'\\'})
        if (n.contains(c))
            return NameProblem::InvalidCharacter;
    const QString suffix = n.right(6);
    if (n.size() < 6 || (suffix != QLatin1String(".chann") && suffix != QLatin1String(".CHANN")))
        return NameProblem::WrongSuffix;
    return NameProblem::None;
}

ChannelFileWindow::ChannelFileWindow(WindowId id)
    : ChildWindow(id),
      labelDrive_(new QLabel(this)),
      drive_(new QComboBox(this)),
      dir_(new QTreeView(this)),
      file_(new QListView(this)),
      path_(new QLabel(this)),
      labelName_(new QLabel(this)),
      text_(new QLineEdit(InitialName, this)),
      enter_(new QPushButton(this)),
      close_(new QPushButton(this)),
      dirModel_(new QFileSystemModel(this)),
      fileModel_(new QFileSystemModel(this))
{
    labelDrive_->setObjectName(QStringLiteral("Label_drive"));
    drive_->setObjectName(QStringLiteral("Drive1"));
    dir_->setObjectName(QStringLiteral("Dir1"));
    file_->setObjectName(QStringLiteral("File1"));
    path_->setObjectName(QStringLiteral("Label_path"));
    labelName_->setObjectName(QStringLiteral("Label_Name"));
    text_->setObjectName(QStringLiteral("Text1"));
    enter_->setObjectName(QStringLiteral("Command_enter"));
    close_->setObjectName(QStringLiteral("Command_Close"));

    dirModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    dirModel_->setReadOnly(true);
    dir_->setModel(dirModel_);
    dir_->setHeaderHidden(true);
    for (int column = 1; column < dirModel_->columnCount(); ++column)
        dir_->hideColumn(column);

    fileModel_->setFilter(QDir::Files);
    fileModel_->setNameFilters({InitialName});
    fileModel_->setNameFilterDisables(false); // hide, not grey out, other files
    fileModel_->setReadOnly(true);
    file_->setModel(fileModel_);
    file_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    // The folder whose files are listed, above the list; a long path is
    // shortened in the middle (showPath), so it never widens the window.
    path_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    path_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *grid = new QGridLayout(this);
    grid->addWidget(labelDrive_, 0, 0);
    grid->addWidget(path_, 0, 1);
    grid->addWidget(drive_, 1, 0);
    grid->addWidget(dir_, 2, 0);
    grid->addWidget(file_, 1, 1, 2, 1);
    grid->addWidget(labelName_, 3, 0, 1, 2);
    grid->addWidget(text_, 4, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(enter_);
    buttons->addWidget(close_);
    grid->addLayout(buttons, 5, 0, 1, 2);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    connect(drive_, &QComboBox::activated, this, &ChannelFileWindow::driveChanged);
    connect(dir_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    directoryChanged(dirModel_->filePath(current));
            });
    auto pickFile = [this](const QModelIndex &index) {
        if (index.isValid() && !fileModel_->isDir(index))
            text_->setText(fileModel_->fileName(index));
    };
    connect(file_, &QListView::clicked, this, pickFile);
    // Follow the selection, not the current item: tabbing into the list makes
    // its first file current without selecting it, and that must not replace
    // a name the user typed (a save would then overwrite that file).
    connect(file_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [pickFile](const QItemSelection &selected) {
                if (!selected.indexes().isEmpty())
                    pickFile(selected.indexes().first());
            });
    // The tree fills in folder by folder in the background; each time a
    // folder on the way to the current one arrives, the rows move, so the
    // current folder is brought back into view.
    connect(dirModel_, &QFileSystemModel::directoryLoaded, this, [this](const QString &loaded) {
        const QString current = QDir::cleanPath(directory_);
        if (current == loaded || current.startsWith(loaded.endsWith(u'/') ? loaded : loaded + u'/'))
            revealDirectory();
    });
    // Typing into the name box replaces the "*.chann" pattern (or a picked
    // name) instead of adding to it.
    text_->installEventFilter(this);
    connect(text_, &QLineEdit::returnPressed, this, &ChannelFileWindow::confirmClicked);
    connect(enter_, &QPushButton::clicked, this, &ChannelFileWindow::confirmClicked);
    connect(close_, &QPushButton::clicked, this, [this] { unload(); });
    setEscapeButton(close_);
    labelDrive_->setBuddy(drive_);
    labelName_->setBuddy(text_);
}

void ChannelFileWindow::applyTexts()
{
    const Captions c = captions();
    setWindowTitle(c.title.text());
    labelDrive_->setText(Texts("驱动器：", "Drive:"));
    labelName_->setText(c.name.text());
    enter_->setText(Texts("确  定", "Confirm"));
    close_->setText(Texts("取  消", "Cancel"));
    dir_->setAccessibleName(Texts("文件夹", "Folders"));
    file_->setAccessibleName(Texts("信道参数文件 (*.chann)", "Channel files (*.chann)"));
}

QRect ChannelFileWindow::placement(const FrameSizes &sizes) const
{
    const QSize main = sizes.window;
    const int width = qRound(main.width() / 1.5);
    const int height = qRound(main.height() / 1.3);
    return QRect((main.width() - width) / 2, 0, width, height);
}

void ChannelFileWindow::onLoad()
{
    fillDrives();
    showDirectory(QDir::currentPath());
    text_->setFocus();
    text_->selectAll();
}

bool ChannelFileWindow::eventFilter(QObject *watched, QEvent *event)
{
    // After the focus change, so that the click which gave the focus does
    // not place the cursor over the selection again.
    if (watched == text_ && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, text_, &QLineEdit::selectAll);
    return ChildWindow::eventFilter(watched, event);
}

void ChannelFileWindow::resizeEvent(QResizeEvent *event)
{
    ChildWindow::resizeEvent(event);
    showPath();
}

void ChannelFileWindow::showPath()
{
    const QString native = QDir::toNativeSeparators(directory_);
    path_->setToolTip(native);
    path_->setAccessibleName(Texts("文件夹：", "Folder: ") + native);
    path_->setText(path_->fontMetrics().elidedText(native, Qt::ElideMiddle, path_->width()));
}

void ChannelFileWindow::revealDirectory()
{
    const QModelIndex index = dirModel_->index(directory_);
    if (!index.isValid())
        return;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        dir_->expand(up);
    if (dir_->currentIndex() != index)
        dir_->setCurrentIndex(index);
    dir_->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
    dir_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void ChannelFileWindow::fillDrives()
{
    // Root drives and every mounted volume, so that removable media and
    // network shares mounted below "/" show up as drives too.
    QStringList roots;
    for (const QFileInfo &drive : QDir::drives())
        roots << QDir::cleanPath(drive.absoluteFilePath());
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir())
            roots << QDir::cleanPath(volume.rootPath());
    roots.removeDuplicates();
    roots.sort(Qt::CaseInsensitive);
    drive_->clear();
    for (const QString &root : roots)
        drive_->addItem(QDir::toNativeSeparators(root), root);
}

int ChannelFileWindow::driveIndexOf(const QString &path) const
{
    // The drive whose root is the longest leading part of the path.
    int best = -1;
    int bestLength = -1;
    const QString clean = QDir::cleanPath(path);
    for (int i = 0; i < drive_->count(); ++i) {
        const QString root = drive_->itemData(i).toString();
        const bool inside =
            clean.compare(root, Qt::CaseInsensitive) == 0
            || clean.startsWith(root.endsWith(u'/') ? root : root + u'/', Qt::CaseInsensitive);
        if (inside && root.size() > bestLength) {
            best = i;
            bestLength = int(root.size());
        }
    }
    return best;
}

void ChannelFileWindow::showDirectory(const QString &path)
{
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    driveIndex_ = driveIndexOf(clean);
    drive_->setCurrentIndex(driveIndex_);
    const QString root = driveIndex_ >= 0 ? drive_->itemData(driveIndex_).toString() : clean;
    dir_->setRootIndex(dirModel_->setRootPath(root));
    const QModelIndex index = dirModel_->index(clean);
    if (index.isValid()) {
        dir_->setCurrentIndex(index); // runs directoryChanged
        dir_->expand(index);
    }
    directoryChanged(clean);
    revealDirectory();
}

void ChannelFileWindow::driveChanged(int index)
{
    const QString root = drive_->itemData(index).toString();
    const QStorageInfo volume(root);
    if (!volume.isValid() || !volume.isReady() || !QDir(root).isReadable()) {
        ShowWarning(
            this,
            BilingualText{
                QStringLiteral("驱动器 %1 未准备好。").arg(QDir::toNativeSeparators(root)),
                QStringLiteral("The drive %1 is not ready.").arg(QDir::toNativeSeparators(root))});
        drive_->setCurrentIndex(driveIndex_);
        return;
    }
    showDirectory(root);
}

void ChannelFileWindow::directoryChanged(const QString &path)
{
    if (path == directory_)
        return;
    directory_ = path;
    file_->setRootIndex(fileModel_->setRootPath(path));
    showPath();
}

void ChannelFileWindow::confirmClicked()
{
    const QString name = text_->text().trimmed();
    switch (CheckChannelFileName(name)) {
    case NameProblem::InvalidCharacter: {
        const BilingualText m = invalidNameMessage();
        ShowWarning(this, m);
        return;
    }
    case NameProblem::WrongSuffix: {
        const BilingualText m = suffixMessage();
        ShowWarning(this, m);
        return;
    }
    case NameProblem::None:
        break;
    }
    if (confirm(QDir(directory_).filePath(name)))
        unload();
}
