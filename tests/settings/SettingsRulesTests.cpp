// The rules of the optional features as tables: what a typed VFO value,
// working range or power-on text stores, which message refuses it, and
// what showing the options writes back.
#include "ShownOptions.h"
#include "TypedKeys.h"
#include "VfoRules.h"
#include "WorkingRange.h"

#include <gtest/gtest.h>

void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }

namespace {

constexpr FrequencyBand Uhf{400, 470};

class Rules : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobals();
        image = RadioData;
    }

    std::vector<int> Cells(int row, int from, int to) const
    {
        std::vector<int> values;
        for (int c = from; c <= to; ++c)
            values.push_back(image[row][c]);
        return values;
    }

    ImageTable image{}; // the start-up image, then what a test stores
};

} // namespace

TEST_F(Rules, TransmitFrequencyOfTheShift)
{
    const struct {
        const char *rx, *offset;
        int shift;
        bool inBand;
        const char *text;
    } cases[] = {
        {"465", "10", ShiftPosition::Plus, false, "465"},
        {"465", "10", ShiftPosition::Minus, true, "455"},
        {"438.5", "7.6", ShiftPosition::Plus, true, "446.1"}, // shortest decimal text
        {"469.99", "0.01", ShiftPosition::Plus, false, "469.99"}, // 470 is outside
        {"400.5", "0.5", ShiftPosition::Minus, true, "400"},
        {"410", "", ShiftPosition::Minus, true, "410"}, // empty offset counts 0
        {"480.00000", "10", ShiftPosition::Off, true, "480.00000"}, // Off copies, unchecked
    };
    for (const auto &c : cases) {
        const VfoTransmit tx = TransmitFor(c.rx, c.offset, c.shift, Uhf);
        EXPECT_EQ(tx.inBand, c.inBand) << c.rx << " " << c.offset;
        EXPECT_EQ(tx.text, c.text) << c.rx << " " << c.offset;
    }
}

TEST_F(Rules, ReceiveFrequencyIsRefusedOutsideTheBandOrTooLong)
{
    const struct {
        const char *text;
        bool accepted;
    } cases[] = {
        {"435.0125", true}, {"400", true},         {"469.99999", true},
        {"470", false},     {"399.99", false},     {"", false},
        {"abc", false},     {"446.000000", false}, {"446.1.2", true}, // read as 446.1
    };
    for (const auto &c : cases)
        EXPECT_EQ(ReceiveAccepted(c.text, Uhf), c.accepted) << c.text;
    EXPECT_FALSE(ReceiveTooLong("446.00625"));
    EXPECT_TRUE(ReceiveTooLong("446.006250"));

    // Stored as typed, and the VFO back in simplex with its power kept.
    image[VfoRow][12] = 0x42;
    StoreVfoReceive(image, "435.0125");
    EXPECT_EQ(Cells(VfoRow, 0, 3), (std::vector<int>{0x50, 0x12, 0x50, 0x43}));
    EXPECT_EQ(image[VfoRow][12], 0x02);
}

TEST_F(Rules, OffsetLimitsWhileTypingAndOnLeave)
{
    EXPECT_FALSE(OffsetClearedWhileTyping("69.99"));
    EXPECT_TRUE(OffsetClearedWhileTyping("70"));
    EXPECT_FALSE(OffsetClearedWhileTyping(""));
    EXPECT_EQ(LeaveOffset("69.99"), OffsetLeave::KeepTyping);
    EXPECT_EQ(LeaveOffset("69.9875"), OffsetLeave::Store);
    EXPECT_EQ(LeaveOffset(""), OffsetLeave::Store);
    EXPECT_EQ(LeaveOffset("1.0000000"), OffsetLeave::Clear); // nine characters

    StoreVfoOffset(image, "", EmptyOffset::Erase);
    EXPECT_EQ(Cells(VfoRow, 4, 7), std::vector<int>(4, 255));
    // An erased offset reads far above 70, so showing it clears it again.
    EXPECT_TRUE(OffsetClearedWhileTyping(Record::Offset.text(image, VfoRow)));
    StoreVfoOffset(image, "", EmptyOffset::Zero);
    EXPECT_EQ(Cells(VfoRow, 4, 7), std::vector<int>(4, 0));
    StoreVfoOffset(image, "7.6", EmptyOffset::Erase);
    EXPECT_EQ(Cells(VfoRow, 4, 7), (std::vector<int>{0, 0, 0x76, 0}));
}

