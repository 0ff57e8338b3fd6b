#include "SettingsWindows.h"

#include "OptionsWindow.h"
#include "Windows.h"

void RegisterSettingsWindows()
{
    Windows::Register(WindowId::frm_option, [] { return new OptionsWindow; });
}
