// Messages of the optional features window, both languages side by side,
// with the title each box carries. The window shows them; the rules only
// say which one.
#pragma once

#include "Language.h"

enum class MessageTitle {
    Prompt, // "操作提示" / "Operate prompt"
    CapitalPrompt, // "操作提示" / "Operate Prompt"
    EnglishOnly, // "Operate Prompt" in both languages
};

struct SettingsMessage {
    Caption text;
    MessageTitle title = MessageTitle::Prompt;
    bool operator==(const SettingsMessage &) const = default;
};

namespace SettingsMessages {

inline const SettingsMessage ReceiveOutOfRange{
    {QStringLiteral("接收频率超出范围 ！"), QStringLiteral("Over the range of RX frequency .")}};
inline const SettingsMessage TransmitOutOfRange{
    {QStringLiteral("发射频率超出范围 ！"), QStringLiteral("Over the range of TX frequency .")}};
inline const SettingsMessage OffsetOutOfRange{
    {QStringLiteral("频差频率超出范围 ！"),
     QStringLiteral("Over the range of Offset frequency .")}};
inline const SettingsMessage LowerBelowModel{
    {QStringLiteral("下限频率不可小于本机最低工作频率"),
     QStringLiteral("frequency of lower limit can't less than the lowest of work frequency. ")},
    MessageTitle::CapitalPrompt};
inline const SettingsMessage LowerAboveUpper{
    {QStringLiteral("下限频率不可大于上限频率"),
     QStringLiteral("frequency of lower limit can't more than frequency of upper limit.")},
    MessageTitle::CapitalPrompt};
inline const SettingsMessage UpperAboveModel{
    {QStringLiteral("上限频率不可大于本机最高工作频率"),
     QStringLiteral("frequency of upper limit can't more than the highest of work frequency. ")},
    MessageTitle::CapitalPrompt};
inline const SettingsMessage UpperBelowLower{
    {QStringLiteral("上限频率不可小于下限频率"),
     QStringLiteral("frequency of upper limit can't less than frequency of lower limit.")},
    MessageTitle::CapitalPrompt};
inline const SettingsMessage PasswordLength{
    {QStringLiteral("效验码的有效长度为 4 位 ！"), QStringLiteral("Password length is 4 digit.")},
    MessageTitle::EnglishOnly};

} // namespace SettingsMessages
