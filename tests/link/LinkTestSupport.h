// What the window-level link tests share: the main window with every
// window registered, a message recorder and image comparisons.
#pragma once

#include "Globals.h"
#include "MainWindow.h"
#include "Messages.h"
#include "PortBinding.h"
#include "RadioSimCore.h"
#include "SystemPortSource.h"
#include "TransferWindow.h"
#include "WindowCatalog.h"
#include "Windows.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <functional>

struct Shown {
    QString text;
    QString title;
};

class LinkWindowHarness {
public:
    LinkWindowHarness()
    {
        SetMessageHook([this](const QString &text, const QString &title) {
            messages.push_back({text, title});
            if (onMessage)
                onMessage(text);
        });
        // The ports present are none, whatever the machine has.
        SetCurrentPortSource(&ports);
        RegisterAllWindows();
        window.startUp();
    }
    ~LinkWindowHarness()
    {
        SetCurrentPortSource(nullptr);
        SetMessageHook(nullptr);
        for (int n = 1; n <= PortChoices; ++n)
            BindPort(n, QString());
    }

    TransferWindow *transfer(WindowId id) { return Windows::FindAs<TransferWindow>(id); }
    QAction *action(const char *name) { return window.findChild<QAction *>(name); }
    template<class T> T *control(WindowId id, const char *name)
    {
        ChildWindow *child = Windows::Find(id);
        return child ? child->findChild<T *>(name) : nullptr;
    }
    bool messageShown(const QString &text) const
    {
        for (const Shown &m : messages)
            if (m.text == text)
                return true;
        return false;
    }

    ListedPortSource ports;
    MainWindow window;
    std::vector<Shown> messages;
    // Runs while a message is up, i.e. before the window that showed it
    // may go away (a finished read unloads itself soon after).
    std::function<void(const QString &text)> onMessage;
};

// A memory where neighbouring bytes differ, so a shift shows at once.
inline RadioMemory PatternMemory()
{
    RadioMemory memory{};
    for (int a = 0; a < RadioMemorySize; ++a)
        memory[a] = uint8_t((a * 13 + a / 16 + 1) % 256);
    return memory;
}

// First cell (row, column) of rows first..last where RadioData and the
// memory differ, or "" when they agree.
inline QString FirstDifference(const RadioMemory &memory, int first, int last)
{
    for (int r = first; r <= last; ++r)
        for (int c = 0; c < 16; ++c)
            if (RadioData[r][c] != memory[r * 16 + c])
                return QStringLiteral("(%1,%2): image %3, radio %4")
                    .arg(r)
                    .arg(c)
                    .arg(RadioData[r][c])
                    .arg(memory[r * 16 + c]);
    return {};
}

// The attempts (handshakes) a transfer against the simulator process took:
// at least those its fault costs, perhaps one more when a loaded machine
// kept a reply from the program until its timeout. The exact counts are the
// virtual-time tests'.
inline bool AttemptsFit(int handshakes, int needed)
{
    return handshakes >= needed && handshakes <= needed + 1;
}

inline const QString ReadDone = QStringLiteral("从对讲机中读取数据完毕 ！");
