#pragma once

// Registers the channels windows with the window manager.
void RegisterChannelWindows();