TEST_F(Rules, TonesShownWithTheInvIndicatorAndStored)
{
    const struct {
        int type, index;
        std::optional<int> position;
        bool inverted;
    } shown[] = {
        {0, 60, 50, false}, // index beyond the CTCSS tones: the last one, 254.1
        {2, 0, 158, true}, // D017I
        {255, 3, 0, false}, // off
        {2, 255, 0, false}, // off as well
        {1, 200, 157, false}, // last normal DCS code
        {5, 3, std::nullopt, false},
    };
    for (const auto &c : shown) {
        image[VfoRow][8] = int16_t(c.type);
        image[VfoRow][9] = int16_t(c.index);
        const std::optional<ShownTone> tone = ShownVfoTone(image, Record::Decode);
        ASSERT_EQ(tone.has_value(), c.position.has_value()) << c.type << "/" << c.index;
        if (tone) {
            EXPECT_EQ(tone->position, *c.position) << c.type << "/" << c.index;
            EXPECT_EQ(tone->inverted, c.inverted) << c.type << "/" << c.index;
        }
    }
    EXPECT_TRUE(StoreVfoTone(image, Record::Encode, 158));
    EXPECT_EQ(Cells(VfoRow, 10, 11), (std::vector<int>{2, 0}));
    EXPECT_FALSE(StoreVfoTone(image, Record::Encode, 51));
    EXPECT_EQ(Cells(VfoRow, 10, 11), (std::vector<int>{1, 0}));
    EXPECT_FALSE(StoreVfoTone(image, Record::Encode, 0));
    EXPECT_EQ(Cells(VfoRow, 10, 11), (std::vector<int>{255, 255}));
}

TEST_F(Rules, WorkingRangeLimitsOnLeave)
{
    using namespace SettingsMessages;
    const struct {
        bool lower;
        const char *low, *high;
        int model;
        std::optional<PromptMessage> message;
        const char *field;
    } cases[] = {
        {true, "100", "470", 0, LowerBelowModel, "400"},
        {true, "450", "430", 0, LowerAboveUpper, "430"},
        {true, "420", "470", 0, std::nullopt, "420"},
        {true, "130", "174", 1, LowerBelowModel, "136"},
        {true, "140", "174", 1, std::nullopt, "140"},
        {true, "140", "174", 6, LowerBelowModel, "400"}, // other models: 400..470
        {false, "400", "480", 0, UpperAboveModel, "470"},
        {false, "450", "430", 0, UpperBelowLower, "450"},
        {false, "136", "175", 1, UpperAboveModel, "174"},
        {false, "400", "470", 0, std::nullopt, "470"},
    };
    for (const auto &c : cases) {
        const RangeLeave leave = c.lower ? LeaveLowerLimit(c.low, c.high, c.model)
                                         : LeaveUpperLimit(c.low, c.high, c.model);
        EXPECT_EQ(leave.message, c.message) << c.low << ".." << c.high;
        EXPECT_EQ(leave.fieldText, c.field) << c.low << ".." << c.high;
    }
    EXPECT_EQ(LowerBelowModel.title, PromptTitle::CapitalPrompt);
    EXPECT_EQ(LowerBelowModel.text.english,
              "frequency of lower limit can't less than the lowest of work frequency. ");
}

TEST_F(Rules, WorkingRangeStoredInWholeMegahertz)
{
    const struct {
        const char *low, *high;
        std::vector<int> row;
    } cases[] = {
        {"430", "460", {0x00, 0x43, 0x00, 0x46}},
        {"430.7", "460.9", {0x00, 0x43, 0x00, 0x46}},
        {"136", "174", {0x60, 0x13, 0x40, 0x17}},
        {"0400", "470", {0x00, 0x40, 0x00, 0x47}}, // a leading zero is no tenth
    };
    for (const auto &c : cases) {
        StoreWorkingRange(image, c.low, c.high);
        EXPECT_EQ(Cells(BandLimitRow, 0, 3), c.row) << c.low << ".." << c.high;
    }
}

