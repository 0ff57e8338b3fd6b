#include "OpenWindows.h"

OpenWindowFlags OpenWindows;

void ResetOpenWindows() { OpenWindows.clear(); }
