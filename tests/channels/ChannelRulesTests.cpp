// The channel field rules as tables: a channel as stored, what is typed or
// chosen, and what is stored, said and shown afterwards.
#include "ChannelChanges.h"
#include "ChannelRules.h"
#include "Conversions.h"
#include "SessionState.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {

using Row = std::array<int, 16>;

constexpr int E = 255;
constexpr Row Empty{E, E, E, E, E, E, E, E, E, E, E, E, E, E, E, E};
// 438.5 MHz simplex, as the grid creates it.
constexpr Row Simplex{0, 0, 0x85, 0x43, 0, 0, 0, 0, E, E, E, E, 2, 0x20, E, E};
// 438.5 MHz receive, 7.6 MHz up: transmit 446.1.
constexpr Row Repeater{0, 0, 0x85, 0x43, 0, 0, 0x76, 0, E, E, E, E, 0x42, 0x20, E, E};
// What a file may hold: 145 MHz outside the band, offset 5 with shift 3,
// tones, and cells 14/15 in use.
constexpr Row Foreign{0, 0, 0x50, 0x14, 0, 0, 0x50, 0, 0, 8, 1, 2, 0xC2, 0x20, 7, 9};

constexpr FrequencyBand Uhf{400, 470};
constexpr int Channel = 3; // name codes in row 160, columns 10..14

class ChannelRules : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobals();
        image = std::make_unique<ImageTable>(RadioData);
    }

    void store(const Row &row, std::array<int, 5> name = {E, E, E, E, E})
    {
        for (int c = 0; c < 16; ++c)
            (*image)[Channel][c] = int16_t(row[c]);
        for (int k = 0; k < 5; ++k)
            (*image)[160][10 + k] = int16_t(name[k]);
    }
    Row row() const
    {
        Row values{};
        for (int c = 0; c < 16; ++c)
            values[c] = (*image)[Channel][c];
        return values;
    }
    std::array<int, 5> name() const
    {
        std::array<int, 5> codes{};
        for (int k = 0; k < 5; ++k)
            codes[k] = (*image)[160][10 + k];
        return codes;
    }
    static QString english(const ChannelEditResult &result)
    {
        return result.message ? result.message->english : QString();
    }

    std::unique_ptr<ImageTable> image;
};

struct TextCase {
    const char *what;
    Row before;
    ChannelField field;
    const ChannelEditProfile *profile;
    const char *typed;
    Row after;
    const char *message; // English text, "" for none
    const char *shown;
};

