// The fault matrix in virtual time: every case of FaultMatrixCases.h run by
// the link engine against the simulated radio's core, unpaced as the
// process matrix runs it, each task driven as ql540 drives it. Here nothing
// is left to the machine's load: the attempts are exact and the end falls
// within the link's schedule.
#include "FaultMatrixCases.h"
#include "VirtualLink.h"

#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>

using namespace FaultMatrix;

namespace {

const QString FailConnect = QStringLiteral("Fail connect with transceiver.");
const QString PortError = QStringLiteral("Communication port is error");

// How a case ended.
struct Ending {
    bool ended = false; // within the time allowed
    bool completed = false;
    double atMs = 0;
    int handshakes = 0;
    QStringList messages; // in English, as shown
    QString radioLog;
};

template<class Link> Ending EndingOf(Link &link, bool ended, bool completed)
{
    Ending e;
    e.ended = ended;
    e.completed = completed;
    e.atMs = link.now;
    e.handshakes = link.radio->counters().handshakes;
    for (const auto &shown : link.messages)
        e.messages << shown.message.text.english;
    e.radioLog = link.radio->takeLog();
    return e;
}

// The window's (and ql540's) read: the image takes the blocks read.
Ending Read(const RadioMemory &radio, const SimFaults &faults)
{
    VirtualRead link;
    link.attachRadio(radio, faults, false);
    link.engine.windowOpened();
    link.engine.startPressed();
    const bool ended = link.runUntil([&] { return !link.endings.empty(); }, 120000);
    return EndingOf(link, ended, ended && link.endings.front());
}

// The write of RadioData, prepared as ql540 prepares it.
Ending Write(const RadioMemory &radio, const SimFaults &faults, RadioMemory &written)
{
    VirtualWrite link;
    link.attachRadio(radio, faults, false);
    link.engine.windowOpened();
    link.engine.startPressed();
    const bool ended = link.runUntil([&] { return !link.endings.empty(); }, 120000);
    written = link.radio->memory();
    return EndingOf(link, ended, ended && link.endings.front());
}

// `ql540 power --set`: the first acknowledge answers the frame with the
// radio's own values, the new ones go as one frame, its acknowledge ends the
// session; the watch closing the window, or a failed opening, fails it.
Ending PowerSetting(const RadioMemory &radio, const SimFaults &faults, RadioMemory &after,
                    PowerLevels &reported)
{
    VirtualPower link;
    link.attachRadio(radio, faults, false);
    bool setSent = false;
    bool succeeded = false;
    link.onLinked = [&] {
        if (setSent) {
            succeeded = true;
            return;
        }
        setSent = true;
        const PowerLevels before = link.reports.back();
        ImageChanges::instance().apply(ChangeKind::PowerCalibration, [&](ImageTable &image) {
            StorePowerLevels(image, PowerSet, before);
        });
        link.engine.sendNow();
    };
    link.engine.windowOpened();
    const bool ended = link.runUntil(
        [&] {
            return succeeded || !link.closeTimes.empty()
                   || std::count(link.endings.begin(), link.endings.end(), false) > 0;
        },
        10000);
    Ending e = EndingOf(link, ended, succeeded);
    link.engine.closeRequested();
    after = link.radio->memory();
    if (!link.reports.empty())
        reported = link.reports.front();
    return e;
}

// The radio's log line for a power frame it took.
template<class Levels> QString PowerLine(const Levels &levels)
{
    return QStringLiteral("power %1 %2 %3\n").arg(levels[0]).arg(levels[1]).arg(levels[2]);
}

class FaultMatrixEngine : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobals();
        startUp = RadioData;
        QRandomGenerator random(540);
        for (uint8_t &byte : radio)
            byte = uint8_t(random.bounded(256));
        // The plan written: recognisable bytes, all of them in band.
        plan = startUp;
        for (int r = 160; r < 200; ++r)
            for (int c = 0; c < BlockSize; ++c)
                plan[r][c] = int16_t(random.bounded(41));
        plan[239][15] = 0xAB;
        prepared = plan;
        ASSERT_FALSE(PrepareWrite(prepared).has_value());
    }

    bool rowsAre(const RadioMemory &memory, int first, int last, const ImageTable &image)
    {
        for (int r = first; r <= last; ++r)
            for (int c = 0; c < BlockSize; ++c)
                if (memory[r * BlockSize + c] != image[r][c])
                    return false;
        return true;
    }
    bool imageRowsAre(int first, int last, const RadioMemory &memory)
    {
        for (int r = first; r <= last; ++r)
            for (int c = 0; c < BlockSize; ++c)
                if (RadioData[r][c] != memory[r * BlockSize + c])
                    return false;
        return true;
    }

    ImageTable startUp{}, plan{}, prepared{};
    RadioMemory radio{};
};

} // namespace

