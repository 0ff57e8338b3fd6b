#include "PortClaims.h"

#include <map>

namespace {

// Device path -> owner. One thread: the user interface.
std::map<QString, const void *> &Claims()
{
    static std::map<QString, const void *> claims;
    return claims;
}

} // namespace

namespace PortClaims {

const void *Holder(const QString &device)
{
    const auto found = Claims().find(device);
    return found == Claims().end() ? nullptr : found->second;
}

bool Claim(const QString &device, const void *owner)
{
    const void *holder = Holder(device);
    if (holder && holder != owner)
        return false;
    Release(owner); // one device per owner: a new one replaces the old
    Claims()[device] = owner;
    return true;
}

void Release(const void *owner)
{
    for (auto it = Claims().begin(); it != Claims().end();)
        it = it->second == owner ? Claims().erase(it) : std::next(it);
}

} // namespace PortClaims