TEST_F(Rules, WorkingRangeCheckNamesTheVfoOrTheFirstChannel)
{
    EXPECT_EQ(CheckWorkingRange(image), std::nullopt);
    Record::Rx.store(image, 12, "465");
    Record::Offset.fill(image, 12, 0);
    Record::Rx.store(image, 20, "145");
    StoreWorkingRange(image, "440", "464"); // the VFO's 462.0125 stays inside
    std::optional<PromptMessage> warning = CheckWorkingRange(image);
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->text.english, "Channel 12that Receiving or transmitting frequency  out of "
                                     "frequency limitation range ");
    EXPECT_EQ(warning->text.chinese, "信道 12 中的接收或发射频率超出频率限制范围");
    EXPECT_EQ(warning->title, PromptTitle::Prompt);

    Record::Rx.store(image, VfoRow, "465");
    warning = CheckWorkingRange(image);
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->text.english, "Receiving or transmitting frequency that frequency Mode out "
                                     "of frequency limitation range ");
}

TEST_F(Rules, KeysEachFieldTakes)
{
    using F = OptionTextField;
    const QChar none{};
    const struct {
        F field;
        const char *text;
        QChar key;
        QChar typed; // none: discarded
    } cases[] = {
        {F::Receive, "", u'.', none},
        {F::Receive, " ", u'.', none},
        {F::Receive, "4", u'.', u'.'},
        {F::Receive, "446.1.", u'.', u'.'},
        {F::Receive, "44600625", u'1', u'1'},
        {F::Receive, "446.00625", u'1', none},
        {F::Receive, "4", u'a', none},
        {F::Receive, "446.00625", BackspaceKey, BackspaceKey},
        {F::Receive, "4", EnterKey, none},

        {F::Offset, "", u'.', none},
        {F::Offset, "10.", u'.', none},
        {F::Offset, "10", u'.', u'.'},
        {F::Offset, "10", EnterKey, EnterKey},
        {F::Offset, "1.00000", u'1', u'1'},
        {F::Offset, "10.00000", u'1', none},
        {F::Offset, "1", u'-', none},

        {F::RangeLimit, "4000000", u'5', u'5'},
        {F::RangeLimit, "4", u'.', u'.'},
        {F::RangeLimit, "4", EnterKey, EnterKey},
        {F::RangeLimit, "4", u'a', none},

        {F::Password, "123", u'4', u'4'},
        {F::Password, "1234", u'5', none},
        {F::Password, "1", u'a', none},
        {F::Password, "1234", BackspaceKey, BackspaceKey},

        {F::Message, "", u'a', u'A'},
        {F::Message, "AB", u'-', u'-'},
        {F::Message, "AB-", u'1', u'1'},
        {F::Message, "A", u'_', u'_'},
        {F::Message, "A", u'*', u'*'},
        {F::Message, "A", u'+', none},
        {F::Message, "A", u' ', none},
        {F::Message, "A", u'#', none},
        {F::Message, "ABCDE", u'F', none},
        {F::Message, "ABCDE", BackspaceKey, BackspaceKey},
    };
    for (const auto &c : cases) {
        const std::optional<QChar> typed = TypedChar(c.field, c.text, c.key);
        EXPECT_EQ(typed.value_or(none), c.typed)
            << int(c.field) << " '" << c.text << "' + " << QString(c.key).toStdString();
    }
    EXPECT_FALSE(PasswordComplete("12"));
    EXPECT_TRUE(PasswordComplete("1234"));
}

TEST_F(Rules, MessageTypedInLowerCaseIsStoredAsNameCodes)
{
    QString text;
    for (const QChar key : QStringLiteral("ab-1"))
        if (const std::optional<QChar> typed = TypedChar(OptionTextField::Message, text, key))
            text += *typed;
    EXPECT_EQ(text, "AB-1");
    Options::SetMessage(image, text);
    EXPECT_EQ(Cells(PasswordRow, 4, 8), (std::vector<int>{12, 13, 10, 1, 255}));
}

