// The program from the keyboard alone: every step below is a key pressed
// in the main window, going wherever the focus is, as a user without a
// mouse works. The radio is the simulator on a pty.
#include "ChannelFile.h"
#include "Conversions.h"
#include "MainWindow.h"
#include "Messages.h"
#include "PortBinding.h"
#include "SimProcess.h"
#include "StartedProgram.h"
#include "Windows.h"

#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QTest>

namespace {

QString Describe(QObject *object)
{
    if (!object)
        return QStringLiteral("nothing");
    return QString::fromLatin1(object->metaObject()->className()) + u' ' + object->objectName();
}

} // namespace

class KeyboardOnlyTests : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        window = StartProgram([this](const QString &text, const QString &) { messages << text; });
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    void cleanup()
    {
        EndProgram(window);
        messages.clear();
    }

    // From the menu to the radio: three channels typed into the grid, the
    // squelch level chosen, the file saved and the radio written.
    void channelsSquelchSaveAndWriteByKeysAlone()
    {
        SimProcess sim;
        RadioMemory erased;
        erased.fill(0xFF);
        QVERIFY(sim.start(erased, {"--no-pace"}));
        BindPort(1, sim.device());
        QTemporaryDir folder;
        const QString before = QDir::currentPath();
        QDir::setCurrent(folder.path()); // where the save window starts

        // Alt, then along the menu bar to Edit, down into it: the first entry
        // is the channel grid.
        key(Qt::Key_Alt, Qt::AltModifier);
        key(Qt::Key_Right); // Model
        key(Qt::Key_Right); // Edit
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        QTRY_COMPARE(Describe(QApplication::focusWidget()), QString("QTableWidget MSF_chann"));

        // Each channel: to its receive cell, the frequency, Enter to the
        // transmit cell and Enter to the decode tone, a tone by arrow, Enter
        // through encode, power and bandwidth to the name, the name, and
        // Enter to the next channel's receive cell.
        key(Qt::Key_Right);
        const char *const frequencies[] = {"446.00625", "446.1", "462.5625"};
        const char *const names[] = {"ONE", "TWO", "THREE"};
        for (int n = 0; n < 3; ++n) {
            type(frequencies[n]);
            key(Qt::Key_Return);
            key(Qt::Key_Return);
            for (int i = 0; i <= n; ++i)
                key(Qt::Key_Down); // tone entries 1, 2 and 3: 67.0, 71.9, 74.4
            for (int i = 0; i < 4; ++i)
                key(Qt::Key_Return);
            type(names[n]);
            key(Qt::Key_Return);
        }

        // The squelch level: F10 opens the first menu, Right goes on to the
        // open Edit menu, Down to its second entry.
        key(Qt::Key_F10);
        key(Qt::Key_Right); // Model
        key(Qt::Key_Right); // Edit, opened
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        QTRY_VERIFY(Windows::IsOpen(WindowId::Options));
        QTRY_COMPARE(Describe(QApplication::focusWidget()), QString("QComboBox Combo_TOT"));
        key(Qt::Key_Tab);
        QCOMPARE(Describe(QApplication::focusWidget()), QString("QComboBox Combo_Sql"));
        key(Qt::Key_Up);
        key(Qt::Key_Up); // 5 was shown

        // Saved through the save window: the name typed over "*.chann".
        key(Qt::Key_S, Qt::ControlModifier);
        QTRY_COMPARE(Describe(QApplication::focusWidget()), QString("QLineEdit Text1"));
        type("keys.chann");
        key(Qt::Key_Return);
        QTRY_VERIFY(messages.contains(QStringLiteral("信道参数保存完毕 ！")));

        // The write window, its Write button pressed with the space bar.
        key(Qt::Key_W, Qt::ControlModifier);
        QTRY_COMPARE(Describe(QApplication::focusWidget()), QString("QPushButton Command_Write"));
        key(Qt::Key_Space);
        QTRY_VERIFY_WITH_TIMEOUT(!Windows::IsOpen(WindowId::Write), 30000);
        QDir::setCurrent(before);

        // What the image, the file and the radio hold.
        const struct {
            int channel;
            int bcd[4];
            int decodeIndex;
            const char *name;
        } expected[] = {
            {1, {0x25, 0x06, 0x60, 0x44}, 0, "ONE"},
            {2, {0x00, 0x00, 0x61, 0x44}, 1, "TWO"},
            {3, {0x50, 0x62, 0x25, 0x46}, 2, "THREE"},
        };
        ImageTable saved{};
        QVERIFY(ReadChannelFile(folder.filePath("keys.chann"), saved, nullptr));
        const RadioMemory radio = sim.stop();
        for (const auto &e : expected) {
            for (int c = 0; c < 4; ++c) {
                QCOMPARE(radio[e.channel * 16 + c], uint8_t(e.bcd[c]));
                QCOMPARE(int(saved[e.channel][c]), e.bcd[c]);
            }
            QCOMPARE(radio[e.channel * 16 + 8], uint8_t(0)); // CTCSS
            QCOMPARE(radio[e.channel * 16 + 9], uint8_t(e.decodeIndex));
            const QString name = QString::fromLatin1(e.name);
            for (int k = 0; k < 5; ++k) {
                const int address = NameRowFirst * 16 + (e.channel - 1) * 5 + k;
                const int code = k < name.size() ? CharToCode(QString(name.at(k))) : 0xFF;
                QCOMPARE(int(radio[address]), code);
                QCOMPARE(int(saved[address / 16][address % 16]), code);
            }
        }
        QCOMPARE(int(radio[208 * 16]), 3);
        QCOMPARE(int(saved[208][0]), 3);
        QVERIFY2(!messages.contains(QStringLiteral("与对讲机联络失败 ！")),
                 qPrintable(messages.join(u'\n')));
    }

private:
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(window->windowHandle(), k, modifiers);
        QCoreApplication::processEvents();
    }
    void type(const char *text)
    {
        for (; *text; ++text)
            QTest::keyClick(window->windowHandle(), *text);
    }

    MainWindow *window = nullptr;
    QStringList messages;
};

QTEST_MAIN(KeyboardOnlyTests)
#include "KeyboardOnlyTests.moc"
