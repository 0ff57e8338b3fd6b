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

// What a screen reader says of the table, the editors over its cells and
// the button that asks nothing.
inline QString TableName() { return Texts("信道", "Channels"); }
inline QString TableDescription()
{
    return Texts("每行一个信道。在单元格中输入即开始编辑，回车保存，Esc 取消；回车或 F2 "
                 "打开单元格的编辑器。",
                 "One row per channel. Typing in a cell starts an edit, Enter stores it, Esc "
                 "cancels; Enter or F2 opens the cell's editor.");
}
inline QString ClearDescription()
{
    return Texts("清除全部信道和信道名称，不再询问",
                 "Erases every channel and name without asking");
}
// column: the column's header text.
inline QString CellEditorName(int channel, const QString &column)
{
    return Texts("信道 %1 %2", "Channel %1 %2").arg(channel).arg(column.trimmed());
}

} // namespace GridTexts
