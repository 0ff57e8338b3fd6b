#include "WindowCatalog.h"

#include "ChannelWindows.h"
#include "FileWindows.h"
#include "LinkWindows.h"
#include "SettingsWindows.h"

void RegisterAllWindows()
{
    RegisterChannelWindows();
    RegisterLinkWindows();
    RegisterFileWindows();
    RegisterSettingsWindows();
}
