// Drives the channel grid as a user would: clicks on cells, keys into the
// grid and its editors. Message boxes are recorded instead of shown.
#pragma once

#include "ChannelGrid.h"
#include "ChannelWindows.h"
#include "Globals.h"
#include "MainWindow.h"
#include "Messages.h"
#include "Windows.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <memory>

struct Message {
    QString text;
    QString title;
};

class GridDriver {
public:
    GridDriver()
    {
        SetMessageHook([this](const QString &text, const QString &title) {
            messages.push_back({text, title});
        });
        RegisterChannelWindows();
        main = std::make_unique<MainWindow>();
        main->startUp();
        attach();
    }
    ~GridDriver()
    {
        main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetMessageHook(nullptr);
    }

    // Finds the grid's controls again, e.g. after a reload.
    void attach()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        grid = Windows::FindAs<ChannelGridWindow>(WindowId::ChannelGrid);
        QVERIFY(grid);
        table = grid->findChild<QTableWidget *>("MSF_chann");
        textEdit = grid->findChild<QLineEdit *>("Text_Edit");
        combo = grid->findChild<QComboBox *>("Combo_edit");
        QVERIFY(table && textEdit && combo);
    }

    QRect cellRect(int n, int col) const
    {
        return table->visualRect(table->model()->index(n - 1, col));
    }
    void click(int n, int col)
    {
        table->scrollTo(table->model()->index(n - 1, col));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cellRect(n, col).center());
    }
    QString cell(int n, int col) const { return table->item(n - 1, col)->text(); }

    // Makes the main window active, so that keys go through the window to
    // the focused control as a user's keys do.
    void activate()
    {
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
    }
    void key(Qt::Key key) { QTest::keyClick(main->windowHandle(), key); }
    void keys(const char *text)
    {
        for (; *text; ++text)
            QTest::keyClick(main->windowHandle(), *text);
    }

    // Replaces the text of the open text editor by typing.
    void type(const QString &text)
    {
        QTest::keyClick(textEdit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(textEdit, Qt::Key_Backspace);
        QTest::keyClicks(textEdit, text);
    }
    // Types into the cell, then leaves it by clicking column 0 of the row.
    void enter(int n, int col, const QString &text)
    {
        click(n, col);
        type(text);
        click(n, 0);
    }
    // Chooses list position p with the arrow keys, as a keyboard user does.
    void choose(int p)
    {
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i < p; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
    }
    void pressButton(const char *name)
    {
        QTest::mouseClick(grid->findChild<QPushButton *>(name), Qt::LeftButton);
    }
    static std::array<int, 16> cells(int row)
    {
        std::array<int, 16> values{};
        for (int c = 0; c < 16; ++c)
            values[c] = RadioData[row][c];
        return values;
    }

    std::unique_ptr<MainWindow> main;
    ChannelGridWindow *grid = nullptr;
    QTableWidget *table = nullptr;
    QLineEdit *textEdit = nullptr;
    QComboBox *combo = nullptr;
    std::vector<Message> messages;
};
