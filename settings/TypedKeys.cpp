#include "TypedKeys.h"

namespace {

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

std::optional<QChar> Accept(QChar c) { return c; }

std::optional<QChar> Receive(const QString &trimmed, QChar key)
{
    if (key == BackspaceKey)
        return Accept(key);
    if (key == u'.')
        return trimmed.isEmpty() ? std::nullopt : Accept(key);
    if (IsDigit(key) && trimmed.size() <= 8)
        return Accept(key);
    return std::nullopt;
}

std::optional<QChar> Offset(const QString &trimmed, QChar key)
{
    if (key == BackspaceKey || key == EnterKey)
        return Accept(key);
    if (key == u'.')
        return trimmed.isEmpty() || trimmed.contains(u'.') ? std::nullopt : Accept(key);
    if (IsDigit(key) && trimmed.size() <= 7)
        return Accept(key);
    return std::nullopt;
}

std::optional<QChar> RangeLimit(QChar key)
{
    if (IsDigit(key) || key == u'.' || key == BackspaceKey || key == EnterKey)
        return Accept(key);
    return std::nullopt;
}

std::optional<QChar> Password(const QString &trimmed, QChar key)
{
    if (key == BackspaceKey)
        return Accept(key);
    if (IsDigit(key) && trimmed.size() < PasswordDigits)
        return Accept(key);
    return std::nullopt;
}

std::optional<QChar> Message(const QString &trimmed, QChar key)
{
    if (key == BackspaceKey)
        return Accept(key);
    const bool letter = (key >= u'A' && key <= u'Z') || (key >= u'a' && key <= u'z');
    const bool allowed = letter || IsDigit(key) || key == u'-' || key == u'_' || key == u'*';
    if (!allowed || trimmed.size() >= Options::MessageLength)
        return std::nullopt;
    return key.toUpper();
}

} // namespace

std::optional<QChar> TypedChar(OptionTextField field, const QString &text, QChar key)
{
    const QString trimmed = text.trimmed();
    switch (field) {
    case OptionTextField::Receive:
        return Receive(trimmed, key);
    case OptionTextField::Offset:
        return Offset(trimmed, key);
    case OptionTextField::RangeLimit:
        return RangeLimit(key);
    case OptionTextField::Password:
        return Password(trimmed, key);
    case OptionTextField::Message:
        return Message(trimmed, key);
    }
    return std::nullopt;
}

bool PasswordComplete(const QString &text) { return text.size() == PasswordDigits; }
