// The message shown when a port cannot be opened: the fixed text first,
// then the device and the system's reason, so the user can act on it.
#pragma once

#include "Language.h"
#include "LinkIo.h"

BilingualText PortErrorText(const PortOpenResult &result);
