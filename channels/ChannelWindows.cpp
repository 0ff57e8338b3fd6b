#include "ChannelWindows.h"

#include "Windows.h"

void RegisterChannelWindows() {}
