// Messages of the channel field rules, Chinese and English side by side.
// Windows show them through their message boxes, in the language current
// at that moment; the command-line tool prints them.
#pragma once

#include "Language.h"

namespace ChannelMessages {

inline const BilingualText ReceiveOutOfBand{
    QStringLiteral("接收频率超出范围 ！"), QStringLiteral("Over the range of receive frequency .")};
// The grid writes "transmit", the channel edit window "Transmit".
inline const BilingualText TransmitOutOfBand{
    QStringLiteral("发射频率超出范围 ！"),
    QStringLiteral("Over the range of transmit frequency .")};
inline const BilingualText TransmitOutOfBandCapital{
    QStringLiteral("发射频率超出范围 ！"),
    QStringLiteral("Over the range of Transmit frequency .")};
inline const BilingualText ReceiveFirst{
    QStringLiteral("请先输入接收频率 ！"),
    QStringLiteral("Please input the receive frequency in advance.")};

} // namespace ChannelMessages
