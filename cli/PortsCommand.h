// ql540 ports: the serial ports the computer has, what each one is and who
// holds it; as aligned text or as JSON.
#pragma once

#include "PortBinding.h"
#include "PortInventory.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

struct PortStatus {
    PortEntry port;
    PortHolding holding;
};

// Columns port, description, maker, USB id, serial number, held by; a line
// saying there are none when there are none.
QString PortsText(const QList<PortStatus> &ports);
// {"ports": [{"name", "description", "manufacturer", "usb", "vendorId",
// "productId", "serialNumber", "heldBy", "holder"}]}: ids as four hex
// digits, null where unknown; heldBy "nobody", "this program", "another
// program" or "unknown".
QJsonObject PortsJson(const QList<PortStatus> &ports);

int PortsCommand(const QStringList &arguments);
