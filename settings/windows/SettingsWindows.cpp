#include "SettingsWindows.h"

#include "OptionsWindow.h"
#include "Windows.h"

void RegisterSettingsWindows()
{
    Windows::Register(WindowId::Options, [] { return new OptionsWindow; });
}
