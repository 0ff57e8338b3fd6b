// Qt's own dialogs and buttons (file dialogs, the print preview and print
// dialog, the standard buttons of message boxes, serial port errors) speak
// the program's language: Qt's Chinese translations are loaded while the
// program is Chinese and removed for English, Qt's own language.
#pragma once

#include <QStringList>

// Follows IsChinese; false when Chinese was asked for and Qt's base
// translation was found in none of the folders.
bool UseQtTranslations(bool chinese);

// Where the translation files are looked for, in this order: the folder
// "translations" beside the program (the Windows installer puts them
// there), then Qt's own translations folder.
QStringList QtTranslationFolders();