TEST_F(Rules, ShowingWritesBackWhatTheListsShow)
{
    auto shown = [this](const char *key) {
        return ShownListIndex(*FindOption(QLatin1String(key)), image);
    };
    image[OptionRow][3] = 9; // time-out beyond its 8 entries
    image[OptionRow][7] = 0x82; // sub-band receive on, key lock "Key"
    image[VfoRow][12] = 0xC3; // shift 3 (the radio's simplex), power 3
    image[VfoRow][13] = 0x27; // wide, step 7
    image[VfoRow][8] = 0; // CTCSS index 60
    image[VfoRow][9] = 60;
    image[VfoRow][10] = 0; // tone off by its index
    image[VfoRow][11] = 255;
    EXPECT_EQ(shown("timeOutTimer"), 7);
    EXPECT_EQ(shown("keyLock"), 2);
    EXPECT_EQ(shown("duplex"), ShiftPosition::Off);
    EXPECT_EQ(shown("power"), 2);
    EXPECT_EQ(shown("step"), 7);

    StoreShownValues(image);
    EXPECT_EQ(image[OptionRow][3], 7);
    EXPECT_EQ(image[OptionRow][7], 0x82);
    EXPECT_EQ(image[VfoRow][12], 0x02);
    EXPECT_EQ(image[VfoRow][13], 0x27);
    EXPECT_EQ(Cells(VfoRow, 8, 11), (std::vector<int>{0, 49, 0, 255}));

    // Choosing "ALL" keeps the model window's bit 7.
    FindOption(QStringLiteral("keyLock"))->field.set(image, 3);
    EXPECT_EQ(image[OptionRow][7], 0x83);

    image[OptionRow][10] = 0x09;
    ClearVoxReceiveStop(image);
    ClearReservedOptionBit(image);
    EXPECT_EQ(image[OptionRow][1], 0x61); // start-up 0x71 without bit 4
    EXPECT_EQ(image[OptionRow][10], 0x08);
}

// A redraw shows the VFO without storing: what the offset field and the
// transmit frequency show, and what the load would have said about them.
TEST_F(Rules, VfoShownWithoutStoring)
{
    const struct {
        const char *rx;
        const char *offset; // nullptr: erased
        int shiftBits; // bits 7..6 of (0,12)
        const char *offsetShown;
        const char *transmit;
        QList<PromptMessage> warnings;
    } cases[] = {
        {"446.1", "1", 1, "1.00000", "447.1", {}},
        {"446.1", "1", 2, "1.00000", "445.1", {}},
        {"465", "10", 1, "10.00000", "465.00000", {SettingsMessages::TransmitOutOfRange}},
        {"465", "10", 2, "10.00000", "455", {}},
        {"465", nullptr, 0, "", "465.00000", {SettingsMessages::OffsetOutOfRange}},
        // An erased offset counts 0: the shift alone leaves the band no more.
        {"465", nullptr, 1, "", "465", {SettingsMessages::OffsetOutOfRange}},
        {"469.99", "69.9875", 1, "69.98750", "469.99000", {SettingsMessages::TransmitOutOfRange}},
        // The radio's own simplex (3) shows as Off.
        {"446.1", "1", 3, "1.00000", "446.10000", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.rx) + " " + (c.offset ? c.offset : "erased"));
        Record::Rx.store(image, VfoRow, c.rx);
        if (c.offset)
            Record::Offset.store(image, VfoRow, c.offset);
        else
            Record::Offset.fill(image, VfoRow, 255);
        Record::Shift.set(image, VfoRow, c.shiftBits);
        const ImageTable before = image;
        const ShownVfo shown = ShowVfoWithoutStoring(image, Uhf);
        EXPECT_EQ(shown.offsetText, QString(c.offsetShown));
        EXPECT_EQ(shown.transmitText, QString(c.transmit));
        EXPECT_EQ(shown.warnings, c.warnings);
        EXPECT_TRUE(image == before);
    }
}
