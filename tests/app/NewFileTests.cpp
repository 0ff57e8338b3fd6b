// `ql540 new` makes byte for byte the file the program saves right after it
// starts, with the same model confirmed in the model window (or none).
#include "MainWindow.h"
#include "Messages.h"
#include "WindowCatalog.h"
#include "Windows.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Click(QWidget *window, const char *button)
{
    auto *b = window->findChild<QPushButton *>(QLatin1String(button));
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
}

} // namespace

class NewFileTests : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(dir->path()); // where the save window saves
        SetMessageHook([](const QString &, const QString &) {});
        RegisterAllWindows();
        window = std::make_unique<MainWindow>();
        window->startUp();
    }
    void cleanup()
    {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetMessageHook(nullptr);
        QDir::setCurrent(previous);
    }

    void theNewFileIsWhatTheProgramSaves_data()
    {
        QTest::addColumn<int>("model"); // -1: no choice made
        QTest::addColumn<QStringList>("options");
        QTest::newRow("as it starts") << -1 << QStringList();
        QTest::newRow("136-174") << 1 << QStringList{"--band", "136-174"};
        const char *const names[] = {"QL540 UHF", "QL540 VHF", "VM90 UHF1", "VM90 UHF2",
                                     "VM90 UHF3", "VM90 UHF4", "VM90 FULL"};
        for (int m = 0; m < 7; ++m)
            QTest::newRow(names[m]) << m << QStringList{"--model", names[m]};
    }
    void theNewFileIsWhatTheProgramSaves()
    {
        QFETCH(int, model);
        QFETCH(QStringList, options);
        if (model >= 0) {
            ChildWindow *type = Windows::Open(WindowId::ModelSelect);
            QVERIFY(type);
            type->findChild<QComboBox *>("Combo_type")->setCurrentIndex(model);
            Click(type, "Command_enter");
        }
        ChildWindow *save = Windows::Open(WindowId::SaveChannel);
        QVERIFY(save);
        save->findChild<QLineEdit *>("Text1")->setText("window.chann");
        Click(save, "Command_enter");
        const QByteArray saved = FileBytes(dir->filePath("window.chann"));
        QCOMPARE(saved.count("\r\n"), 256);

        QProcess cli;
        cli.start(QDir(QStringLiteral(QL540_BIN_DIR)).filePath("ql540"),
                  QStringList{"new", "--output", dir->filePath("cli.chann")} + options);
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(FileBytes(dir->filePath("cli.chann")), saved);
    }

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MainWindow> window;
    QString previous;
};

QTEST_MAIN(NewFileTests)
#include "NewFileTests.moc"
