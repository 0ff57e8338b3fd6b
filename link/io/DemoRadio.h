// The demo: the simulated radio started next to the program on a
// pseudo-terminal, so the read and write windows work without a radio.
#pragma once

#include <QString>

class QObject;

// Starts bin/ql540-radio-sim (beside the running program) with the given
// arguments and returns its device path; the process ends with owner.
// On failure returns an empty path and the reason in error.
QString StartDemoRadio(QObject *owner, const QStringList &arguments, QString *error);
