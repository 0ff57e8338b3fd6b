#include "FleetRun.h"

#include "ChannelFile.h"
#include "CliSupport.h"
#include "Fleet.h"
#include "FleetJobs.h"
#include "FleetProgress.h"
#include "Globals.h"
#include "Language.h"
#include "PortBinding.h"
#include "PortIdentity.h"
#include "ReadExchange.h"
#include "StopSignal.h"
#include "WritePreparation.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <memory>

QStringList ResolveFleetPorts(const QStringList &values, QString *error)
{
    QStringList devices;
    for (const QString &value : values) {
        bool isNumber = false;
        const int n = value.toInt(&isNumber);
        QString device = value;
        if (isNumber && n >= 1 && n <= PortChoices) {
            device = DeviceForPort(n);
            if (device.isEmpty()) {
                *error =
                    Texts("端口 %1 没有对应的串口设备。", "No serial device is port %1.").arg(n);
                return {};
            }
        }
        if (std::any_of(devices.begin(), devices.end(),
                        [&](const QString &given) { return SamePort(given, device); })) {
            *error = Texts("端口 %1 给出了两次。", "Port %1 is given twice.").arg(device);
            return {};
        }
        devices << device;
    }
    return devices;
}

namespace {

QString OutcomeKey(PortOutcome outcome)
{
    switch (outcome) {
    case PortOutcome::Pending:
        return QStringLiteral("pending");
    case PortOutcome::Running:
        return QStringLiteral("running");
    case PortOutcome::Completed:
        return QStringLiteral("completed");
    case PortOutcome::Different:
        return QStringLiteral("different");
    case PortOutcome::Failed:
        return QStringLiteral("failed");
    case PortOutcome::FileError:
        return QStringLiteral("file-error");
    case PortOutcome::Interrupted:
        return QStringLiteral("interrupted");
    case PortOutcome::Stopped:
        return QStringLiteral("stopped");
    }
    return {};
}

// {"ports": [{"port", "number", "result", "text", "seconds", "attempts",
// and for a verify "differences" as ql540 verify --json gives them}]}.
QJsonObject ResultsJson(const QList<PortRecord> &records, bool verified)
{
    QJsonArray ports;
    for (const PortRecord &r : records) {
        QJsonObject port{{QStringLiteral("port"), r.device},
                         {QStringLiteral("result"), OutcomeKey(r.outcome)},
                         {QStringLiteral("text"), OutcomeText(r).text()},
                         {QStringLiteral("seconds"), double(r.elapsedMs) / 1000.0},
                         {QStringLiteral("attempts"), r.attempts}};
        if (r.number > 0)
            port.insert(QStringLiteral("number"), r.number);
        if (verified
            && (r.outcome == PortOutcome::Completed || r.outcome == PortOutcome::Different))
            port.insert(
                QStringLiteral("verify"),
                DifferencesJson(r.differences, QStringLiteral("file"), QStringLiteral("radio")));
        ports.append(port);
    }
    return {{QStringLiteral("ports"), ports}};
}

// What each radio that differs holds, under its port: the table says only
// how many.
void PrintDifferences(const QList<PortRecord> &records)
{
    for (const PortRecord &r : records) {
        if (r.differences.isEmpty())
            continue;
        PrintOut(QString());
        PrintOut(r.number > 0 ? QStringLiteral("%1  #%2").arg(r.device).arg(r.number) : r.device);
        for (const ImageDifference &d : r.differences)
            PrintOut(QStringLiteral("  ") + DifferenceLine(d));
    }
}

// The run itself: the fleet, its console output, Ctrl+C and the log.
int Run(const FleetOptions &options, const PortJob &job)
{
    QFile log(options.logPath);
    if (!options.logPath.isEmpty()
        && !log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        PrintError(Texts("无法打开日志文件 %1：%2", "Cannot open the log file %1: %2")
                       .arg(QDir::toNativeSeparators(options.logPath), log.errorString()));
        return ExitBadInput;
    }

    Fleet fleet;
    fleet.setPorts(options.devices, job, options.productionLine);
    FleetProgress progress(fleet, options.style);
    StopSignal stop;
    QEventLoop loop;
    QObject::connect(&fleet, &Fleet::allFinished, &loop, &QEventLoop::quit);
    QObject::connect(&fleet, &Fleet::recorded, &loop, [&](const PortRecord &record) {
        if (log.isOpen()) {
            log.write((LogLine(record) + u'\n').toUtf8());
            log.flush();
        }
        if (options.productionLine)
            progress.note(Texts("已写入 %1 台，失败 %2 台", "%1 written, %2 failed")
                              .arg(fleet.completedCount())
                              .arg(fleet.failedCount()));
    });
    QObject::connect(&stop, &StopSignal::stopRequested, &loop, [&](int count) {
        if (count == 1) {
            const QList<PortStation *> finishing = fleet.finishAndStop();
            QStringList ports;
            for (PortStation *station : finishing)
                ports << QStringLiteral("%1 (%2%)")
                             .arg(station->device())
                             .arg(station->current().percent);
            if (!ports.isEmpty())
                progress.note(
                    Texts("正在停止：先完成正在写入的对讲机 %1。再按一次 Ctrl+C "
                          "立即中断（对讲机将只写入一部分）。",
                          "Stopping: finishing the radios being programmed on %1. Press Ctrl+C "
                          "again to break off at once (they will be left half written).")
                        .arg(ports.join(QStringLiteral(", "))));
        } else {
            fleet.abort();
        }
    });

    fleet.start();
    if (fleet.running())
        loop.exec();
    progress.finish();

    const QList<PortRecord> records = options.productionLine ? fleet.records() : fleet.latest();
    if (options.json) {
        const bool verified = job.task == PortTask::Verify || options.verify;
        std::fputs(QJsonDocument(ResultsJson(records, verified)).toJson().constData(), stdout);
        return WorstExitCode(records);
    }
    if (!records.isEmpty())
        PrintOut(SummaryTable(records).trimmed());
    PrintDifferences(records);
    if (options.productionLine)
        PrintOut(Texts("合计：已写入 %1 台，失败 %2 台。", "In all: %1 written, %2 failed.")
                     .arg(fleet.completedCount())
                     .arg(fleet.failedCount()));
    return WorstExitCode(records);
}

// "/dev/ttyUSB0" -> "ttyUSB0", "/dev/pts/3" -> "pts_3", "\\.\com5" -> "COM5":
// a file name part.
QString PortFileName(const QString &device)
{
    QString name = HostPortPlatform() == PortPlatform::Windows
                           && IsValidPortName(device, PortPlatform::Windows)
                       ? PortKey(device, PortPlatform::Windows)
                   : device.startsWith(QLatin1String("/dev/")) ? device.mid(5)
                                                               : device;
    for (QChar &ch : name)
        if (!ch.isLetterOrNumber() && ch != u'-' && ch != u'.')
            ch = u'_';
    return name;
}

} // namespace

