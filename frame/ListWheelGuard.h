// A drop-down list changes its entry only when the user means it: the
// mouse wheel passing over a list that does not have the focus would
// otherwise pick another entry, and every list stores its entry at once.
// Such a wheel goes on to what lies under the list (a table scrolls), and a
// list no longer takes the focus from the wheel either.
#pragma once

class QObject;

// Installs the guard for every list of the application; once is enough.
void InstallListWheelGuard();
// Whether a list takes a wheel turn now.
bool ListTakesWheel(const QObject *list);
