// The operating system's system-information tool, which the about box
// offers to start. Windows names it in the registry; elsewhere the first
// installed tool of a short list serves.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

struct ToolCommand {
    QString program;
    QStringList arguments;
};

std::optional<ToolCommand> FindSystemInfoTool();
// False when there is no tool or it could not be started.
bool StartSystemInfoTool();
