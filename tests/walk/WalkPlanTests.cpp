// The walk's plan: the same seed walks the same way, a plan survives being
// written out and read back, and shrinking finds the few actions that
// matter however they are spread.
#include "WalkPlan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

WalkAction Marked(uint32_t id) { return {WalkKind::Wait, id, 0}; }

WalkPlan Numbered(int count)
{
    WalkPlan plan;
    for (int i = 0; i < count; ++i)
        plan.push_back(Marked(uint32_t(i)));
    return plan;
}

} // namespace

TEST(WalkPlan, ASeedAlwaysGivesTheSamePlanAndEveryKindComes)
{
    const WalkPlan plan = MakeWalkPlan(7, 2000);
    ASSERT_EQ(plan.size(), 2000u);
    EXPECT_EQ(plan, MakeWalkPlan(7, 2000));
    EXPECT_NE(plan, MakeWalkPlan(8, 2000));
    // A shorter plan of the same seed is its beginning.
    const WalkPlan start = MakeWalkPlan(7, 50);
    EXPECT_TRUE(std::equal(start.begin(), start.end(), plan.begin()));
    std::set<WalkKind> kinds;
    for (const WalkAction &action : plan)
        kinds.insert(action.kind);
    EXPECT_EQ(kinds.size(), size_t(WalkKindCount));
}

TEST(WalkPlan, APlanReadsBackAsWrittenAndBadLinesAreRefused)
{
    const WalkPlan plan = MakeWalkPlan(3, 300);
    EXPECT_EQ(ParseWalkPlan(FormatWalkPlan(plan)), plan);
    EXPECT_EQ(ParseWalkPlan("# seed 3\n\nclose 4294967295 0\r\n"),
              (WalkPlan{{WalkKind::Close, 4294967295u, 0}}));
    for (const char *bad : {"jump 1 2\n", "type 1\n", "type 1 2 3\n", "type -1 2\n",
                            "type 1 4294967296\n", "type x 2\n"})
        EXPECT_FALSE(ParseWalkPlan(bad)) << bad;
}

TEST(WalkPlan, ShrinkingKeepsExactlyTheActionsTheFailureNeeds)
{
    const struct {
        const char *name;
        int size;
        std::vector<uint32_t> needed; // fails when all of them are in the plan
    } cases[] = {
        {"one action at the start", 200, {0}},
        {"one action at the end", 200, {199}},
        {"two far apart", 300, {3, 280}},
        {"three neighbours", 64, {30, 31, 32}},
        {"five spread out", 500, {1, 77, 150, 151, 498}},
        {"none: it fails from the start", 40, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        int calls = 0;
        auto fails = [&](const WalkPlan &plan) {
            ++calls;
            return std::all_of(c.needed.begin(), c.needed.end(), [&](uint32_t id) {
                return std::find(plan.begin(), plan.end(), Marked(id)) != plan.end();
            });
        };
        int tries = 0;
        const WalkPlan shrunk = ShrinkWalkPlan(Numbered(c.size), fails, &tries);
        WalkPlan expected;
        for (uint32_t id : c.needed)
            expected.push_back(Marked(id));
        EXPECT_EQ(shrunk, expected);
        EXPECT_EQ(tries, calls);
        // Each try is a walk of its own: a few per action, never a pass
        // over every pair.
        EXPECT_LE(tries, 2 * c.size);
    }
}

// A failure that needs its actions in order keeps them in order.
TEST(WalkPlan, ShrinkingKeepsTheOrderOfThePlan)
{
    auto fails = [](const WalkPlan &plan) {
        const auto first = std::find(plan.begin(), plan.end(), Marked(10));
        return first != plan.end() && std::find(first, plan.end(), Marked(90)) != plan.end();
    };
    EXPECT_EQ(ShrinkWalkPlan(Numbered(100), fails), (WalkPlan{Marked(10), Marked(90)}));
}
