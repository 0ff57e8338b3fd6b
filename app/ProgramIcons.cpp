#include "ProgramIcons.h"

#include <QSize>
#include <QString>

QIcon ProgramIcon(const char *name)
{
    // The sizes app/CMakeLists.txt renders: 16 and 24 and their doubles.
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(QLatin1String(name)).arg(size),
                     QSize(size, size));
    return icon;
}
