#include "WindowCatalog.h"

#include "ChannelWindows.h"
#include "FileWindows.h"
#include "FormType.h"
#include "LinkWindows.h"
#include "SettingsWindows.h"
#include "Windows.h"

void RegisterAppWindows()
{
    Windows::Register(WindowId::Form_type, [] { return new FormType; });
}

void RegisterAllWindows()
{
    RegisterAppWindows();
    RegisterChannelWindows();
    RegisterLinkWindows();
    RegisterFileWindows();
    RegisterSettingsWindows();
}
