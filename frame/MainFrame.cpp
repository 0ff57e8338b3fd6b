#include "MainFrame.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>
#include <QWidget>

namespace {
MainFrame *theFrame = nullptr;
}

MainFrame *TheMainFrame() { return theFrame; }
void SetMainFrame(MainFrame *frame) { theFrame = frame; }

QSize MainWindowSize() { return theFrame ? theFrame->widget()->size() : QSize(1024, 700); }

QSize MainInnerSize()
{
    return theFrame ? theFrame->mdiArea()->viewport()->size() : QSize(1000, 600);
}

int Twips(int twips)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return qRound(twips * dpi / 1440.0);
}
