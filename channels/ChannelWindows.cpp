#include "ChannelWindows.h"

#include "ChannelGrid.h"
#include "Windows.h"

void RegisterChannelWindows()
{
    Windows::Register(WindowId::frm_chann, [] { return new ChannelGridWindow; });
}
