// Whether a standard stream is a terminal (a bar there, plain lines in a
// log), and a Windows console told to show UTF-8. With the serial port and
// the device names, the one place that asks the operating system directly.
#pragma once

#include <cstdio>

bool IsTerminal(FILE *stream);
// The tool's console on Windows: its UTF-8 shown as such (a console shows
// it only when told), and Ctrl+C ending the program with exit code 130, as
// SIGINT does on Linux (Windows would end it with 0 under some consoles).
// Elsewhere there is nothing to do.
void SetUpConsole();
