#include "FileWindows.h"

#include "Windows.h"

void RegisterFileWindows() {}
