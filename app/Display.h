#pragma once

// False when a windowed program cannot start here (no X11 or Wayland display
// and no platform plugin chosen); the program then says so and exits.
bool DisplayAvailable();
