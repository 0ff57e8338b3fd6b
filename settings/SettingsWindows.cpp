#include "SettingsWindows.h"

#include "Windows.h"

void RegisterSettingsWindows() {}
