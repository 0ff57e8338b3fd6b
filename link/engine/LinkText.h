// A text the link shows or reports, in both languages; the receiver picks
// one by IsChinese when it shows it.
#pragma once

#include <QString>

struct LinkText {
    QString chinese;
    QString english;

    bool isEmpty() const { return chinese.isEmpty() && english.isEmpty(); }
    QString current() const;
};

inline bool operator==(const LinkText &a, const LinkText &b)
{
    return a.chinese == b.chinese && a.english == b.english;
}

// Message boxes of the link: the read's completion notice has the English
// title "Operate Prompt", every other one "Operate prompt".
struct LinkMessage {
    LinkText text;
    bool capitalTitle = false;
};
