#include "WindowCatalog.h"

#include "AboutWindow.h"
#include "ChannelWindows.h"
#include "FileWindows.h"
#include "LinkWindows.h"
#include "ModelSelectWindow.h"
#include "RadioWriteOpen.h"
#include "SettingsWindows.h"
#include "Windows.h"

namespace {

// The link windows' registration declares nothing about them yet; what the
// window rules need to know of them is declared here meanwhile.
void DeclareLinkWindows()
{
    for (WindowId id : {WindowId::Form_setup, WindowId::Form_Comm_Read, WindowId::Form_Comm_Write})
        Windows::Declare(id, {.dialogLike = true});
    SetRadioWriteOpenQuery([] { return Windows::IsOpen(WindowId::Form_Comm_Write); });
}

} // namespace

void RegisterAppWindows()
{
    Windows::Register(WindowId::Form_type, [] { return new ModelSelectWindow; }, {.dialogLike = true});
    Windows::Register(WindowId::frmAbout, [] { return new AboutWindow; }, {.dialogLike = true});
}

void RegisterAllWindows()
{
    RegisterAppWindows();
    RegisterChannelWindows();
    RegisterLinkWindows();
    DeclareLinkWindows();
    RegisterFileWindows();
    RegisterSettingsWindows();
}
