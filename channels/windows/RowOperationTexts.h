// Captions and messages of the grid's row operations, Chinese and English
// side by side; the grid's context menu and the main window's Edit menu
// share them.
#pragma once

#include "ChannelMessages.h"
#include "Language.h"

#include <QString>

namespace RowTexts {

inline QString InsertCaption() { return Texts("插入空信道", "Insert Empty Channel"); }
inline QString DeleteCaption() { return Texts("删除信道", "Delete Channels"); }
inline QString MoveUpCaption() { return Texts("信道上移", "Move Channels Up"); }
inline QString MoveDownCaption() { return Texts("信道下移", "Move Channels Down"); }

// Inserting would push a programmed channel 128 off the end.
inline const BilingualText LastChannelInUse{
    QStringLiteral("信道 128 已有数据，插入空信道会将其挤出。请先删除或移动信道 128。"),
    QStringLiteral("Channel 128 is in use: inserting an empty channel would push it off the end. "
                   "Delete or move channel 128 first.")};

} // namespace RowTexts
