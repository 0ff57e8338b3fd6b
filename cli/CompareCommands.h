// ql540 verify and ql540 diff, and the verify that "write --verify" runs:
// the differences listed as the windows list them, exit code 3 when there
// are any.
#pragma once

#include "Globals.h"
#include "ProgressOutput.h"

#include <QStringList>

int VerifyCommand(const QStringList &arguments);
int DiffCommand(const QStringList &arguments);

// Reads rows 0..239 back from the radio on the bound port and compares
// them with expected, an image prepared as for a write. Prints the
// differences (JSON when asked); returns 0 (same), 3 (different) or 1 (the
// link failed).
int VerifyRadio(const ImageTable &expected, ProgressOutput::Style style, bool json);
