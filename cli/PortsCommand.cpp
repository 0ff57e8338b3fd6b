#include "PortsCommand.h"

#include "CliSupport.h"
#include "ImageReport.h"
#include "Language.h"
#include "SystemPortSource.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <cstdio>

namespace {

QString OrDash(const QString &text) { return text.isEmpty() ? QStringLiteral("-") : text; }

QString HeldText(const PortHolding &holding)
{
    QString text;
    switch (holding.holder) {
    case PortHolder::Nobody:
        return Texts("空闲", "free");
    case PortHolder::ThisProgram:
        text = Texts("本程序", "this program");
        break;
    case PortHolder::AnotherProgram:
        text = Texts("其他程序", "another program");
        break;
    case PortHolder::Unknown:
        return Texts("未知", "unknown");
    }
    return holding.who.isEmpty() ? text : QStringLiteral("%1: %2").arg(text, holding.who);
}

QString HeldKey(PortHolder holder)
{
    switch (holder) {
    case PortHolder::Nobody:
        return QStringLiteral("nobody");
    case PortHolder::ThisProgram:
        return QStringLiteral("this program");
    case PortHolder::AnotherProgram:
        return QStringLiteral("another program");
    case PortHolder::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

QJsonValue Hex(const std::optional<quint16> &id)
{
    if (!id)
        return QJsonValue::Null;
    return QStringLiteral("%1").arg(*id, 4, 16, QLatin1Char('0'));
}

} // namespace

QString PortsText(const QList<PortStatus> &ports)
{
    if (ports.isEmpty())
        return Texts("没有找到串口。", "No serial port found.") + u'\n';
    QList<QStringList> rows{{Texts("端口", "Port"), Texts("说明", "Description"),
                             Texts("制造商", "Maker"), Texts("USB 编号", "USB id"),
                             Texts("序列号", "Serial number"), Texts("占用", "Held by")}};
    for (const PortStatus &status : ports) {
        const PortEntry &p = status.port;
        rows << QStringList{p.name,
                            OrDash(p.description.trimmed()),
                            OrDash(p.manufacturer.trimmed()),
                            OrDash(p.usbId()),
                            OrDash(p.serialNumber.trimmed()),
                            HeldText(status.holding)};
    }
    return TextTable(rows);
}

QJsonObject PortsJson(const QList<PortStatus> &ports)
{
    QJsonArray list;
    for (const PortStatus &status : ports) {
        const PortEntry &p = status.port;
        list.append(QJsonObject{
            {QStringLiteral("name"), p.name},
            {QStringLiteral("description"), p.description},
            {QStringLiteral("manufacturer"), p.manufacturer},
            {QStringLiteral("usb"), p.usb},
            {QStringLiteral("vendorId"), Hex(p.vendorId)},
            {QStringLiteral("productId"), Hex(p.productId)},
            {QStringLiteral("serialNumber"), p.serialNumber},
            {QStringLiteral("heldBy"), HeldKey(status.holding.holder)},
            {QStringLiteral("holder"), status.holding.who.isEmpty()
                                           ? QJsonValue(QJsonValue::Null)
                                           : QJsonValue(status.holding.who)},
        });
    }
    return {{QStringLiteral("ports"), list}};
}

int PortsCommand(const QStringList &arguments)
{
    StartUp(Chinese(arguments));
    const QString command = QStringLiteral("ports");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        Texts("列出本机现有的串口：名称、说明、制造商、USB 编号（厂商:产品）、序列号，以及是否被本"
              "程序或其他程序占用。USB 编程线排在前面。",
              "Lists the serial ports the computer has now: name, description, maker, USB id "
              "(vendor:product), serial number, and whether this program or another holds it. "
              "USB cables come first."));
    AddCommonOptions(parser);
    const QCommandLineOption json(QStringLiteral("json"), Texts("以 JSON 输出。", "Print JSON."));
    parser.addOption(json);
    if (const int code = ParseOptionsOnly(parser, arguments, command); code >= 0)
        return code;
    QList<PortStatus> ports;
    for (const PortEntry &port : PresentPorts())
        ports << PortStatus{port, HoldingOf(port.name)};
    if (parser.isSet(json))
        std::fputs(QJsonDocument(PortsJson(ports)).toJson().constData(), stdout);
    else
        std::fputs(PortsText(ports).toUtf8().constData(), stdout);
    return ExitSuccess;
}
