// The serial ports the computer has now, and what each one is: the data,
// where it comes from, and the rules the windows and the command-line tool
// show it by. Qt Core only.
//
//   PortEntry       one port: its name, what the system calls it, its USB ids
//   PortSource      where the list comes from: the system (SystemPortSource,
//                   link/io, over the serial port library) or a list given
//                   in advance (ListedPortSource: tests, and Wine, which
//                   lists no ports of its own)
//   OrderedPorts    USB cables first, then by name (COM2 before COM10)
//   PortLine        "COM12 — USB-SERIAL CH340", for the eye and the ear
//   SoleUsbCable    the one USB serial cable present, when there is one
//   FindPort        the entry that names a port, however it was written
//   PortsToChoose   the ports present plus those typed, one each
#pragma once

#include "Language.h"
#include "PortIdentity.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

struct PortEntry {
    // The name the user types and the program shows: COM12, /dev/ttyUSB0.
    QString name;
    // What the system calls it ("USB-SERIAL CH340", "FT232R USB UART");
    // may be empty.
    QString description;
    QString manufacturer;
    // The USB serial number, for a cable that has one.
    QString serialNumber;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    // A USB serial cable or adapter (not a port on the board).
    bool usb = false;

    // "1a86:7523", or empty without both ids.
    QString usbId() const;
    bool operator==(const PortEntry &) const = default;
};

class PortSource {
public:
    virtual ~PortSource() = default;
    // The ports present now, in no particular order.
    virtual QList<PortEntry> ports() const = 0;
};

// A list given in advance, changed at will.
class ListedPortSource : public PortSource {
public:
    ListedPortSource() = default;
    explicit ListedPortSource(QList<PortEntry> ports) : ports_(std::move(ports)) { }
    void setPorts(QList<PortEntry> ports) { ports_ = std::move(ports); }
    QList<PortEntry> ports() const override { return ports_; }

private:
    QList<PortEntry> ports_;
};

// USB cables first (the programming cable is one), then by name with
// numbers in their numeric order; a port listed twice appears once.
QList<PortEntry> OrderedPorts(QList<PortEntry> ports, PortPlatform platform);

// "NAME — what it is": the system's description; on Unix, where
// descriptions are generic, with the USB ids. Without a description: the
// maker, or "USB serial port" / "serial port".
BilingualText PortLine(const PortEntry &port, PortPlatform platform);

// The one USB serial cable among the ports; none with none or several.
std::optional<PortEntry> SoleUsbCable(const QList<PortEntry> &ports);

// The entry of the port name names (by PortKey); nullptr when absent.
const PortEntry *FindPort(const QList<PortEntry> &ports, const QString &name,
                          PortPlatform platform);

// A port to choose from: one that is present (with its entry) or one that
// was typed.
struct PortChoice {
    QString name;
    std::optional<PortEntry> entry;
    bool operator==(const PortChoice &) const = default;
};
// The ports present in their order, then each typed name that names no
// port already listed, in the order typed. A name that cannot name a port
// ("COM5:") is kept as written, once; an empty one is left out. resolve,
// where given, says what a name points to (ResolvePortLink), so that a link
// and its device are one.
QList<PortChoice> PortsToChoose(const QList<PortEntry> &present, const QStringList &typed,
                                PortPlatform platform,
                                const std::function<QString(const QString &)> &resolve = {});
