// The push buttons under the channel windows' tables: found by name, and
// never pressed by an Enter that an editor of the table should get.
#pragma once

#include <QPushButton>

inline QPushButton *MakeButton(const char *name, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}
