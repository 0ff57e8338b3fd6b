// ql540 export-csv and import-csv: channel lists in the common CSV format,
// with the import's report as the windows show it.
#pragma once

#include <QStringList>

int ExportCsvCommand(const QStringList &arguments);
int ImportCsvCommand(const QStringList &arguments);
