// The main window as the program starts it, for the tests that go through
// every window.
#pragma once

#include "Messages.h"

class MainWindow;

// Registers every window and starts the main window; message boxes go to
// hook instead of the screen.
MainWindow *StartProgram(const MessageHook &hook);
// Deletes it and unbinds the hook and every port a test bound.
void EndProgram(MainWindow *window);
