// What a key press does in a text field, for the key filters of the
// channel windows.
#pragma once

#include <QKeyEvent>

inline bool IsEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// A key that types a character (as opposed to moving or deleting).
inline bool IsTyping(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

inline bool IsAsciiDigit(QChar ch) { return ch >= u'0' && ch <= u'9'; }
