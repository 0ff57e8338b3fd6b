// ql540 sheet: the printed channel sheet of a file, as PDF. It paints with
// Qt Gui, so main() starts a GUI application (without a display) for it.
#pragma once

#include <QStringList>

int SheetCommand(const QStringList &arguments);