// clang-format off
const TextCase FrequencyCases[] = {
    // Receive: new channels, per editor.
    {"new in grid", Empty, ChannelField::Receive, &GridEditProfile, "446",
     {0, 0, 0x60, 0x44, 0, 0, 0, 0, E, E, E, E, 2, 0x20, E, E}, "", "446.00000"},
    {"new in edit window", Empty, ChannelField::Receive, &EditWindowProfile, "435.5",
     {0, 0, 0x55, 0x43, 0, 0, 0, 0, E, E, E, E, 6, 0, E, E}, "", "435.50000"},
    {"10 Hz kept", Empty, ChannelField::Receive, &GridEditProfile, "469.99375",
     {0x75, 0x93, 0x99, 0x46, 0, 0, 0, 0, E, E, E, E, 2, 0x20, E, E}, "", "469.99375"},
    {"blanks and signs are not padded into the number", Empty, ChannelField::Receive,
     &GridEditProfile, " +0446.5 ", {0, 0, 0x65, 0x44, 0, 0, 0, 0, E, E, E, E, 2, 0x20, E, E}, "",
     "446.50000"},
    // Receive outside the band: the lower limit instead, with the message.
    {"upper limit is outside", Empty, ChannelField::Receive, &GridEditProfile, "470",
     {0, 0, 0x00, 0x40, 0, 0, 0, 0, E, E, E, E, 2, 0x20, E, E},
     "Over the range of receive frequency .", "400.00000"},
    {"below", Empty, ChannelField::Receive, &GridEditProfile, "399.99",
     {0, 0, 0x00, 0x40, 0, 0, 0, 0, E, E, E, E, 2, 0x20, E, E},
     "Over the range of receive frequency .", "400.00000"},
    {"letters", Empty, ChannelField::Receive, &EditWindowProfile, "abc",
     {0, 0, 0x00, 0x40, 0, 0, 0, 0, E, E, E, E, 6, 0, E, E},
     "Over the range of receive frequency .", "400.00000"},
    // Receive of a programmed channel keeps its transmit frequency.
    {"offset follows", Repeater, ChannelField::Receive, &GridEditProfile, "440",
     {0, 0, 0x00, 0x44, 0, 0, 0x61, 0, E, E, E, E, 0x42, 0x20, E, E}, "", "440.00000"},
    {"transmit below", Repeater, ChannelField::Receive, &EditWindowProfile, "450",
     {0, 0, 0x00, 0x45, 0, 0, 0x39, 0, E, E, E, E, 0x82, 0x20, E, E}, "", "450.00000"},
    {"emptied deletes", Repeater, ChannelField::Receive, &GridEditProfile, "  ", Empty, "", ""},
    {"unchanged", Repeater, ChannelField::Receive, &GridEditProfile, "438.50000", Repeater, "",
     "438.50000"},
    {"unchanged outside the band", Foreign, ChannelField::Receive, &GridEditProfile, "145.00000",
     Foreign, "", "145.00000"},
    {"changed outside the band", Foreign, ChannelField::Receive, &GridEditProfile, "146",
     {0, 0, 0x00, 0x40, 0, 0, 0x50, 0x25, 0, 8, 1, 2, 0x82, 0x20, 7, 9},
     "Over the range of receive frequency .", "400.00000"},
    // Transmit: offset and shift.
    {"up", Simplex, ChannelField::Transmit, &GridEditProfile, "446.1", Repeater, "", "446.10000"},
    {"down", Simplex, ChannelField::Transmit, &GridEditProfile, "430.5",
     {0, 0, 0x85, 0x43, 0, 0, 0x80, 0, E, E, E, E, 0x82, 0x20, E, E}, "", "430.50000"},
    {"equal", Repeater, ChannelField::Transmit, &GridEditProfile, "438.5", Simplex, "",
     "438.50000"},
    {"emptied is simplex", Repeater, ChannelField::Transmit, &EditWindowProfile, "", Simplex, "",
     "438.50000"},
    {"unchanged with shift 3", Foreign, ChannelField::Transmit, &GridEditProfile, "145.00000",
     Foreign, "", "145.00000"},
    {"outside, grid", Simplex, ChannelField::Transmit, &GridEditProfile, "500",
     {0, 0, 0x85, 0x43, 0, 0, 0x85, 0x03, E, E, E, E, 0x82, 0x20, E, E},
     "Over the range of transmit frequency .", "400.00000"},
    {"outside, edit window", Simplex, ChannelField::Transmit, &EditWindowProfile, "500",
     {0, 0, 0x85, 0x43, 0, 0, 0x85, 0x03, E, E, E, E, 0x82, 0x20, E, E},
     "Over the range of Transmit frequency .", "400.00000"},
    {"before the receive frequency", Empty, ChannelField::Transmit, &GridEditProfile, "446", Empty,
     "Please input the receive frequency in advance.", ""},
    {"emptied on an empty channel", Empty, ChannelField::Transmit, &GridEditProfile, "", Empty, "",
     ""},
};
// clang-format on

} // namespace

TEST_F(ChannelRules, FrequencyFields)
{
    for (const TextCase &c : FrequencyCases) {
        SCOPED_TRACE(c.what);
        store(c.before);
        const ChannelEditResult result =
            EditChannelText(*image, Channel, c.field, c.typed, *c.profile, Uhf);
        EXPECT_EQ(english(result), c.message);
        EXPECT_EQ(result.shownText, c.shown);
        EXPECT_EQ(result.cells.empty(), c.before == c.after);
        result.applyTo(*image);
        EXPECT_EQ(row(), c.after);
    }
}

