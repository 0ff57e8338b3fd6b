// Whether a write to the radio is open. The grid then stores a frequency
// being typed as soon as its editor loses the focus, so that the write sends
// it. The subsystem of the write window answers; until it does, none is.
#pragma once

#include <functional>

bool RadioWriteOpen();
void SetRadioWriteOpenQuery(std::function<bool()> query);
