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

} // namespace ChannelEditTexts

namespace FmListTexts {

inline QString Caption() { return Texts("收音机编辑", "Radio Frequency"); }
// "^" centres a column, "|" separates the columns.
inline QString HeaderFormat()
{
    return Texts("^收  音  频  道 |^    频      率  (MHZ) ", "^Radio Channel |^ Frequency (MHZ)");
}

} // namespace FmListTexts
