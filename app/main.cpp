#include "DemoRadio.h"
#include "Display.h"
#include "MainWindow.h"
#include "PortBinding.h"
#include "Program.h"

#include <QApplication>
#include <QCommandLineParser>
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
    QApplication::setApplicationName(QString::fromLatin1(ProgramName));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Programming software for QL540 radios."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Bind COM1 to this serial device."),
                                  QStringLiteral("DEVICE"));
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Start a simulated radio and bind COM1 to it."));
    parser.addOptions({port, demo});
    parser.process(app);
    if (parser.isSet(port))
        BindPort(1, parser.value(port));
    if (parser.isSet(demo)) {
        QString error;
        const QString device = StartDemoRadio(&app, {QStringLiteral("--sample")}, &error);
        if (device.isEmpty()) {
            std::fprintf(stderr, "ql540-cps: cannot start the simulated radio: %s\n", qPrintable(error));
            return 1;
        }
        BindPort(1, device);
    }

    Program program;
    program.start();
    return app.exec();
}
