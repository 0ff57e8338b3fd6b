// Modal message boxes. Every box picks its text and title by IsChinese at
// the moment it is shown, so callers pass both languages. A box belongs to
// the top-level window of the parent it is given (the main window for its
// child windows); none when it is null.
#pragma once

#include <QString>
#include <functional>

class QWidget;

enum class PromptTitle {
    Prompt, // "操作提示" / "Operate prompt"
    CapitalPrompt, // "操作提示" / "Operate Prompt"
    EnglishOnly, // "Operate Prompt" in both languages
};

// Exclamation icon, OK button, title by PromptTitle.
void ShowWarning(QWidget *parent, const QString &chinese, const QString &english,
                 PromptTitle title = PromptTitle::Prompt);
// Plain OK box with no icon and no title text of its own.
void ShowPlainMessage(QWidget *parent, const QString &text);
// Completion notices of the link windows use an information icon.
void ShowInformation(QWidget *parent, const QString &chinese, const QString &english,
                     PromptTitle title = PromptTitle::Prompt);

// Tests replace the modal box with a recorder; a null hook restores it.
using MessageHook = std::function<void(const QString &text, const QString &title)>;
void SetMessageHook(MessageHook hook);
