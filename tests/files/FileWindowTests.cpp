#include "ChannelFile.h"
#include "FileWindows.h"
#include "ImageChanges.h"
#include "MainWindow.h"
#include "Messages.h"
#include "TestImage.h"
#include "TypingProbe.h"
#include "Windows.h"

#include <QComboBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

namespace {

struct Shown {
    QString text;
    QString title;
};

void Flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool SameUsedCells(const ImageTable &a, const ImageTable &b)
{
    for (int r = 0; r < UsedRows; ++r)
        for (int c = 0; c < BlockSize; ++c)
            if (a[r][c] != b[r][c])
                return false;
    return true;
}

} // namespace

class FileWindowTests : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        previousDir = QDir::currentPath();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        QDir::setCurrent(dir->path());
        messages.clear();
        SetMessageHook([this](const QString &text, const QString &title) {
            messages.push_back({text, title});
        });
        RegisterFileWindows();
        window = new MainWindow;
        window->startUp();
    }
    void cleanup()
    {
        delete window;
        Flush();
        SetMessageHook(nullptr);
        QDir::setCurrent(previousDir);
        dir.reset();
    }

    void captionsControlsAndPlacementInBothLanguages()
    {
        struct Case {
            WindowId id;
            const char *name, *zhTitle, *enTitle, *zhLabel, *enLabel;
        };
        const Case cases[] = {
            {WindowId::OpenChannel, "Form_open_chann", "打开信道参数文件", "Open Channcle File",
             "打开文件名：", "Open File:"},
            {WindowId::SaveChannel, "Form_save_chann", "保存信道参数文件", "Save Channel File",
             "保存文件名：", "Save File:"},
        };
        for (bool chinese : {true, false}) {
            window->switchLanguage(chinese);
            for (const Case &c : cases) {
                ChildWindow *w = Windows::Open(c.id);
                QVERIFY(w);
                QCOMPARE(w->objectName(), QString(c.name));
                QVERIFY(OpenWindows[c.id]);
                QCOMPARE(w->windowTitle(), QString(chinese ? c.zhTitle : c.enTitle));
                QCOMPARE(label(w, "Label_drive"), QString(chinese ? "驱动器：" : "Drive:"));
                QCOMPARE(label(w, "Label_Name"), QString(chinese ? c.zhLabel : c.enLabel));
                QCOMPARE(button(w, "Command_enter")->text(),
                         QString(chinese ? "确  定" : "Confirm"));
                QCOMPARE(button(w, "Command_Close")->text(),
                         QString(chinese ? "取  消" : "Cancel"));
                QCOMPARE(text1(w)->text(), QString("*.chann"));
                auto *files =
                    qobject_cast<QFileSystemModel *>(w->findChild<QListView *>("File1")->model());
                QVERIFY(files);
                QCOMPARE(files->nameFilters(), QStringList{"*.chann"});
                QVERIFY(w->findChild<QTreeView *>("Dir1"));
                QVERIFY(w->findChild<QComboBox *>("Drive1")->count() > 0);

                const QSize main = window->size();
                const QRect frame = w->parentWidget()->geometry();
                QCOMPARE(frame.width(), qRound(main.width() / 1.5));
                QCOMPARE(frame.height(), qRound(main.height() / 1.3));
                QCOMPARE(frame.left(), (main.width() - frame.width()) / 2);
                QCOMPARE(frame.top(), 0);

                // Cancel closes without any other effect.
                const ImageTable before = RadioData;
                QTest::mouseClick(button(w, "Command_Close"), Qt::LeftButton);
                Flush();
                QVERIFY(!OpenWindows[c.id]);
                QVERIFY(!Windows::Find(c.id));
                QVERIFY(RadioData == before);
                QVERIFY(messages.empty());
            }
        }
    }

    void badNamesAreRefusedWithTheirMessages()
    {
        struct Case {
            const char *name;
            bool invalid; // else a suffix problem
        };
        const Case cases[] = {{"*.chann", true},       {"a#b.chann", true},
                              {"a$.chann", true},      {"x\\y.chann", true},
                              {"x/y.chann", true},     {"radio.Chann", false},
                              {"radio.chan", false},   {"ann", false},
                              {"radio.CHANNx", false}, {"", false}};
        for (bool chinese : {true, false}) {
            window->switchLanguage(chinese);
            for (WindowId id : {WindowId::SaveChannel, WindowId::OpenChannel}) {
                const bool save = id == WindowId::SaveChannel;
                ChildWindow *w = Windows::Open(id);
                for (const Case &c : cases) {
                    messages.clear();
                    text1(w)->setText(QString::fromUtf8(c.name));
                    QTest::mouseClick(button(w, "Command_enter"), Qt::LeftButton);
                    QCOMPARE(messages.size(), size_t(1));
                    QCOMPARE(messages[0].title, QString(chinese ? "操作提示" : "Operate prompt"));
                    const char *expected =
                        c.invalid
                            ? (save ? (chinese ? "保存信道参数所需要的文件名无效 "
                                               : "Store the file name of channel parameter need is "
                                                 "nullity. ")
                                    : (chinese
                                           ? "打开信道参数文件名无效 "
                                           : "Open the file name of channel parameter is nullity "))
                            : (save ? (chinese ? "建议不要修改系统默认的文件后缀名！"
                                               : "Advice don't modify file suffix name of system "
                                                 "default ！")
                                    : (chinese ? "无效的信道参数文件后缀名！"
                                               : "Nullity file suffix name of channel parameter."));
                    QCOMPARE(messages[0].text, QString::fromUtf8(expected));
                    // The window stays with the name as typed; nothing was written.
                    QCOMPARE(Windows::Find(id), w);
                    QCOMPARE(text1(w)->text(), QString::fromUtf8(c.name));
                    QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList());
                }
                w->unload();
                Flush();
            }
        }
    }

    void saveWritesTheImageWithThePendingNameAndOverwrites()
    {
        TypingProbe *typing = OpenTypingProbe(WindowId::FmList, [] {
            SetUpCell(NameRowFirst, 0, 12); // "A" typed into channel 1's name
            return true;
        });
        const QString path = dir->filePath("radio.CHANN");
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("something else");
        }
        ChildWindow *w = Windows::Open(WindowId::SaveChannel);
        QCOMPARE(typing->commits, 1);
        QCOMPARE(RadioData[NameRowFirst][0], int16_t(12));
        text1(w)->setText("  radio.CHANN ");
        QTest::mouseClick(button(w, "Command_enter"), Qt::LeftButton);

        QCOMPARE(FileBytes(path), FormatChannelFile(RadioData));
        QCOMPARE(messages.size(), size_t(1)); // no question before overwriting
        QCOMPARE(messages[0].text, QString("信道参数保存完毕 ！"));
        Flush();
        QVERIFY(!OpenWindows[WindowId::SaveChannel]);

        // Enter in the name box confirms as well.
        w = Windows::Open(WindowId::SaveChannel);
        text1(w)->setText(".chann");
        QTest::keyClick(text1(w), Qt::Key_Return);
        QCOMPARE(FileBytes(dir->filePath(".chann")), FormatChannelFile(RadioData));
    }

    void openReplacesTheImageButNotTheBand()
    {
        ImageTable image = RadioData;
        QRandomGenerator random(5);
        for (int r = 0; r < UsedRows; ++r)
            for (int c = 0; c < BlockSize; ++c)
                image[r][c] = int16_t(random.bounded(256));
        QVERIFY(WriteChannelFile(dir->filePath("other.chann"), image, nullptr));
        const ImageTable before = RadioData;

        window->switchLanguage(false);
        ChildWindow *w = Windows::Open(WindowId::OpenChannel);
        text1(w)->setText("other.chann");
        QSignalSpy changes(&ImageChanges::instance(), &ImageChanges::rowsChanged);
        QTest::mouseClick(button(w, "Command_enter"), Qt::LeftButton);
        QVERIFY(SameUsedCells(RadioData, image));
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes.first().first().value<ImageChange>().kind, ChangeKind::OpenedFile);
        QCOMPARE(RadioData[254][15], image[254][15]);
        QCOMPARE(RadioData[255][0], image[255][0]);
        QCOMPARE(RadioData[256][0], before[256][0]); // beyond the file: untouched
        QCOMPARE(BandLowMHz, 400.0);
        QCOMPARE(BandHighMHz, 470.0);
        QCOMPARE(ModelIndex, int16_t(0));
        QCOMPARE(messages.size(), size_t(1));
        QCOMPARE(messages[0].text, QString("Succeed fold the channel parameter from file."));
        QCOMPARE(messages[0].title, QString("Operate prompt"));
        Flush();
        QVERIFY(!OpenWindows[WindowId::OpenChannel]);
    }

    void badFilesLeaveTheImageAndTheWindow()
    {
        QByteArray text = FormatChannelFile(RadioData);
        text.replace(" 80 ", "300 ");
        writeFile("range.chann", text);
        writeFile("short.chann", " 1  2  3 \r\n");
        writeFile("words.chann", "hello world");
        writeFile("escape.chann", QByteArray("\x1b[2J\0 1", 7));
        QDir(dir->path()).mkdir("folder.chann");
        const ImageTable before = RadioData;

        window->switchLanguage(false);
        ChildWindow *w = Windows::Open(WindowId::OpenChannel);
        const struct {
            const char *name;
            const char *says;
        } cases[] = {{"range.chann", "Line 1, position 1: the value 300 is outside 0..255."},
                     {"short.chann", "the file ends after only 3 numbers"},
                     {"words.chann", "\"hello\" is not a number"},
                     // Shown escaped and whole, even past a NUL byte.
                     {"escape.chann", "\"\\x1b[2J\\x00\" is not a number."},
                     {"missing.chann", "missing.chann"},
                     {"folder.chann", "folder.chann"}};
        for (const auto &c : cases) {
            messages.clear();
            text1(w)->setText(c.name);
            QTest::mouseClick(button(w, "Command_enter"), Qt::LeftButton);
            QCOMPARE(messages.size(), size_t(1));
            QVERIFY2(messages[0].text.contains(c.says), qPrintable(messages[0].text));
            QVERIFY(messages[0].text.contains("unchanged"));
            QVERIFY(RadioData == before);
            QCOMPARE(Windows::Find(WindowId::OpenChannel), w);
        }

        window->switchLanguage(true);
        w = Windows::Open(WindowId::OpenChannel);
        messages.clear();
        text1(w)->setText("range.chann");
        QTest::mouseClick(button(w, "Command_enter"), Qt::LeftButton);
        QVERIFY2(messages[0].text.contains("第 1 行第 1 个字符"), qPrintable(messages[0].text));
        QVERIFY(RadioData == before);
    }

    void aFailedSaveIsReportedAndKeepsTheWindow()
    {
        QDir(dir->path()).mkdir("taken.chann");
        window->switchLanguage(false);
        ChildWindow *w = Windows::Open(WindowId::SaveChannel);
        text1(w)->setText("taken.chann");
        QTest::mouseClick(button(w, "Command_enter"), Qt::LeftButton);
        QCOMPARE(messages.size(), size_t(1));
        QVERIFY2(messages[0].text.startsWith("Cannot write the file"),
                 qPrintable(messages[0].text));
        QCOMPARE(Windows::Find(WindowId::SaveChannel), w);
    }

    void listsFollowDirectoryAndFilePicks()
    {
        QDir(dir->path()).mkpath("sub");
        writeFile("a.chann", "x");
        writeFile("notes.txt", "x");
        writeFile("sub/b.chann", "x");
        ChildWindow *w = Windows::Open(WindowId::SaveChannel);
        auto *w1 = qobject_cast<ChannelFileWindow *>(w);
        QVERIFY(w1);
        QCOMPARE(QFileInfo(w1->directory()), QFileInfo(dir->path()));

        auto *drives = w->findChild<QComboBox *>("Drive1");
        const QString root = drives->currentData().toString();
        QVERIFY2(QDir::cleanPath(dir->path()).startsWith(root), qPrintable(root));

        auto *files = w->findChild<QListView *>("File1");
        QTRY_COMPARE(listed(files), QStringList{"a.chann"});
        const QModelIndex first = files->model()->index(0, 0, files->rootIndex());
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualRect(first).center());
        QCOMPARE(text1(w)->text(), QString("a.chann"));

        auto *tree = w->findChild<QTreeView *>("Dir1");
        auto *dirs = qobject_cast<QFileSystemModel *>(tree->model());
        tree->setCurrentIndex(dirs->index(dir->filePath("sub")));
        QCOMPARE(w1->directory(), dir->filePath("sub"));
        QTRY_COMPARE(listed(files), QStringList{"b.chann"});

        text1(w)->setText("c.chann");
        QTest::mouseClick(button(w, "Command_enter"), Qt::LeftButton);
        QVERIFY(QFile::exists(dir->filePath("sub/c.chann")));
    }

    void aTypedNameSurvivesTabbingIntoTheFileList()
    {
        writeFile("a.chann", "x");
        writeFile("b.chann", "x");
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
        ChildWindow *w = Windows::Open(WindowId::SaveChannel);
        auto *files = w->findChild<QListView *>("File1");
        QTRY_COMPARE(listed(files), (QStringList{"a.chann", "b.chann"}));

        text1(w)->setFocus();
        text1(w)->setText("new.chann");
        QTest::keyClick(text1(w), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), files);
        QCOMPARE(text1(w)->text(), QString("new.chann"));

        // Moving through the list with the keys does pick a file.
        QTest::keyClick(files, Qt::Key_Down);
        QVERIFY(text1(w)->text() != QString("new.chann"));
        QVERIFY(text1(w)->text().endsWith(".chann"));
    }

    void typingReplacesTheNameBoxText()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
        for (WindowId id : {WindowId::OpenChannel, WindowId::SaveChannel}) {
            ChildWindow *w = Windows::Open(id);
            QCOMPARE(text1(w)->selectedText(), QString("*.chann"));
            QTest::keyClicks(text1(w), "radio.chann");
            QCOMPARE(text1(w)->text(), QString("radio.chann"));

            // Coming back to the box by a click selects its text again.
            auto *files = w->findChild<QListView *>("File1");
            files->setFocus();
            QTRY_VERIFY(!text1(w)->hasFocus());
            QTest::mouseClick(text1(w), Qt::LeftButton, {}, QPoint(5, 5));
            QTRY_COMPARE(text1(w)->selectedText(), QString("radio.chann"));
            QTest::keyClicks(text1(w), "other.chann");
            QCOMPARE(text1(w)->text(), QString("other.chann"));
            w->unload();
            Flush();
        }
    }

    void theFolderTreeShowsTheCurrentFolderAndItsPath()
    {
        // Enough folders beside it that the current one lies far down the
        // tree, once the folders above it have been listed.
        for (int i = 0; i < 80; ++i)
            QDir(dir->path()).mkpath(QStringLiteral("f%1/inner").arg(i, 2, 10, QLatin1Char('0')));
        const QString current = dir->filePath("f70/inner");
        QDir::setCurrent(current);
        ChildWindow *w = Windows::Open(WindowId::OpenChannel);
        auto *tree = w->findChild<QTreeView *>("Dir1");
        auto *dirs = qobject_cast<QFileSystemModel *>(tree->model());
        const QModelIndex index = dirs->index(current);
        QVERIFY(index.isValid());
        // The model lists folders in a thread of its own; on a loaded
        // machine that takes seconds.
        QTRY_COMPARE_WITH_TIMEOUT(dirs->rowCount(dirs->index(dir->path())), 80, 60000);
        QTRY_VERIFY_WITH_TIMEOUT(tree->viewport()->rect().contains(tree->visualRect(index)), 60000);
        QCOMPARE(tree->currentIndex(), index);
        QVERIFY(tree->selectionModel()->isSelected(index));

        auto *path = w->findChild<QLabel *>("Label_path");
        QVERIFY(path);
        QCOMPARE(path->toolTip(), QDir::toNativeSeparators(current));
        QVERIFY2(path->text() == path->toolTip() || path->text().contains(QChar(0x2026)),
                 qPrintable(path->text()));
        QVERIFY(path->text().endsWith("inner"));
    }

private:
    static QString label(QWidget *w, const char *name)
    {
        return w->findChild<QLabel *>(name)->text();
    }
    static QPushButton *button(QWidget *w, const char *name)
    {
        return w->findChild<QPushButton *>(name);
    }
    static QLineEdit *text1(QWidget *w) { return w->findChild<QLineEdit *>("Text1"); }
    static QStringList listed(QListView *view)
    {
        QStringList names;
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
            names << view->model()->index(row, 0, view->rootIndex()).data().toString();
        names.sort();
        return names;
    }
    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(dir->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    MainWindow *window = nullptr;
    std::unique_ptr<QTemporaryDir> dir;
    QString previousDir;
    std::vector<Shown> messages;
};

QTEST_MAIN(FileWindowTests)
#include "FileWindowTests.moc"
