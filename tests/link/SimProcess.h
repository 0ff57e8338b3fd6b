// The radio simulator as a child process on a real pty, for tests that go
// through QSerialPort like the program does.
#pragma once

#include "ChannelFile.h"
#include "RadioSimCore.h"

#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>

class SimProcess {
public:
    // Starts bin/ql540-radio-sim with the image given (written to a file
    // first) and the extra arguments; device() is its pty.
    bool start(const RadioMemory &memory, const QStringList &arguments)
    {
        ImageTable image{};
        for (int a = 0; a < RadioMemorySize; ++a)
            image[a / 16][a % 16] = memory[a];
        if (!WriteChannelFile(imagePath(), image, nullptr))
            return false;
        process_.start(QStringLiteral(QL540_SIM_PATH),
                       QStringList{"--image", imagePath(), "--dump", dumpPath(), "--log"}
                           + arguments);
        if (!process_.waitForStarted(5000))
            return false;
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(5000))
                return false;
        device_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
        return !device_.isEmpty();
    }

    // Stops it (it saves its memory) and returns that memory.
    RadioMemory stop()
    {
        process_.terminate();
        process_.waitForFinished(5000);
        log_ += QString::fromLocal8Bit(process_.readAllStandardError());
        ImageTable image{};
        RadioMemory memory{};
        if (ReadChannelFile(dumpPath(), image, nullptr))
            for (int a = 0; a < RadioMemorySize; ++a)
                memory[a] = uint8_t(image[a / 16][a % 16]);
        return memory;
    }

    // Protocol events logged so far ("handshake", "read block 7", ...).
    int count(const QString &event)
    {
        log_ += QString::fromLocal8Bit(process_.readAllStandardError());
        return int(log_.split(QLatin1Char('\n')).count(event));
    }
    // Events that start so ("power " counts every power frame).
    int countStarting(const QString &prefix)
    {
        log_ += QString::fromLocal8Bit(process_.readAllStandardError());
        const QStringList lines = log_.split(QLatin1Char('\n'));
        return int(std::count_if(lines.begin(), lines.end(),
                                 [&](const QString &line) { return line.startsWith(prefix); }));
    }

    QString device() const { return device_; }
    ~SimProcess()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }

private:
    QString imagePath() const { return dir_.filePath(QStringLiteral("start.chann")); }
    QString dumpPath() const { return dir_.filePath(QStringLiteral("dump.chann")); }

    QTemporaryDir dir_;
    QProcess process_;
    QString device_;
    QString log_;
};