int RunFleetWrite(const FleetOptions &options, ImageTable &image)
{
    // The same preparation and checks as the write window, once for all.
    auto blocks = std::make_shared<WriteBlocks>();
    if (const auto refusal = PrepareWriteBlocksOf(image, *blocks)) {
        PrintError(refusal->text());
        return ExitBadInput;
    }
    return Run(options, WriteJob(blocks, options.verify));
}

int RunFleetVerify(const FleetOptions &options, const ImageTable &expected)
{
    return Run(options, VerifyJob(std::make_shared<ImageTable>(expected)));
}

int RunFleetRead(const FleetOptions &options, const QString &folder)
{
    // Rows the read does not fetch keep the start-up image, as with --output.
    const std::shared_ptr<const ImageTable> base = StartImage();
    PortJob job;
    job.task = PortTask::Read;
    job.transfer.exchange = [] { return std::make_unique<ReadExchange>(); };
    job.transfer.completed = [base, folder](LinkExchange &exchange, PortRecord &record) {
        auto image = std::make_unique<ImageTable>(*base);
        StoreBlocks(static_cast<ReadExchange &>(exchange).blocks(), *image);
        const QString stem =
            PortFileName(record.device) + u'-'
            + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        QString path = QDir(folder).filePath(stem + QStringLiteral(".chann"));
        for (int n = 2; QFileInfo::exists(path); ++n)
            path = QDir(folder).filePath(stem + QStringLiteral("-%1.chann").arg(n));
        ChannelFileError error;
        if (WriteChannelFile(path, *image, &error)) {
            record.detail = {QDir::toNativeSeparators(path), QDir::toNativeSeparators(path)};
        } else {
            record.outcome = PortOutcome::FileError;
            record.detail = error.message;
        }
    };
    return Run(options, job);
}