TEST_F(ChannelRules, OnlyChangedCellsAreListed)
{
    store(Simplex);
    const ChannelEditResult result =
        EditChannelText(*image, Channel, ChannelField::Transmit, "446.1", GridEditProfile, Uhf);
    EXPECT_EQ(result.cells, (std::vector<CellValue>{{Channel, 6, 0x76}, {Channel, 12, 0x42}}));
    EXPECT_EQ(int((*image)[Channel][6]), 0); // the image given is not touched
}

TEST_F(ChannelRules, BandComesFromTheCaller)
{
    store(Empty);
    const ChannelEditResult result = EditChannelText(*image, Channel, ChannelField::Receive, "145",
                                                     GridEditProfile, FrequencyBand{136, 174});
    EXPECT_FALSE(result.message);
    EXPECT_EQ(result.shownText, "145.00000");
    EXPECT_EQ(BandLowText({136, 174}), "136.00000");
    SessionState::instance().setBand(350, BandHighMHz);
    EXPECT_EQ(BandLowText(CurrentBand()), "350.00000");
}

TEST_F(ChannelRules, NamesStayWithTheGridAndGoWithTheEditWindow)
{
    const std::array<int, 5> old{24, 23, 15, E, E}; // "OLD"
    struct Case {
        const char *what;
        Row before;
        const ChannelEditProfile *profile;
        const char *typed;
        std::array<int, 5> name;
    };
    // clang-format off
    const Case cases[] = {
        {"grid deletes", Simplex, &GridEditProfile, "", old},
        {"grid creates", Empty, &GridEditProfile, "446", old},
        {"edit window deletes", Simplex, &EditWindowProfile, "", {E, E, E, E, E}},
        {"edit window creates", Empty, &EditWindowProfile, "446", {E, E, E, E, E}},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        store(c.before, old);
        EditChannelText(*image, Channel, ChannelField::Receive, c.typed, *c.profile, Uhf)
            .applyTo(*image);
        EXPECT_EQ(name(), c.name);
    }
}

TEST_F(ChannelRules, NameField)
{
    struct Case {
        std::array<int, 5> before;
        const char *typed;
        std::array<int, 5> after;
        const char *shown;
    };
    // clang-format off
    const Case cases[] = {
        {{E, E, E, E, E}, " ab c ", {12, 13, 11, 14, E}, "AB C"},
        {{E, E, E, E, E}, "#q1234567", {11, 28, 1, 2, 3}, " Q123"},
        {{12, 13, E, E, E}, "", {E, E, E, E, E}, ""},
        // Shown as stored, blanks at either end included: untouched stays.
        {{11, 20, 36, 12, 33}, " IYAV", {11, 20, 36, 12, 33}, " IYAV"},
        {{12, 13, 11, E, E}, "AB ", {12, 13, 11, E, E}, "AB "},
        {{12, 13, 11, E, E}, "AB", {12, 13, E, E, E}, "AB"},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        store(Simplex, c.before);
        (*image)[160][9] = 40; // the neighbours' codes stay
        (*image)[160][15] = 39;
        const ChannelEditResult result =
            EditChannelText(*image, Channel, ChannelField::Name, c.typed, GridEditProfile, Uhf);
        result.applyTo(*image);
        EXPECT_EQ(name(), c.after);
        EXPECT_EQ(result.shownText, c.shown);
        EXPECT_FALSE(result.message);
        EXPECT_EQ(int((*image)[160][9]), 40);
        EXPECT_EQ(int((*image)[160][15]), 39);
    }
    // Channel 128 owns the last five codes.
    for (int c = 0; c < 16; ++c)
        (*image)[128][c] = int16_t(Simplex[c]);
    EditChannelText(*image, 128, ChannelField::Name, "end", GridEditProfile, Uhf).applyTo(*image);
    EXPECT_EQ(int((*image)[199][11]), 16);
    EXPECT_EQ(int((*image)[199][13]), 15);
}

