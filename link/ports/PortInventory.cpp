#include "PortInventory.h"

#include <algorithm>

QString PortEntry::usbId() const
{
    if (!vendorId || !productId)
        return {};
    return QStringLiteral("%1:%2")
        .arg(*vendorId, 4, 16, QLatin1Char('0'))
        .arg(*productId, 4, 16, QLatin1Char('0'));
}

namespace {

// COM2 before COM10: runs of digits compare by their value, the rest by
// character. The same in every locale.
bool NaturallyBefore(const QString &a, const QString &b)
{
    // A run of digits from at, without its leading zeros; at moves past it.
    const auto number = [](const QString &text, qsizetype &at) {
        while (at < text.size() && text[at] == u'0' && at + 1 < text.size()
               && text[at + 1].isDigit())
            ++at;
        const qsizetype from = at;
        while (at < text.size() && text[at].isDigit())
            ++at;
        return QStringView(text).mid(from, at - from);
    };
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const QStringView x = number(a, i), y = number(b, j);
            if (x.size() != y.size())
                return x.size() < y.size();
            if (x != y)
                return x < y;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

} // namespace

QList<PortEntry> OrderedPorts(QList<PortEntry> ports, PortPlatform platform)
{
    std::stable_sort(ports.begin(), ports.end(), [&](const PortEntry &a, const PortEntry &b) {
        if (a.usb != b.usb)
            return a.usb;
        return NaturallyBefore(PortKey(a.name, platform), PortKey(b.name, platform));
    });
    QList<PortEntry> once;
    for (const PortEntry &port : ports)
        if (!FindPort(once, port.name, platform))
            once << port;
    return once;
}

BilingualText PortLine(const PortEntry &port, PortPlatform platform)
{
    static const QString dash = QStringLiteral(" — ");
    QString what = port.description.trimmed();
    if (what.isEmpty())
        what = port.manufacturer.trimmed();
    const QString id = port.usbId();
    if (!what.isEmpty()) {
        if (platform == PortPlatform::Unix && !id.isEmpty())
            what += QStringLiteral(", ") + id;
        return {port.name + dash + what, port.name + dash + what};
    }
    const QString idText = id.isEmpty() ? QString() : QStringLiteral(", ") + id;
    if (port.usb)
        return {port.name + dash + QStringLiteral("USB 串口") + idText,
                port.name + dash + QStringLiteral("USB serial port") + idText};
    return {port.name + dash + QStringLiteral("串口"),
            port.name + dash + QStringLiteral("serial port")};
}

std::optional<PortEntry> SoleUsbCable(const QList<PortEntry> &ports)
{
    std::optional<PortEntry> found;
    for (const PortEntry &port : ports) {
        if (!port.usb)
            continue;
        if (found)
            return std::nullopt;
        found = port;
    }
    return found;
}

const PortEntry *FindPort(const QList<PortEntry> &ports, const QString &name, PortPlatform platform)
{
    const QString key = PortKey(name, platform);
    if (key.isEmpty())
        return nullptr;
    for (const PortEntry &port : ports)
        if (PortKey(port.name, platform) == key)
            return &port;
    return nullptr;
}

QList<PortChoice> PortsToChoose(const QList<PortEntry> &present, const QStringList &typed,
                                PortPlatform platform,
                                const std::function<QString(const QString &)> &resolve)
{
    QList<PortChoice> choices;
    QStringList keys;
    const auto add = [&](const QString &name, std::optional<PortEntry> entry) {
        const QString trimmed = name.trimmed();
        // A name that names no port is kept as written (opening it then
        // says the port does not exist), once.
        QString key = PortKey(resolve ? resolve(trimmed) : trimmed, platform);
        if (key.isEmpty())
            key = QStringLiteral("?") + trimmed;
        if (trimmed.isEmpty() || keys.contains(key))
            return;
        keys << key;
        choices << PortChoice{trimmed, std::move(entry)};
    };
    for (const PortEntry &port : present)
        add(port.name, port);
    for (const QString &name : typed)
        add(name, std::nullopt);
    return choices;
}
