#pragma once

// Tells the window manager how to make every child window of the program.
void RegisterAllWindows();
// The windows of the application core itself (model selection).
void RegisterAppWindows();
