// Messages of the channel field rules, Chinese and English side by side.
// Windows show them through their message boxes, in the language current
// at that moment; the command-line tool prints them.
#pragma once

#include "Language.h"

struct ChannelMessage {
    const char *chinese;
    const char *english;

    QString text() const { return Texts(chinese, english); }
};

namespace ChannelMessages {

inline constexpr ChannelMessage ReceiveOutOfBand{"接收频率超出范围 ！",
                                                 "Over the range of receive frequency ."};
// The grid writes "transmit", the channel edit window "Transmit".
inline constexpr ChannelMessage TransmitOutOfBand{"发射频率超出范围 ！",
                                                  "Over the range of transmit frequency ."};
inline constexpr ChannelMessage TransmitOutOfBandCapital{"发射频率超出范围 ！",
                                                         "Over the range of Transmit frequency ."};
inline constexpr ChannelMessage ReceiveFirst{"请先输入接收频率 ！",
                                             "Please input the receive frequency in advance."};

} // namespace ChannelMessages
