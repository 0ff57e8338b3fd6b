// Running the built ql540 and its simulated radio as a user would, and
// building channel files for them in-process.
#pragma once

#include "ChannelFile.h"
#include "Conversions.h"
#include "Globals.h"
#include "ImageRoutines.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

inline QString BinaryPath(const char *name)
{
    return QDir(QStringLiteral(QL540_BIN_DIR)).filePath(QString::fromLatin1(name));
}

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs ql540 with its standard streams on pipes (not a terminal);
// unprivileged, as the "nobody" account when the tests run as root, so that
// folder permissions apply.
inline CliRun RunCli(const QStringList &arguments, int timeoutMs = 60000, bool unprivileged = false)
{
    QProcess process;
    if (unprivileged && ::geteuid() == 0)
        process.setChildProcessModifier([] {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(3);
        });
    process.start(BinaryPath("ql540"), arguments);
    CliRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "ql540 " << arguments.join(u' ').toStdString() << " did not finish";
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// "ql540 sim" on a pseudo-terminal; stop() ends it as Ctrl+C would, which
// makes it save its --dump.
class SimulatedRadio {
public:
    explicit SimulatedRadio(const QStringList &arguments)
    {
        process_.start(BinaryPath("ql540"), QStringList{QStringLiteral("sim")} + arguments);
        const QDeadlineTimer deadline(5000);
        while (!process_.canReadLine() && !deadline.hasExpired())
            process_.waitForReadyRead(100);
        device_ = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~SimulatedRadio() { stop(); }

    const QString &device() const { return device_; }
    // What the simulator logged on standard error (with --log).
    QString stop()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(5000))
                process_.kill();
            process_.waitForFinished();
            log_ += QString::fromUtf8(process_.readAllStandardError());
        }
        return log_;
    }

private:
    QProcess process_;
    QString device_;
    QString log_;
};

// The image the program starts with: what a test builds a channel file in.
inline ImageTable StartUpImage()
{
    ImageTable image{};
    ResetImage(image);
    return image;
}

// A programmed channel as the grid stores it: RX, offset, direction, high
// power, wide.
inline void ProgramChannel(ImageTable &image, int channel, const char *rx, const char *offset = "0",
                           int direction = 0)
{
    StoreFrequency(image, QString::fromLatin1(rx), channel, 0);
    StoreFrequency(image, QString::fromLatin1(offset), channel, 4);
    image[channel][8] = image[channel][9] = image[channel][10] = image[channel][11] = 255;
    image[channel][12] = int16_t(2 | (direction << 6));
    image[channel][13] = 0x20;
}

inline void SaveImage(const QString &path, const ImageTable &image)
{
    ChannelFileError error;
    ASSERT_TRUE(WriteChannelFile(path, image, &error)) << error.message.english.toStdString();
}

inline QByteArray LoadText(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

inline ImageTable LoadImage(const QString &path)
{
    ImageTable image{};
    ChannelFileError error;
    EXPECT_TRUE(ReadChannelFile(path, image, &error)) << error.message.english.toStdString();
    return image;
}

inline bool SameRows(const ImageTable &a, const ImageTable &b, int first, int last)
{
    for (int r = first; r <= last; ++r)
        for (int c = 0; c < BlockSize; ++c)
            if (a[r][c] != b[r][c]) {
                ADD_FAILURE() << "row " << r << " column " << c << ": " << a[r][c]
                              << " != " << b[r][c];
                return false;
            }
    return true;
}
