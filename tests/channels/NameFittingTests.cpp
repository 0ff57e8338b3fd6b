// Names of real channel lists made to fit five characters: cut as before
// where the cut names stay apart, shortened where cutting would make names
// that differ equal, and what still reads alike left for the report.
#include "NameFitting.h"

#include "Globals.h"

#include <gtest/gtest.h>

namespace {

struct NameSet {
    const char *what;
    QStringList names;
    QStringList stored;
};

QStringList Stored(const QList<FittedName> &fitted)
{
    QStringList stored;
    for (const FittedName &f : fitted)
        stored << f.stored;
    return stored;
}

} // namespace

TEST(NameFitting, RealListsStayApart)
{
    ResetGlobals();
    const NameSet sets[] = {
        {"tactical channels",
         {"TAC-40", "TAC-41", "TAC-42", "TAC-43", "TAC-44", "TAC-45"},
         {"TAC40", "TAC41", "TAC42", "TAC43", "TAC44", "TAC45"}},
        {"reverse of two repeaters", {"REV-41", "REV-42", "W7XRP"}, {"REV41", "REV42", "W7XRP"}},
        {"packet and APRS",
         {"APRS10", "APRS11", "PKT-1", "PKT-2"},
         {"APR10", "APR11", "PKT-1", "PKT-2"}},
        {"nets",
         {"NET-41", "NET-42", "NET-43", "NET-44", "NET-45", "NET-46"},
         {"NET41", "NET42", "NET43", "NET44", "NET45", "NET46"}},
        {"a cut that stays apart is cut as before",
         {"CADY11", "MARINE16", "WX1"},
         {"CADY1", "MARIN", "WX1"}},
        {"two cuts alike, the others cut as before",
         {"CADY11", "CADY12", "MARINE16"},
         {"CAD11", "CAD12", "MARIN"}},
        {"a long name against one that fits", {"APRS1", "APRS10"}, {"APRS1", "APR10"}},
        {"blanks, underscores and dots go first",
         {"SAR 1 A", "SAR 1 B", "S.A.R.1", "S.A.R.2", "EOC_1_A", "EOC_1_B"},
         {"SAR1A", "SAR1B", "SAR1", "SAR2", "EOC1A", "EOC1B"}},
        {"weather channels", {"NOAA WX1", "NOAA WX2", "NOAA WX3"}, {"NOAA1", "NOAA2", "NOAA3"}},
        {"marine channels", {"MARINE 16", "MARINE 22A", "MARINE 9"}, {"MAR16", "MARIN", "MARI9"}},
        {"lower case, as the file has it", {"tac-40", "tac-41"}, {"tac40", "tac41"}},
        {"names that fit never change",
         {"WX1", " A B ", "", "TAC40", "tac-4"},
         {"WX1", " A B ", "", "TAC40", "tac-4"}},
        {"the same name twice is one name",
         {"NOAA WX", "NOAA WX", "noaa wx"},
         {"NOAA ", "NOAA ", "noaa "}},
        {"a number too long to keep is cut", {"CH146520", "CH146550"}, {"CH146", "CH146"}},
        {"no separator, no number: cut, still alike",
         {"REPEATERA", "REPEATERB"},
         {"REPEA", "REPEA"}},
        {"only separators", {"------", "-------"}, {"-----", "-----"}},
    };
    for (const NameSet &set : sets) {
        SCOPED_TRACE(set.what);
        EXPECT_EQ(Stored(FitChannelNames(set.names)), set.stored);
    }
}

// The flags tell the report what happened to each name.
TEST(NameFitting, FlagsSayWhatHappened)
{
    ResetGlobals();
    const QList<FittedName> fitted =
        FitChannelNames({"CADY11", "TAC-40", "TAC-41", "WX1", "REPEATERA", "REPEATERB"});
    ASSERT_EQ(fitted.size(), 6);
    EXPECT_TRUE(fitted[0].cut);
    EXPECT_FALSE(fitted[0].shortened);
    EXPECT_TRUE(fitted[1].cut && fitted[1].shortened);
    EXPECT_FALSE(fitted[3].cut || fitted[3].shortened);
    // Tried, but shortening gave the cut again: still only cut.
    EXPECT_TRUE(fitted[4].cut);
    EXPECT_FALSE(fitted[4].shortened);
}

// A shortened name can meet a name that was only cut; that one is then
// shortened too, and what is still alike stays alike.
TEST(NameFitting, ShorteningThatMeetsAnotherNameShortensItToo)
{
    ResetGlobals();
    EXPECT_EQ(Stored(FitChannelNames({"TAC-40", "TAC-41", "TAC40-7"})),
              (QStringList{"TAC40", "TAC41", "TA407"}));
    EXPECT_EQ(Stored(FitChannelNames({"APRS10", "APRS11", "APR10X"})),
              (QStringList{"APR10", "APR11", "APR10"}));
}

TEST(NameFitting, TheFaceIsWhatTheRadioShows)
{
    ResetGlobals();
    EXPECT_EQ(NameFace(" tac#4 "), "TAC 4");
    EXPECT_EQ(NameFace("a.b"), "A B");
    EXPECT_EQ(NameFace(""), "");
}
