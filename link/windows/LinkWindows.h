#pragma once

// Registers the link windows with the window manager.
void RegisterLinkWindows();
