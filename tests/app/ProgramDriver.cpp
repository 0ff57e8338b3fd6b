// The program, started as main() starts it, with a scripted user instead of
// a person at the keyboard. The recovery tests run it as a process of its
// own, kill it and start it again. Arguments, done in order once the start
// (and any offer to restore) is over:
//   --answer=restore|discard|later   how to answer an offer (default later)
//   --open=PATH    the channel file the program is started with
//   edit:SEED      one change: every used cell set from a random sequence
//   image:PATH     the image in memory written to PATH
//   save:PATH      saved through the save window, as a user saves
//   exit           File → Exit
// Lines on standard output: "DATA folder", "OFFER text", "MESSAGE text",
// "DONE" once the actions ran.
#include "ChannelFile.h"
#include "FileWindows.h"
#include "ImageChanges.h"
#include "KeepingUi.h"
#include "MainWindow.h"
#include "Messages.h"
#include "Program.h"
#include "Windows.h"
#include "WorkKeeper.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>
#include <cstdio>

namespace {

void Say(const QString &what, const QString &text = {})
{
    QString line = what;
    if (!text.isEmpty())
        line += u' ' + QString(text).replace(u'\n', u' ');
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

void Edit(quint32 seed)
{
    QRandomGenerator random(seed);
    ImageChanges::instance().apply(ChangeKind::CellEdit, [&random](ImageTable &image) {
        for (int r = 0; r < UsedRows; ++r)
            for (int c = 0; c < BlockSize; ++c)
                image[r][c] = int16_t(random.bounded(256));
    });
}

void Save(const QString &path)
{
    auto *window = qobject_cast<SaveChannelWindow *>(Windows::Open(WindowId::SaveChannel));
    if (!window) {
        Say(QStringLiteral("ERROR no save window"));
        return;
    }
    window->showDirectory(QFileInfo(path).absolutePath());
    window->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QFileInfo(path).fileName());
    window->findChild<QPushButton *>(QStringLiteral("Command_enter"))->click();
}

bool Run(Program &program, const QString &action)
{
    const QString argument = action.section(u':', 1);
    if (action.startsWith(QLatin1String("edit:"))) {
        Edit(argument.toUInt());
    } else if (action.startsWith(QLatin1String("image:"))) {
        ChannelFileError error;
        if (!WriteChannelFile(argument, RadioData, &error))
            Say(QStringLiteral("ERROR"), error.message.english);
    } else if (action.startsWith(QLatin1String("save:"))) {
        Save(argument);
    } else if (action == QLatin1String("exit")) {
        program.window().findChild<QAction *>(QStringLiteral("File_exit"))->trigger();
    } else {
        Say(QStringLiteral("ERROR unknown action"), action);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(ProgramName));

    RecoveryAnswer answer = RecoveryAnswer::Later;
    QStringList actions;
    QString file;
    for (const QString &argument : app.arguments().mid(1)) {
        if (argument.startsWith(QLatin1String("--open=")))
            file = argument.section(u'=', 1);
        else if (argument == QLatin1String("--answer=restore"))
            answer = RecoveryAnswer::Restore;
        else if (argument == QLatin1String("--answer=discard"))
            answer = RecoveryAnswer::Discard;
        else if (argument != QLatin1String("--answer=later"))
            actions << argument;
    }
    SetRecoveryAnswerHook([answer](const QString &text) {
        Say(QStringLiteral("OFFER"), text);
        return answer;
    });
    SetMessageHook(
        [](const QString &text, const QString &) { Say(QStringLiteral("MESSAGE"), text); });

    Program program;
    program.start(file);
    Say(QStringLiteral("DATA"), WorkKeeper::DefaultFolder());
    QTimer::singleShot(0, &app, [&program, actions] {
        for (const QString &action : actions)
            if (!Run(program, action))
                break;
        Say(QStringLiteral("DONE"));
    });
    return app.exec();
}
