#pragma once

#include <QIcon>

// The program's own icon `name` (a file of app/icons without ".svg"), at
// every size it is rendered in. Never taken from the desktop's icon theme:
// a theme that lacks the name costs hundreds of file look-ups per icon.
QIcon ProgramIcon(const char *name);