TEST_F(ChannelRules, Choices)
{
    struct Case {
        ChannelField field;
        int position;
        int cell;
        int before;
        int after; // -1: nothing stored
    };
    // clang-format off
    const Case cases[] = {
        {ChannelField::Power, 1, 12, 0x46, 0x45},
        {ChannelField::Power, 3, 12, 0x46, -1},
        {ChannelField::Bandwidth, 0, 13, 0xE0, 0xC0},
        {ChannelField::Bandwidth, 1, 13, 0xC0, 0xE0},
        {ChannelField::Vox, 1, 13, 0x20, 0x60},
        {ChannelField::BusyLockout, 1, 13, 0x20, 0xA0},
        {ChannelField::TransmitStop, 0, 13, 0x30, 0x20},
        {ChannelField::ScanAdd, 1, 12, 6, 2}, // ticked clears "not scanned"
        {ChannelField::ScanAdd, 0, 12, 2, 6},
        {ChannelField::ScanAdd, 2, 12, 2, -1},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.field) << " " << c.position);
        store(Simplex);
        (*image)[Channel][c.cell] = int16_t(c.before);
        const ChannelEditResult result = ChooseChannelItem(*image, Channel, c.field, c.position);
        result.applyTo(*image);
        EXPECT_EQ(int((*image)[Channel][c.cell]), c.after < 0 ? c.before : c.after);
        EXPECT_EQ(result.cells.size(), c.after < 0 ? 0u : 1u);
    }
    SessionState::instance().setChinese(false);
    store(Simplex);
    EXPECT_EQ(ChooseChannelItem(*image, Channel, ChannelField::Power, 1).shownText, "Mid");
    store(Empty);
    EXPECT_TRUE(ChooseChannelItem(*image, Channel, ChannelField::Power, 1).cells.empty());
}

TEST_F(ChannelRules, TonePositions)
{
    struct Case {
        int position;
        int type;
        int index; // -1: nothing stored
    };
    // clang-format off
    const Case cases[] = {
        {0, E, E},    {1, 0, 0},    {50, 0, 49}, {51, 1, 0},   {157, 1, 106},
        {158, 2, 0},  {264, 2, 106}, {265, 0, -1}, {-1, 0, -1},
    };
    // clang-format on
    for (ChannelField field : {ChannelField::Decode, ChannelField::Encode}) {
        const int typeCell = field == ChannelField::Decode ? 8 : 10;
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << typeCell << " " << c.position);
            store(Simplex);
            const ChannelEditResult result = ChooseChannelItem(*image, Channel, field, c.position);
            result.applyTo(*image);
            const std::pair<int, int> expected =
                c.index < 0 ? std::pair{E, E} : std::pair{c.type, c.index};
            const auto &r = (*image)[Channel];
            EXPECT_EQ(std::pair(int(r[typeCell]), int(r[typeCell + 1])), expected);
            if (c.index >= 0) {
                EXPECT_EQ(ChannelChoice(*image, Channel, field), c.position);
            }
        }
    }
}

TEST_F(ChannelRules, ChoicesShownForStoredChannels)
{
    struct Case {
        ChannelField field;
        int cell;
        int value;
        std::optional<int> shown;
    };
    // clang-format off
    const Case cases[] = {
        {ChannelField::Decode, 9, 60, std::nullopt}, // with type 7 below
        {ChannelField::Encode, 11, 200, 157},        // DCS index above the last
        {ChannelField::Power, 12, 0x43, std::nullopt},
        {ChannelField::Power, 12, 0x41, 1},
        {ChannelField::Bandwidth, 13, 0xDF, 0},
        {ChannelField::ScanAdd, 12, 6, 0},
        {ChannelField::Vox, 13, 0x40, 1},
        {ChannelField::BusyLockout, 13, 0x40, 0},
        {ChannelField::TransmitStop, 13, 0x10, 1},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.field));
        store(Simplex);
        (*image)[Channel][8] = 7;
        (*image)[Channel][10] = 1;
        (*image)[Channel][c.cell] = int16_t(c.value);
        EXPECT_EQ(ChannelChoice(*image, Channel, c.field), c.shown);
    }
    store(Empty);
    EXPECT_FALSE(ChannelChoice(*image, Channel, ChannelField::Bandwidth));
}

