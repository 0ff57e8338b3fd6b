#include "Messages.h"

#include "Globals.h"

#include <QMessageBox>
#include <QRegularExpression>
#include <QWidget>

namespace {

MessageHook &Hook()
{
    static MessageHook hook;
    return hook;
}

QString TitleText(PromptTitle title)
{
    if (title == PromptTitle::EnglishOnly)
        return QStringLiteral("Operate Prompt");
    return BilingualText{QStringLiteral("操作提示"), title == PromptTitle::CapitalPrompt
                                                         ? QStringLiteral("Operate Prompt")
                                                         : QStringLiteral("Operate prompt")}
        .text();
}

void Show(QWidget *parent, QMessageBox::Icon icon, const QString &text, const QString &title)
{
    if (Hook()) {
        Hook()(text, title);
        return;
    }
    // The top-level window outlives the box, whatever the box's event loop
    // does to the child window that asked for it.
    if (parent)
        parent = parent->window();
    // Marks set off by blanks ("port . ！") must not be wrapped onto a line
    // of their own: the blanks before them become no-break spaces.
    static const QRegularExpression looseMarks(QStringLiteral(" (?=[.,;:!?！。，]+(\\s|$))"));
    QString shown = text;
    shown.replace(looseMarks, QStringLiteral("\u00A0"));
    QMessageBox box(icon, title, shown, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

void ShowWarning(QWidget *parent, const BilingualText &text, PromptTitle title)
{
    Show(parent, QMessageBox::Warning, text.text(), TitleText(title));
}

void ShowWarning(QWidget *parent, const PromptMessage &message)
{
    ShowWarning(parent, message.text, message.title);
}

void ShowInformation(QWidget *parent, const BilingualText &text, PromptTitle title)
{
    Show(parent, QMessageBox::Information, text.text(), TitleText(title));
}

void ShowPlainMessage(QWidget *parent, const QString &text)
{
    Show(parent, QMessageBox::NoIcon, text, QString());
}

void SetMessageHook(MessageHook hook) { Hook() = std::move(hook); }
