// The power-adjust window's session on the console: connect with the same
// link engine and power exchange, take the radio's three power values and,
// when asked, send new ones; then tell the radio to leave and close the
// port.
#pragma once

#include "PowerExchange.h"

#include <optional>

// True once the radio has identified itself and acknowledged every frame;
// reported holds the values it gave. False (message printed) when the port
// cannot be opened or the link went down. Row 240 of the image ends as the
// window would leave it.
bool RunPower(ImageTable &image, const std::optional<PowerLevels> &set, PowerLevels &reported);
