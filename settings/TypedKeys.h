// What each text field of the optional features window lets the user type.
// A key is judged against the text it would land in (the field's text
// without the selection the key replaces), so a field's length limit holds
// but a selected text can still be typed over.
#pragma once

#include "RecordCodec.h"

#include <QChar>
#include <QString>
#include <optional>

enum class OptionTextField {
    Receive, // VFO receive frequency
    Offset, // VFO offset
    RangeLimit, // lower or upper working limit
    Password, // power-on password
    Message, // power-on message
};

inline constexpr QChar BackspaceKey{u'\b'};
inline constexpr QChar EnterKey{u'\r'};

// The character the key puts into the field (a letter of the message in
// upper case), the key itself for an accepted Backspace or Enter, nothing
// for a discarded key.
std::optional<QChar> TypedChar(OptionTextField field, const QString &text, QChar key);

// The password is taken when it has exactly four digits.
constexpr int PasswordDigits = Options::PasswordLength;
bool PasswordComplete(const QString &text);
