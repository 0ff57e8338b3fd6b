#include "StartedProgram.h"

#include "MainWindow.h"
#include "PortBinding.h"
#include "WindowCatalog.h"

#include <QCoreApplication>
#include <QEvent>

MainWindow *StartProgram(const MessageHook &hook)
{
    SetMessageHook(hook);
    RegisterAllWindows();
    auto *window = new MainWindow;
    window->startUp();
    return window;
}

void EndProgram(MainWindow *window)
{
    delete window;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (int n = 1; n <= PortChoices; ++n)
        BindPort(n, QString());
    SetMessageHook(nullptr);
}
