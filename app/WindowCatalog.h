#pragma once

// Tells the window manager how to make every child window of the program.
void RegisterAllWindows();
