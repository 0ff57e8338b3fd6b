// Every text the user reads exists in Chinese and English. A text travels
// with both (BilingualText) until it is shown, and text() picks the one of
// the language current at that moment; Bilingual() makes one of a pair
// written in place, and Texts() picks from such a pair at once.
#pragma once

#include "Globals.h"

#include <QString>

// A text in both interface languages, kept whole until it is shown:
// captions, messages, statuses and errors alike.
struct BilingualText {
    QString chinese;
    QString english;

    // The text of the current language (IsChinese).
    QString text() const { return IsChinese ? chinese : english; }
    bool isEmpty() const { return chinese.isEmpty() && english.isEmpty(); }
    // QString::arg on both texts.
    template<class... Args> BilingualText arg(const Args &...args) const
    {
        return {chinese.arg(args...), english.arg(args...)};
    }
    BilingualText operator+(const BilingualText &more) const
    {
        return {chinese + more.chinese, english + more.english};
    }
    bool operator==(const BilingualText &) const = default;
};

// A pair written in place, kept whole.
inline BilingualText Bilingual(const char *chinese, const char *english)
{
    return {QString::fromUtf8(chinese), QString::fromUtf8(english)};
}

// The text of the current language of a pair written in place.
inline QString Texts(const char *chinese, const char *english)
{
    return Bilingual(chinese, english).text();
}

// The title of a message box.
enum class PromptTitle {
    Prompt, // "操作提示" / "Operate prompt"
    CapitalPrompt, // "操作提示" / "Operate Prompt"
    EnglishOnly, // "Operate Prompt" in both languages
};

// What a message box says, and under which title.
struct PromptMessage {
    BilingualText text;
    PromptTitle title = PromptTitle::Prompt;
    bool operator==(const PromptMessage &) const = default;
};