TEST_F(ChannelRules, FrequencyTexts)
{
    // clang-format off
    const std::pair<const char *, const char *> formatted[] = {
        {"446", "446.00000"},   {"446.1", "446.10000"}, {"446.00625", "446.00625"},
        {"88.5", "88.50000"},   {"88", "88.00000"},     {"446 ", "446.00000"},
        {"+446", "446.00000"},  {"0446.5", "446.50000"},
    };
    // clang-format on
    for (const auto &[text, expected] : formatted)
        EXPECT_EQ(FormatFrequencyText(text), expected) << text;
    // clang-format off
    const std::pair<const char *, const char *> padded[] = {
        {"400", "400.00000"}, {"88", "88.00000"}, {"1000", "1000"}, {"446.1", "446.1"}};
    for (const auto &[text, expected] : padded)
        EXPECT_EQ(PadFrequencyText(text), expected) << text;
    const std::pair<const char *, bool> inside[] = {
        {"400", true}, {"469.99375", true}, {"470", false}, {"399.99", false}, {"abc", false}};
    for (const auto &[text, expected] : inside)
        EXPECT_EQ(InsideBand(text, Uhf), expected) << text;
}

TEST_F(ChannelRules, MessagesInBothLanguages)
{
    EXPECT_EQ(ChannelMessages::ReceiveFirst.text(), "请先输入接收频率 ！");
    SessionState::instance().setChinese(false);
    EXPECT_EQ(ChannelMessages::ReceiveFirst.text(),
              "Please input the receive frequency in advance.");
}

TEST_F(ChannelRules, EraseAllChannelsLeavesOtherRows)
{
    store(Repeater, {12, 13, E, E, E});
    (*image)[VfoRow][0] = 0x50;
    (*image)[OptionRow][0] = 5;
    EraseAllChannels(*image);
    EXPECT_EQ(row(), Empty);
    EXPECT_EQ(name(), (std::array<int, 5>{E, E, E, E, E}));
    EXPECT_EQ(int((*image)[VfoRow][0]), 0x50);
    EXPECT_EQ(int((*image)[OptionRow][0]), 5);
}

TEST_F(ChannelRules, TransmitOutsideTheBandIsShownAsSimplex)
{
    struct Case {
        const char *what;
        Row before;
        int flagsA; // cell 12 afterwards
    };
    // clang-format on
    // clang-format off
    const Case cases[] = {
        {"inside", Repeater, 0x42},
        {"above", {0, 0, 0x95, 0x46, 0, 0, 0x50, 0, E, E, E, E, 0x46, 0x20, E, E}, 0x06},
        {"the upper limit", {0, 0, 0x00, 0x46, 0, 0, 0x00, 0x01, E, E, E, E, 0x42, 0, E, E}, 0x02},
        {"below", {0, 0, 0x00, 0x40, 0, 0, 0x10, 0, E, E, E, E, 0x82, 0, E, E}, 0x02},
        {"simplex outside the band", Foreign, 0x02}, // 145 MHz, shift 3
        {"empty", Empty, E},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        store(c.before);
        const ChannelEditResult result = KeepTransmitInBand(*image, Channel, Uhf);
        result.applyTo(*image);
        Row expected = c.before;
        expected[12] = c.flagsA; // the offset cells stay
        EXPECT_EQ(row(), expected);
        EXPECT_FALSE(result.message);
    }
}

