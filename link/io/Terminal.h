// Whether a standard stream is a terminal (a bar there, plain lines in a
// log), and a Windows console told to show UTF-8. With the serial port and
// the device names, the one place that asks the operating system directly.
#pragma once

#include <cstdio>

bool IsTerminal(FILE *stream);
// The tool prints UTF-8; a Windows console shows it as such only when told
// (elsewhere there is nothing to do).
void UseUtf8Console();
