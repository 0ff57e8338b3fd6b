// Messages of the optional features window, both languages side by side,
// with the title each box carries. The window shows them; the rules only
// say which one.
#pragma once

#include "Language.h"

namespace SettingsMessages {

inline const PromptMessage ReceiveOutOfRange{
    {QStringLiteral("接收频率超出范围 ！"), QStringLiteral("Over the range of RX frequency .")}};
inline const PromptMessage TransmitOutOfRange{
    {QStringLiteral("发射频率超出范围 ！"), QStringLiteral("Over the range of TX frequency .")}};
inline const PromptMessage OffsetOutOfRange{
    {QStringLiteral("频差频率超出范围 ！"),
     QStringLiteral("Over the range of Offset frequency .")}};
inline const PromptMessage LowerBelowModel{
    {QStringLiteral("下限频率不可小于本机最低工作频率"),
     QStringLiteral("frequency of lower limit can't less than the lowest of work frequency. ")},
    PromptTitle::CapitalPrompt};
inline const PromptMessage LowerAboveUpper{
    {QStringLiteral("下限频率不可大于上限频率"),
     QStringLiteral("frequency of lower limit can't more than frequency of upper limit.")},
    PromptTitle::CapitalPrompt};
inline const PromptMessage UpperAboveModel{
    {QStringLiteral("上限频率不可大于本机最高工作频率"),
     QStringLiteral("frequency of upper limit can't more than the highest of work frequency. ")},
    PromptTitle::CapitalPrompt};
inline const PromptMessage UpperBelowLower{
    {QStringLiteral("上限频率不可小于下限频率"),
     QStringLiteral("frequency of upper limit can't less than frequency of lower limit.")},
    PromptTitle::CapitalPrompt};
inline const PromptMessage PasswordLength{
    {QStringLiteral("效验码的有效长度为 4 位 ！"), QStringLiteral("Password length is 4 digit.")},
    PromptTitle::EnglishOnly};

} // namespace SettingsMessages
