#include "ChannelWindows.h"

#include "ChannelEditWindow.h"
#include "ChannelGrid.h"
#include "FmListWindow.h"
#include "Windows.h"

void RegisterChannelWindows()
{
    Windows::Register(WindowId::ChannelGrid,
                      [](const WindowContext &context) { return new ChannelGridWindow(context); });
    // The edit window works on the grid's current channel and goes with it.
    Windows::Declare(WindowId::ChannelEdit, {.closesWith = WindowId::ChannelGrid});
    Windows::Register(WindowId::ChannelEdit, [] { return new ChannelEditWindow; });
    Windows::Register(WindowId::FmList, [] { return new FmListWindow; });
}
