#include "DemoRadio.h"
#include "Display.h"
#include "PortBinding.h"
#include "Program.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace {

// The options of the program; help and version need no display, so that a
// console user and the man page generator get them anywhere.
struct Options {
    QCommandLineOption port{QStringLiteral("port"),
                            QStringLiteral("Bind COM1 to this serial device."),
                            QStringLiteral("DEVICE")};
    QCommandLineOption demo{QStringLiteral("demo"),
                            QStringLiteral("Bind COM1 to a simulated radio inside the program.")};

    void addTo(QCommandLineParser &parser) const
    {
        parser.setApplicationDescription(QStringLiteral(
            "Programming software for QL540 radios: read a radio's memory over its programming\n"
            "cable, edit its channels, options, VFO and FM presets, save them as a channel file\n"
            "and write them back. Without a display it says so and ends; the command-line tool\n"
            "ql540 does the same work without windows."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOptions({port, demo});
        parser.addPositionalArgument(QStringLiteral("file"),
                                     QStringLiteral("A channel file (.chann) to open."),
                                     QStringLiteral("[FILE.chann]"));
    }
};

} // namespace

int main(int argc, char *argv[])
{
    const Options options;
    if (!DisplayAvailable()) {
        // --help and --version still answer; anything else needs a display.
        QCoreApplication console(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("ql540-cps"));
        QCoreApplication::setApplicationVersion(QStringLiteral(QL540_VERSION));
        QCommandLineParser parser;
        options.addTo(parser);
        parser.parse(QCoreApplication::arguments());
        if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("version")))
            parser.process(console); // prints and exits
        std::fprintf(stderr,
                     "ql540-cps: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                     "Start it on a desktop, or under a virtual display with:\n"
                     "  xvfb-run -a -s \"-screen 0 1600x1000x24\" ql540-cps\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(ProgramName));
    QApplication::setApplicationVersion(QStringLiteral(QL540_VERSION));

    QCommandLineParser parser;
    options.addTo(parser);
    parser.process(app);
    if (parser.isSet(options.port))
        BindPort(1, parser.value(options.port));
    if (parser.isSet(options.demo)) {
        StartDemoRadio();
        BindPort(1, QString::fromLatin1(DemoDeviceName));
    }

    Program program;
    // A file double-clicked (or named on the command line) opens at start.
    program.start(parser.positionalArguments().value(0));
    return app.exec();
}
