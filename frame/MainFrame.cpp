#include "MainFrame.h"

#include <QGuiApplication>
#include <QScreen>

int Twips(int twips)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return qRound(twips * dpi / 1440.0);
}
