#include "WalkPlan.h"

#include <algorithm>
#include <array>
#include <sstream>

namespace {

const std::array<const char *, WalkKindCount> KindNames = {
    "menu",     "toolbar", "button",   "type", "key",  "cell",     "pick", "close",
    "activate", "wheel",   "language", "save", "open", "transfer", "wait",
};

// How often each kind comes, per 100 actions: mostly the small steps a
// user takes inside windows, now and then the big ones.
const std::array<int, WalkKindCount> KindWeights = {
    10, 3, 14, 16, 14, 10, 6, 6, 4, 2, 2, 3, 3, 2, 5,
};

// splitmix64: tiny, and the same everywhere (the standard distributions
// are not).
uint64_t Next(uint64_t &state)
{
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

const std::vector<std::string> &OddTexts()
{
    static const std::vector<std::string> texts = {
        "",
        " ",
        "0",
        "1",
        "-1",
        "12",
        "128",
        "255",
        "256",
        "99999",
        "436.125",
        "146.52",
        "400",
        "470",
        "469.99999",
        "136.00001",
        "999.999999",
        "0.00625",
        "1e308",
        "-0",
        "1,5",
        "12.34.56",
        "  446.00625  ",
        "abc",
        "ABCDE",
        "ABCDEFGHIJ",
        "a b",
        "NaN",
        "中文",
        "频道一二三",
        "é~^`",
        "%s%n%x",
        "'\";--",
        "\t",
        "123456789012345678901234567890",
        std::string(300, '9'),
        "walk.chann",
        "../x.chann",
        "x.txt",
        "87.5",
        "108",
        "101.5",
        "D023N",
        "67.0",
    };
    return texts;
}

WalkPlan MakeWalkPlan(uint64_t seed, int actions)
{
    int total = 0;
    for (int w : KindWeights)
        total += w;
    uint64_t state = seed * 0x2545F4914F6CDD1Dull + 1;
    WalkPlan plan;
    plan.reserve(std::max(actions, 0));
    for (int i = 0; i < actions; ++i) {
        int pick = int(Next(state) % uint64_t(total));
        int kind = 0;
        while (pick >= KindWeights[kind])
            pick -= KindWeights[kind++];
        WalkAction action;
        action.kind = WalkKind(kind);
        action.a = uint32_t(Next(state) >> 32);
        action.b = uint32_t(Next(state) >> 32);
        plan.push_back(action);
    }
    return plan;
}

const char *WalkKindName(WalkKind kind) { return KindNames[size_t(kind)]; }

std::optional<WalkKind> WalkKindFromName(const std::string &name)
{
    for (size_t k = 0; k < KindNames.size(); ++k)
        if (name == KindNames[k])
            return WalkKind(k);
    return std::nullopt;
}

std::string FormatWalkPlan(const WalkPlan &plan)
{
    std::ostringstream out;
    for (const WalkAction &action : plan)
        out << WalkKindName(action.kind) << ' ' << action.a << ' ' << action.b << '\n';
    return out.str();
}

std::optional<WalkPlan> ParseWalkPlan(const std::string &text)
{
    WalkPlan plan;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos || line.front() == '#')
            continue;
        std::istringstream fields(line);
        std::string name;
        long long a = -1, b = -1;
        std::string rest;
        if (!(fields >> name >> a >> b) || (fields >> rest))
            return std::nullopt;
        const std::optional<WalkKind> kind = WalkKindFromName(name);
        if (!kind || a < 0 || b < 0 || a > UINT32_MAX || b > UINT32_MAX)
            return std::nullopt;
        plan.push_back({*kind, uint32_t(a), uint32_t(b)});
    }
    return plan;
}

WalkPlan ShrinkWalkPlan(const WalkPlan &plan, const std::function<bool(const WalkPlan &)> &fails,
                        int *tries)
{
    int count = 0;
    auto test = [&](const WalkPlan &candidate) {
        ++count;
        return fails(candidate);
    };
    WalkPlan current = plan;
    size_t parts = 2;
    while (current.size() >= 2) {
        const size_t size = current.size();
        parts = std::min(parts, size);
        bool reduced = false;
        // Try each part alone, then each complement (all but one part).
        for (int complement = 0; complement < 2 && !reduced; ++complement) {
            for (size_t p = 0; p < parts && !reduced; ++p) {
                const size_t begin = size * p / parts, end = size * (p + 1) / parts;
                WalkPlan candidate;
                if (complement == 0) {
                    candidate.assign(current.begin() + long(begin), current.begin() + long(end));
                } else {
                    candidate.assign(current.begin(), current.begin() + long(begin));
                    candidate.insert(candidate.end(), current.begin() + long(end), current.end());
                }
                // With two parts a part and the other's complement are the same.
                if (complement == 1 && parts == 2)
                    continue;
                if (!candidate.empty() && test(candidate)) {
                    current = std::move(candidate);
                    parts = complement == 0 ? 2 : std::max<size_t>(parts - 1, 2);
                    reduced = true;
                }
            }
        }
        if (!reduced) {
            if (parts >= size)
                break;
            parts = std::min(size, parts * 2);
        }
    }
    // A single action may be needless too: the fault may need no action.
    if (current.size() == 1 && test(WalkPlan{}))
        current.clear();
    if (tries)
        *tries = count;
    return current;
}
