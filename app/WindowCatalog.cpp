#include "WindowCatalog.h"

#include "AboutWindow.h"
#include "ChannelWindows.h"
#include "FileWindows.h"
#include "FormType.h"
#include "LinkWindows.h"
#include "SettingsWindows.h"
#include "Windows.h"

void RegisterAppWindows()
{
    Windows::Register(WindowId::Form_type, [] { return new FormType; });
    Windows::Register(WindowId::frmAbout, [] { return new AboutWindow; });
}

void RegisterAllWindows()
{
    RegisterAppWindows();
    RegisterChannelWindows();
    RegisterLinkWindows();
    RegisterFileWindows();
    RegisterSettingsWindows();
}
