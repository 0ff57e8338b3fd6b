#include "ControlEvents.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

namespace {

template<class Map, class... Args>
void Run(const Map &handlers, const QObject *control, Args... args)
{
    auto it = handlers.find(control);
    if (it != handlers.end())
        it->second(args...);
}

} // namespace

void ControlEvents::onChoice(QComboBox *list, std::function<void(int)> handler)
{
    choices_[list] = handler;
    QObject::connect(list, &QComboBox::activated, list, std::move(handler));
}

void ControlEvents::onClick(QAbstractButton *button, std::function<void(bool)> handler)
{
    clicks_[button] = handler;
    QObject::connect(button, &QAbstractButton::clicked, button, std::move(handler));
}

void ControlEvents::onChange(QLineEdit *field, std::function<void()> handler)
{
    changes_[field] = handler;
    QObject::connect(field, &QLineEdit::textEdited, field, [handler] { handler(); });
}

void ControlEvents::select(QComboBox *list, int index)
{
    if (list->currentIndex() == index)
        return;
    list->setCurrentIndex(index);
    if (!quiet_ && list->currentIndex() == index)
        Run(choices_, list, index);
}

void ControlEvents::setChecked(QAbstractButton *button, bool on)
{
    if (button->isChecked() == on)
        return;
    button->setChecked(on);
    if (!quiet_ && button->isChecked() == on)
        Run(clicks_, button, on);
}

void ControlEvents::setText(QLineEdit *field, const QString &text)
{
    if (field->text() == text)
        return;
    field->setText(text);
    if (!quiet_)
        Run(changes_, field);
}
