#include "Display.h"
#include "MDImain.h"
#include "WindowCatalog.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (!DisplayAvailable()) {
        std::fprintf(stderr,
                     "ql540-cps: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                     "Start it on a desktop, or under a virtual display with:\n"
                     "  xvfb-run -a -s \"-screen 0 1600x1000x24\" build/bin/ql540-cps\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QL540 CPS"));
    RegisterAllWindows();
    MDImain window;
    window.startUp();
    return app.exec();
}
