// Modal message boxes. A box takes its text in both languages and shows
// the one current when it is shown, under its title (PromptTitle). It
// belongs to the top-level window of the parent it is given (the main
// window for its child windows); none when it is null.
#pragma once

#include "Language.h"

#include <QString>
#include <functional>

class QWidget;

// Exclamation icon, OK button, title by PromptTitle.
void ShowWarning(QWidget *parent, const BilingualText &text,
                 PromptTitle title = PromptTitle::Prompt);
void ShowWarning(QWidget *parent, const PromptMessage &message);
// Plain OK box with no icon and no title text of its own.
void ShowPlainMessage(QWidget *parent, const QString &text);
// Completion notices use an information icon.
void ShowInformation(QWidget *parent, const BilingualText &text,
                     PromptTitle title = PromptTitle::Prompt);

// Tests replace the modal box with a recorder; a null hook restores it.
using MessageHook = std::function<void(const QString &text, const QString &title)>;
void SetMessageHook(MessageHook hook);
