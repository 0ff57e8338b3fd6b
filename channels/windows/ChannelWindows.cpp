#include "ChannelWindows.h"

#include "ChannelEditWindow.h"
#include "ChannelGrid.h"
#include "FmListWindow.h"
#include "Windows.h"

void RegisterChannelWindows()
{
    Windows::Register(WindowId::frm_chann,
                      [](const WindowContext &context) { return new ChannelGridWindow(context); });
    // The edit window works on the grid's current channel and goes with it.
    Windows::Declare(WindowId::Form_Chann_Edit, {.closesWith = WindowId::frm_chann});
    Windows::Register(WindowId::Form_Chann_Edit, [] { return new ChannelEditWindow; });
    Windows::Register(WindowId::Form_Edit_Test, [] { return new FmListWindow; });
}
