#include "PortClaims.h"

#include "DemoRadio.h"
#include "PortIdentity.h"

#include <map>

namespace {

// Port key -> owner. One thread: the user interface.
std::map<QString, const void *> &Claims()
{
    static std::map<QString, const void *> claims;
    return claims;
}

QString Key(const QString &device)
{
    if (IsDemoDevice(device))
        return device;
    const QString key = PortIdentity(device);
    return key.isEmpty() ? device : key;
}

} // namespace

namespace PortClaims {

const void *Holder(const QString &device)
{
    const auto found = Claims().find(Key(device));
    return found == Claims().end() ? nullptr : found->second;
}

bool Claim(const QString &device, const void *owner)
{
    const void *holder = Holder(device);
    if (holder && holder != owner)
        return false;
    Release(owner); // one device per owner: a new one replaces the old
    Claims()[Key(device)] = owner;
    return true;
}

void Release(const void *owner)
{
    for (auto it = Claims().begin(); it != Claims().end();)
        it = it->second == owner ? Claims().erase(it) : std::next(it);
}

} // namespace PortClaims
