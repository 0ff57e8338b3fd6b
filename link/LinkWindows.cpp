#include "LinkWindows.h"

#include "Windows.h"

void RegisterLinkWindows() {}