TEST_F(FaultMatrixEngine, EveryFaultEndsAsItMustWithTheExactAttemptsAndWithinTheSchedule)
{
    for (const Task &task : Tasks)
        for (const auto &fault : Faults)
            for (int position = 0; position < 3; ++position) {
                SCOPED_TRACE(QStringLiteral("%1, %2 at the %3 block")
                                 .arg(QString::fromLatin1(task.name),
                                      QString::fromLatin1(fault.name),
                                      QString::fromLatin1(Positions[position]))
                                 .toStdString());
                const SimFaults faults = FaultsFor(task, fault.fault, position);
                const Expected expected = Expect(task, fault.fault, position);
                ResetGlobals();
                Ending e;
                RadioMemory after{};
                PowerLevels reported{};
                if (task.kind == TaskKind::Read) {
                    e = Read(radio, faults);
                } else if (task.kind == TaskKind::Write) {
                    ImageChanges::instance().startWith(plan);
                    e = Write(radio, faults, after);
                } else {
                    e = PowerSetting(radio, faults, after, reported);
                }
                ASSERT_TRUE(e.ended) << "did not end";
                EXPECT_GE(e.atMs, expected.minMs);
                EXPECT_LE(e.atMs, expected.maxMs);

                if (expected.outcome == Outcome::Done) {
                    ASSERT_TRUE(e.completed) << e.messages.join(u'|').toStdString();
                    EXPECT_EQ(e.handshakes, expected.handshakes);
                    if (task.kind == TaskKind::Read) {
                        EXPECT_TRUE(imageRowsAre(0, ReadBlockCount - 1, radio));
                        for (int r = ReadBlockCount; r < UsedRows; ++r)
                            EXPECT_EQ(RadioData[r], startUp[r]) << "row " << r;
                    } else if (task.kind == TaskKind::Write) {
                        EXPECT_TRUE(rowsAre(after, 0, WriteBlockCount - 1, prepared));
                        EXPECT_TRUE(std::equal(after.begin() + WriteBlockCount * BlockSize,
                                               after.end(),
                                               radio.begin() + WriteBlockCount * BlockSize));
                    } else {
                        const RadioBlock row = PowerRowAfterSet(startUp, reported);
                        EXPECT_TRUE(std::equal(row.begin(), row.end(),
                                               after.begin() + CalibrationRow * BlockSize));
                        EXPECT_TRUE(e.radioLog.contains(PowerLine(PowerSet)));
                    }
                    continue;
                }
                EXPECT_FALSE(e.completed);
                if (task.kind == TaskKind::Power) {
                    // The window closes without a message of its own; ql540
                    // then says the link failed.
                    EXPECT_TRUE(e.messages.isEmpty()) << e.messages.join(u'|').toStdString();
                    EXPECT_FALSE(e.radioLog.contains(PowerLine(PowerSet)));
                    // A fault at the --set frame strikes after the first
                    // frame was taken.
                    if (position > 0 && fault.fault != Fault::WrongIdent) {
                        EXPECT_TRUE(
                            e.radioLog.contains(PowerLine(&radio[CalibrationRow * BlockSize])))
                            << e.radioLog.toStdString();
                    }
                    continue;
                }
                ASSERT_EQ(e.messages.size(), 1) << e.messages.join(u'|').toStdString();
                if (expected.outcome == Outcome::FailConnect) {
                    EXPECT_EQ(e.messages.front(), FailConnect);
                } else {
                    EXPECT_TRUE(e.messages.front().startsWith(PortError))
                        << e.messages.front().toStdString();
                }
                if (task.kind == TaskKind::Read) {
                    EXPECT_TRUE(RadioData == startUp) << "a failed read changed the image";
                }
            }
}
