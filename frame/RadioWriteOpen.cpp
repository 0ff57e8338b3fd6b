#include "RadioWriteOpen.h"

namespace {
std::function<bool()> &Query()
{
    static std::function<bool()> query;
    return query;
}
} // namespace

bool RadioWriteOpen() { return Query() && Query()(); }

void SetRadioWriteOpenQuery(std::function<bool()> query) { Query() = std::move(query); }
