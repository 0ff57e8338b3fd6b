// The small file chooser that the open and save windows share: a drive
// list, a directory tree, a list of "*.chann" files and a name box. The two
// windows differ only in their captions, messages and what Confirm does.
#pragma once

#include "ChildWindow.h"
#include "Language.h"

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QTreeView;

class ChannelFileWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit ChannelFileWindow(WindowId id);

    // The directory whose files are listed and into which a name is joined.
    QString directory() const { return directory_; }
    // Shows a directory: its drive in Drive1, itself in Dir1 and its files
    // in File1.
    void showDirectory(const QString &path);

protected:
    // Window caption and Label_Name.
    struct Captions {
        BilingualText title;
        BilingualText name;
    };
    virtual Captions captions() const = 0;
    virtual BilingualText invalidNameMessage() const = 0;
    virtual BilingualText suffixMessage() const = 0;
    // Reads or writes the validated full path; true closes the window.
    virtual bool confirm(const QString &path) = 0;

    void applyTexts() override;
    QRect placement(const FrameSizes &sizes) const override;
    void onLoad() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void confirmClicked();
    void driveChanged(int index);
    void directoryChanged(const QString &path);
    void fillDrives();
    int driveIndexOf(const QString &path) const;
    void revealDirectory();
    void showPath();

    QLabel *labelDrive_;
    QComboBox *drive_;
    QTreeView *dir_;
    QListView *file_;
    QLabel *path_;
    QLabel *labelName_;
    QLineEdit *text_;
    QPushButton *enter_;
    QPushButton *close_;
    QFileSystemModel *dirModel_;
    QFileSystemModel *fileModel_;
    QString directory_;
    int driveIndex_ = -1;
};

// The name check of both windows. An empty result means the name is good.
enum class NameProblem { None, InvalidCharacter, WrongSuffix };
NameProblem CheckChannelFileName(const QString &name);
