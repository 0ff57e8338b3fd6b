// The subcommands of ql540. Each takes its own arguments (the first one
// names the command, for the help texts) and returns the exit code.
#pragma once

#include <QStringList>

int ReadCommand(const QStringList &arguments);
int WriteCommand(const QStringList &arguments);
int ShowCommand(const QStringList &arguments);
// A channel file as the program starts, for a chosen model (NewCommand.cpp).
int NewCommand(const QStringList &arguments);
int PowerCommand(const QStringList &arguments);
