#include "ChannelWindows.h"

#include "ChannelEditWindow.h"
#include "ChannelGrid.h"
#include "FmListWindow.h"
#include "Windows.h"

void RegisterChannelWindows()
{
    Windows::Register(WindowId::frm_chann, [] { return new ChannelGridWindow; });
    Windows::Register(WindowId::Form_Chann_Edit, [] { return new ChannelEditWindow; });
    Windows::Register(WindowId::Form_Edit_Test, [] { return new FmListWindow; });
}
