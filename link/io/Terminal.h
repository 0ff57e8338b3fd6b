// Whether a standard stream is a terminal (a bar there, plain lines in a
// log). With the serial port and the device names, the one place that asks
// the operating system directly.
#pragma once

#include <cstdio>

bool IsTerminal(FILE *stream);
