// Captions of the channel grid window, Chinese and English side by side.
// Its messages are the channel rules' (ChannelMessages.h).
#pragma once

#include "Language.h"

#include <QString>

namespace GridTexts {

// "^" centres a column, "|" separates the columns.
inline QString HeaderFormat()
{
    return Texts("^信道号|^接收频率(MHZ)|^发射频率(MHZ)|^QT/DQT解码|^QT/"
                 "DQT编码|^发射功率|^信道带宽|^信道名称",
                 "^Channel|^RX Frequency|^TX Frequency|^CTCSS/DCS Dec|^CTCSS/DCS Enc|^ TX Power "
                 "|^  W/N  |^  Name  ");
}

inline QString ClearCaption() { return Texts("清除", "Clear"); }
inline QString EditCaption() { return Texts("信道编辑", "Channel Edit"); }
inline QString HelpCaption() { return Texts("帮助", "Help"); }
inline QString CloseCaption() { return Texts("关闭", "Close"); }

} // namespace GridTexts
