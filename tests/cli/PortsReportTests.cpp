// What "ql540 ports" prints for a given list: aligned text in either
// language and JSON with the ids as hex digits.
#include "Globals.h"
#include "PortsCommand.h"
#include "SessionState.h"

#include <QJsonArray>
#include <gtest/gtest.h>

namespace {

QList<PortStatus> Ports()
{
    PortEntry cable;
    cable.name = "COM12";
    cable.description = "USB-SERIAL CH340";
    cable.manufacturer = "wch.cn";
    cable.vendorId = 0x1a86;
    cable.productId = 0x7523;
    cable.usb = true;
    PortEntry ftdi = cable;
    ftdi.name = "COM3";
    ftdi.description = "FT232R USB UART";
    ftdi.manufacturer = "FTDI";
    ftdi.vendorId = 0x0403;
    ftdi.productId = 0x6001;
    ftdi.serialNumber = "A50285BI";
    PortEntry board;
    board.name = "COM1";
    return {{cable, {PortHolder::Nobody, {}}},
            {ftdi, {PortHolder::AnotherProgram, {}}},
            {board, {PortHolder::ThisProgram, "4321"}}};
}

} // namespace

TEST(PortsReport, OneAlignedLinePerPortInEitherLanguage)
{
    SessionState::instance().setChinese(false);
    EXPECT_EQ(PortsText(Ports()).toStdString(),
              "Port   Description       Maker   USB id     Serial number  Held by\n"
              "COM12  USB-SERIAL CH340  wch.cn  1a86:7523  -              free\n"
              "COM3   FT232R USB UART   FTDI    0403:6001  A50285BI       another program\n"
              "COM1   -                 -       -          -              this program: 4321\n");
    EXPECT_EQ(PortsText({}).toStdString(), "No serial port found.\n");
    SessionState::instance().setChinese(true);
    const QString chinese = PortsText(Ports());
    EXPECT_TRUE(chinese.startsWith("端口   说明")) << chinese.toStdString();
    EXPECT_TRUE(chinese.contains("其他程序")) << chinese.toStdString();
    EXPECT_EQ(PortsText({}).toStdString(), "没有找到串口。\n");
    SessionState::instance().setChinese(false);
}

TEST(PortsReport, JsonNamesEveryFieldAndNullWhereUnknown)
{
    const QJsonArray ports = PortsJson(Ports()).value("ports").toArray();
    ASSERT_EQ(ports.size(), 3);
    const QJsonObject cable = ports[0].toObject();
    EXPECT_EQ(cable.value("name").toString(), "COM12");
    EXPECT_EQ(cable.value("description").toString(), "USB-SERIAL CH340");
    EXPECT_EQ(cable.value("manufacturer").toString(), "wch.cn");
    EXPECT_EQ(cable.value("vendorId").toString(), "1a86");
    EXPECT_EQ(cable.value("productId").toString(), "7523");
    EXPECT_TRUE(cable.value("usb").toBool());
    EXPECT_EQ(cable.value("heldBy").toString(), "nobody");
    EXPECT_TRUE(cable.value("holder").isNull());
    EXPECT_EQ(ports[1].toObject().value("serialNumber").toString(), "A50285BI");
    EXPECT_EQ(ports[1].toObject().value("heldBy").toString(), "another program");
    const QJsonObject board = ports[2].toObject();
    EXPECT_TRUE(board.value("vendorId").isNull());
    EXPECT_FALSE(board.value("usb").toBool());
    EXPECT_EQ(board.value("heldBy").toString(), "this program");
    EXPECT_EQ(board.value("holder").toString(), "4321");
}
