#include "Globals.h"
#include "OptionTable.h"
#include "SessionState.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

bool SameCells(const CellField &a, const CellField &b)
{
    return a.row == b.row && a.column == b.column && a.shift == b.shift && a.width == b.width
           && a.reversed == b.reversed;
}

class Table : public ::testing::Test {
protected:
    void SetUp() override { ResetGlobals(); }
};

} // namespace

TEST_F(Table, KeysAndControlsAreUniqueAndCaptioned)
{
    QSet<QString> keys, controls;
    for (const QList<OptionEntry> *table : {&VfoOptionTable(), &OptionTable()}) {
        for (const OptionEntry &e : *table) {
            EXPECT_FALSE(keys.contains(e.key)) << qPrintable(e.key);
            keys << e.key;
            if (!e.control.isEmpty()) {
                EXPECT_FALSE(controls.contains(e.control)) << qPrintable(e.control);
                controls << e.control;
            }
            EXPECT_FALSE(e.caption.chinese.trimmed().isEmpty()) << qPrintable(e.key);
            EXPECT_FALSE(e.caption.english.trimmed().isEmpty()) << qPrintable(e.key);
            EXPECT_EQ(FindOption(e.key), &e);
            if (e.kind == OptionKind::List) {
                // Every item's index fits the bits that store it.
                EXPECT_GE(e.items.size(), 2) << qPrintable(e.key);
                EXPECT_LE(e.items.size() - 1, e.field.last()) << qPrintable(e.key);
            }
        }
    }
    EXPECT_EQ(FindOption(QStringLiteral("nothing")), nullptr);
}

// Every settings field the window edits has its entry, on the right bits.
TEST_F(Table, EntriesOwnTheCodecFields)
{
    const struct {
        const char *key;
        CellField field;
    } cases[] = {
        {"squelch", Options::Squelch},
        {"channelDisplay", Options::ChannelDisplay},
        {"batterySave", Options::BatterySave},
        {"fmReceive", Options::FmReceive},
        {"voxReceiveStop", Options::VoxReceiveStop},
        {"roger", Options::Roger},
        {"manualSetup", Options::ManualSetup},
        {"scan", Options::ScanMode},
        {"beep", Options::Beep},
        {"workMode", Options::ChannelMode},
        {"powerOnDisplay", Options::PowerOnDisplay},
        {"password", Options::PowerOnPassword},
        {"backLight", Options::BackLight},
        {"timeOutTimer", Options::TimeOutTimer},
        {"autoPowerOff", Options::AutoPowerOff},
        {"voxLevel", Options::VoxLevel},
        {"voxDelay", Options::VoxDelay},
        {"keyLock", Options::KeyLockMode},
        {"subBandReceive", Options::SubBandReceive},
        {"channelOnly", Options::ChannelOnly},
        {"powerOnChannel", Options::PowerOnChannel},
        {"duplex", Record::Shift.at(VfoRow)},
        {"step", Record::Step.at(VfoRow)},
        {"bandwidth", Record::Wide.at(VfoRow)},
        {"power", Record::Power.at(VfoRow)},
        {"vox", Record::Vox.at(VfoRow)},
        {"busyLockout", Record::BusyLock.at(VfoRow)},
        {"txStop", Record::TxStop.at(VfoRow)},
    };
    for (const auto &c : cases) {
        const OptionEntry *entry = FindOption(QLatin1String(c.key));
        ASSERT_NE(entry, nullptr) << c.key;
        EXPECT_TRUE(SameCells(entry->field, c.field)) << c.key;
    }
}

TEST_F(Table, ItemsFollowTheLanguageAndClamp)
{
    const OptionEntry &tot = *FindOption(QStringLiteral("timeOutTimer"));
    EXPECT_EQ(tot.itemTexts(), QStringList({"关", "1", "2", "3", "4", "5", "6", "7"}));
    SessionState::instance().setChinese(false);
    EXPECT_EQ(tot.itemTexts().first(), "Off");
    EXPECT_EQ(tot.shownIndex(9), 7);
    EXPECT_EQ(tot.shownIndex(-1), 0);
    EXPECT_EQ(FindOption(QStringLiteral("keyLock"))->itemTexts(),
              QStringList({"Key&UPDN", "PTTLock", "Key", "ALL"}));
    EXPECT_EQ(FindOption(QStringLiteral("voxLevel"))->itemTexts().last(), "8");
    EXPECT_EQ(FindOption(QStringLiteral("offset"))->caption.text(), "Offset Frequncy(MHZ) ");

    SessionState::instance().setChinese(true);
    EXPECT_EQ(FindOption(QStringLiteral("workMode"))->itemTexts(),
              QStringList({"频率模式", " 信道模式"}));
    EXPECT_EQ(FindOption(QStringLiteral("power"))->itemTexts(),
              QStringList({"低功率", "中功率", "高功率"}));
    const QStringList tones = FindOption(QStringLiteral("decode"))->itemTexts();
    ASSERT_EQ(tones.size(), 265);
    EXPECT_EQ(tones.first(), "OFF");
    EXPECT_EQ(tones.at(158), "D017I");
    EXPECT_TRUE(FindOption(QStringLiteral("voxReceiveStop"))->hidden);
}
