#include "WindowCatalog.h"

#include "AboutWindow.h"
#include "ChannelWindows.h"
#include "FileWindows.h"
#include "LinkWindows.h"
#include "ModelSelectWindow.h"
#include "SettingsWindows.h"
#include "Windows.h"

void RegisterAppWindows()
{
    Windows::Register(WindowId::ModelSelect, [] { return new ModelSelectWindow; },
                      {.dialogLike = true});
    Windows::Register(WindowId::About, [] { return new AboutWindow; }, {.dialogLike = true});
}

void RegisterAllWindows()
{
    RegisterAppWindows();
    RegisterChannelWindows();
    RegisterLinkWindows();
    RegisterFileWindows();
    RegisterSettingsWindows();
}
