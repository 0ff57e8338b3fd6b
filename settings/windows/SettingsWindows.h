#pragma once

// Registers the settings windows with the window manager.
void RegisterSettingsWindows();