// The edit window shows a transmit frequency outside the band as simplex
// and edits the channel as shown: a text left as shown stores nothing, a
// typed one stores the rule's result for the shown channel.
TEST_F(ChannelRules, TheEditWindowEditsTheChannelAsShown)
{
    // 469.5 MHz, 5 MHz up: 474.5 lies above the band.
    constexpr Row Above{0, 0, 0x95, 0x46, 0, 0, 0x50, 0, E, E, E, E, 0x46, 0x20, E, E};
    // A repeater of another band: 145.6 MHz, 0.6 MHz down.
    constexpr Row Vhf{0, 0, 0x56, 0x14, 0, 0, 0x06, 0, E, E, E, E, 0x86, 0x20, E, E};
    struct Case {
        const char *what;
        Row before;
        ChannelField field;
        const char *typed;
        Row after;
        const char *shownTransmit; // before the edit
        const char *message;
    };
    // clang-format off
    const Case cases[] = {
        {"transmit as shown", Above, ChannelField::Transmit, "469.50000", Above, "469.50000", ""},
        {"receive as shown", Above, ChannelField::Receive, "469.50000", Above, "469.50000", ""},
        {"another band's transmit as shown", Vhf, ChannelField::Transmit, "145.60000", Vhf,
         "145.60000", ""},
        {"another band's receive as shown", Vhf, ChannelField::Receive, "145.60000", Vhf,
         "145.60000", ""},
        {"transmit typed", Above, ChannelField::Transmit, "465.5",
         {0, 0, 0x95, 0x46, 0, 0, 0x40, 0, E, E, E, E, 0x86, 0x20, E, E}, "469.50000", ""},
        {"receive typed keeps the transmit shown", Above, ChannelField::Receive, "465.5",
         {0, 0, 0x55, 0x46, 0, 0, 0x40, 0, E, E, E, E, 0x46, 0x20, E, E}, "469.50000", ""},
        {"transmit outside the band", Above, ChannelField::Transmit, "500",
         {0, 0, 0x95, 0x46, 0, 0, 0x95, 0x06, E, E, E, E, 0x86, 0x20, E, E}, "469.50000",
         "Over the range of Transmit frequency ."},
        {"inside the band as stored", Repeater, ChannelField::Receive, "440",
         {0, 0, 0x00, 0x44, 0, 0, 0x61, 0, E, E, E, E, 0x42, 0x20, E, E}, "446.10000", ""},
        {"emptied", Vhf, ChannelField::Receive, "", Empty, "145.60000", ""},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        store(c.before, {12, 13, E, E, E});
        EXPECT_EQ(ShownTransmitText(*image, Channel, Uhf), QString(c.shownTransmit));
        const ChannelEditResult result =
            EditShownChannelText(*image, Channel, c.field, c.typed, EditWindowProfile, Uhf);
        result.applyTo(*image);
        EXPECT_EQ(row(), c.after);
        EXPECT_EQ(english(result), QString(c.message));
        const bool emptied = c.after == Empty;
        EXPECT_EQ(name(), (std::array<int, 5>{emptied ? E : 12, emptied ? E : 13, E, E, E}));
    }
}

TEST_F(ChannelRules, ChangesNameTheChannelsTheyTouch)
{
    ImageChange change;
    auto changed = [](int row, std::initializer_list<int> columns) {
        RowChange rowChange{row, {}, {}};
        for (int c : columns)
            rowChange.after[c] = 1;
        return rowChange;
    };
    // Channel 3's record and name; channel 4's first name code (index 15)
    // and channel 128's last; the VFO and FM rows name no channel.
    change.rows = {changed(0, {0}), changed(3, {12}), changed(154, {0}), changed(160, {10, 15}),
                   changed(199, {15})};
    EXPECT_EQ(ChannelsTouched(change), (QList<int>{3, 4, 128}));
}
