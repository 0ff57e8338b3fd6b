#pragma once

// Registers the files windows with the window manager.
void RegisterFileWindows();
