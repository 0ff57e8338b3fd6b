// The records of a run over several ports: the exit code of the worst
// result, the summary table and the log line.
#include "PortRecord.h"
#include "SessionState.h"

#include <gtest/gtest.h>

namespace {

PortRecord Record(const char *device, PortOutcome outcome, int attempts = 1, qint64 ms = 9600)
{
    PortRecord r;
    r.device = QString::fromLatin1(device);
    r.outcome = outcome;
    r.attempts = attempts;
    r.elapsedMs = ms;
    return r;
}

} // namespace

TEST(FleetRecords, TheWorstResultDecidesTheExitCode)
{
    struct Case {
        QList<PortOutcome> outcomes;
        int exit;
    };
    const QList<Case> cases{
        {{}, 0},
        {{PortOutcome::Completed, PortOutcome::Completed}, 0},
        {{PortOutcome::Completed, PortOutcome::FileError}, 2},
        {{PortOutcome::FileError, PortOutcome::Failed}, 1},
        {{PortOutcome::Completed, PortOutcome::Stopped}, 1},
        {{PortOutcome::Interrupted, PortOutcome::Completed}, 1},
        // A run cut short leaves a port that never got going: not a success.
        {{PortOutcome::Completed, PortOutcome::Pending}, 1},
    };
    for (const Case &c : cases) {
        QList<PortRecord> records;
        for (PortOutcome outcome : c.outcomes)
            records << Record("/dev/ttyUSB0", outcome);
        EXPECT_EQ(WorstExitCode(records), c.exit) << records.size();
    }
}

TEST(FleetRecords, TheSummaryAlignsItsColumnsAndKeepsEachResultOnOneLine)
{
    PortRecord failed = Record("/dev/ttyUSB10", PortOutcome::Failed, 4, 24210);
    // A port error comes as a message box text of several lines.
    failed.detail = {QStringLiteral("通讯端口打开错误\n设备：/dev/ttyUSB10\n"),
                     QStringLiteral("Communication port is error\nDevice: /dev/ttyUSB10\n")};
    const QList<PortRecord> records{Record("/dev/ttyUSB0", PortOutcome::Completed, 1, 9640),
                                    failed};

    SessionState::instance().setChinese(false);
    EXPECT_EQ(SummaryTable(records), "Port           Time    Attempts  Result\n"
                                     "/dev/ttyUSB0   9.6 s   1         written\n"
                                     "/dev/ttyUSB10  24.2 s  4         failed: "
                                     "Communication port is error Device: /dev/ttyUSB10\n");
    // Chinese captions take two columns each on a terminal.
    SessionState::instance().setChinese(true);
    EXPECT_EQ(SummaryTable(records),
              "端口           用时    尝试次数  结果\n"
              "/dev/ttyUSB0   9.6 s   1         已写入\n"
              "/dev/ttyUSB10  24.2 s  4         失败：通讯端口打开错误 设备：/dev/ttyUSB10\n");
}

TEST(FleetRecords, TheProductionLineNumbersItsRadiosInTheTableAndTheLog)
{
    PortRecord second = Record("/dev/ttyUSB0", PortOutcome::Interrupted, 1, 4000);
    second.number = 2;
    second.percent = 42;
    second.finished = QDateTime(QDate(2026, 12, 7), QTime(19, 30, 5), Qt::OffsetFromUTC, 3600);
    PortRecord first = Record("/dev/ttyUSB0", PortOutcome::Completed);
    first.number = 1;
    SessionState::instance().setChinese(false);
    EXPECT_EQ(
        SummaryTable({first, second}),
        "Port          #  Time   Attempts  Result\n"
        "/dev/ttyUSB0  1  9.6 s  1         written\n"
        "/dev/ttyUSB0  2  4.0 s  1         interrupted, HALF WRITTEN (42%): write it again\n");
    EXPECT_EQ(LogLine(second), "2026-12-07T19:30:05+01:00\t/dev/ttyUSB0\t2\tinterrupted, HALF "
                               "WRITTEN (42%): write it again\t4.0 s\t1");
}

TEST(FleetRecords, AVerifySaysWhatItFoundAndADifferenceOutranksOnlyAFileError)
{
    const QList<QPair<QList<PortOutcome>, int>> exits{
        {{PortOutcome::Completed, PortOutcome::Different}, 3},
        {{PortOutcome::FileError, PortOutcome::Different}, 3},
        // A radio that was not written at all is worse than one that differs.
        {{PortOutcome::Different, PortOutcome::Failed}, 1},
        {{PortOutcome::Different, PortOutcome::Interrupted}, 1},
    };
    for (const auto &[outcomes, exit] : exits) {
        QList<PortRecord> records;
        for (PortOutcome outcome : outcomes)
            records << Record("/dev/ttyUSB0", outcome);
        EXPECT_EQ(WorstExitCode(records), exit) << int(outcomes.last());
    }

    ImageDifference difference;
    struct Case {
        PortTask task;
        bool written;
        PortOutcome outcome;
        int differences;
        const char *english;
        const char *chinese;
    };
    const QList<Case> cases{
        {PortTask::Verify, false, PortOutcome::Completed, 0, "same as the file", "与文件一致"},
        {PortTask::Verify, false, PortOutcome::Different, 1, "1 difference", "1 处不同"},
        {PortTask::Verify, false, PortOutcome::Different, 3, "3 differences", "3 处不同"},
        {PortTask::Verify, false, PortOutcome::Failed, 0, "failed: Fail connect with transceiver.",
         "失败：无法连接"},
        {PortTask::Verify, false, PortOutcome::Stopped, 0, "stopped before a radio answered",
         "已停止，未连接对讲机"},
        // A write with a verify: before the write completed it reads as a
        // write; after it, as the verify of a written radio.
        {PortTask::Write, false, PortOutcome::Failed, 0, "failed: Fail connect with transceiver.",
         "失败：无法连接"},
        {PortTask::Write, false, PortOutcome::Interrupted, 0,
         "interrupted, HALF WRITTEN (0%): write it again",
         "已中断，只写入了一部分（0%），请重新写入"},
        {PortTask::Write, true, PortOutcome::Running, 0, "written, verifying", "已写入，正在校验"},
        {PortTask::Write, true, PortOutcome::Completed, 0, "written and verified",
         "已写入，校验一致"},
        {PortTask::Write, true, PortOutcome::Different, 2,
         "written, but the verify found 2 differences", "已写入，但校验发现 2 处不同"},
        {PortTask::Write, true, PortOutcome::Failed, 0,
         "written, the verify failed: Fail connect with transceiver.",
         "已写入，校验失败：无法连接"},
        {PortTask::Write, true, PortOutcome::Interrupted, 0, "written, the verify was broken off",
         "已写入，校验被中断"},
    };
    for (const Case &c : cases) {
        PortRecord r = Record("/dev/ttyUSB0", c.outcome);
        r.task = c.task;
        r.written = c.written;
        r.verifyAfterWrite = c.task == PortTask::Write;
        r.detail = {QStringLiteral("无法连接"), QStringLiteral("Fail connect with transceiver.")};
        for (int k = 0; k < c.differences; ++k)
            r.differences << difference;
        EXPECT_EQ(OutcomeText(r).english, QString::fromUtf8(c.english));
        EXPECT_EQ(OutcomeText(r).chinese, QString::fromUtf8(c.chinese));
    }
}
