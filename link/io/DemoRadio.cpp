#include "DemoRadio.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>

QString StartDemoRadio(QObject *owner, const QStringList &arguments, QString *error)
{
    const QString program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("ql540-radio-sim"));
    auto *process = new QProcess(owner);
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start(program, arguments);
    if (!process->waitForStarted(5000)) {
        *error = QStringLiteral("%1: %2").arg(program, process->errorString());
        delete process;
        return {};
    }
    // The simulator prints its device path on its first line.
    const QDeadlineTimer deadline(5000);
    while (!process->canReadLine() && process->state() == QProcess::Running
           && !deadline.hasExpired())
        process->waitForReadyRead(int(deadline.remainingTime()));
    const QString device = QString::fromLocal8Bit(process->readLine()).trimmed();
    if (device.isEmpty()) {
        *error = QStringLiteral("%1 did not report its device").arg(program);
        process->kill();
        process->waitForFinished(1000);
        delete process;
        return {};
    }
    QObject::connect(owner, &QObject::destroyed, process, [process] {
        process->terminate();
        process->waitForFinished(2000);
    });
    return device;
}
