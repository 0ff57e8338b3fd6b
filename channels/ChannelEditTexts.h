// Captions of the channel edit window and the FM station list, Chinese and
// English side by side. The command-line tool names the channel switches
// with the edit window's captions.
#pragma once

#include "Language.h"

#include <QString>

namespace ChannelEditTexts {

inline QString Caption() { return Texts("信道编辑", "Channel Edit"); }
inline QString Channel() { return Texts("信道", "Channel"); }
inline QString Receive() { return Texts("接收频率", "Receive Frequency "); }
inline QString Transmit() { return Texts("发射频率", "Transmit Frequency"); }
inline QString Decode() { return Texts("QT/DQT 解码", "QT/DQT Decode"); }
inline QString Encode() { return Texts("QT/DQT 编码", "QT/DQT Encode"); }
inline QString Power() { return Texts("发射功率", "TX Power"); }
inline QString Bandwidth() { return Texts("宽带/窄带", "Wide/Narror"); }
inline QString Name() { return Texts("信道名称", "Channel Name"); }
inline QString Vox() { return Texts("声控发射", "VOX"); }
inline QString BusyLock() { return Texts("繁忙锁定", "BCL"); }
inline QString ScanAdd() { return Texts("扫描添加", "Scan Add"); }
inline QString TxStop() { return Texts("禁止发射", "TX Stop"); }
inline QString Close() { return Texts("关闭", "Close"); }
inline QString Help() { return Texts("帮助", "Help"); }

// What a screen reader says of the scroll bar, which has no caption.
inline QString ChannelScroll() { return Texts("逐个选择信道", "Step through channels"); }
inline QString ChannelScrollDescription()
{
    return Texts("方向键切换到上一个或下一个信道，128 之后是 1；Page Up 和 Page Down "
                 "在窗口中任何地方都可切换信道",
                 "The arrow keys go to the previous or next channel, 1 follows 128; Page Up and "
                 "Page Down do so anywhere in the window");
}

} // namespace ChannelEditTexts

namespace FmListTexts {

inline QString Caption() { return Texts("收音机编辑", "Radio Frequency"); }
// "^" centres a column, "|" separates the columns.
inline QString HeaderFormat()
{
    return Texts("^收  音  频  道 |^    频      率  (MHZ) ", "^Radio Channel |^ Frequency (MHZ)");
}

// What a screen reader says of the table and the editor over a cell.
inline QString TableName() { return Texts("收音机频道", "FM stations"); }
inline QString TableDescription()
{
    return Texts("每行一个电台，87.0 到 108.0 "
                 "MHZ。在频率单元格中输入即开始编辑，回车保存并到下一个电台，Esc 取消。",
                 "One row per station, 87.0 to 108.0 MHZ. Typing in a frequency cell starts an "
                 "edit, Enter stores it and goes to the next station, Esc cancels.");
}
inline QString EditorName(int station)
{
    return Texts("电台 %1 频率(MHZ)", "Station %1 frequency (MHZ)").arg(station);
}

} // namespace FmListTexts
