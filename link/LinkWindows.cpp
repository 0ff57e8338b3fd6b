#include "LinkWindows.h"

#include "PortSetupWindow.h"
#include "PowerWindow.h"
#include "TransferWindow.h"
#include "Windows.h"

void RegisterLinkWindows()
{
    Windows::Register(WindowId::Form_setup, [] { return new PortSetupWindow; });
    Windows::Register(WindowId::Form_Comm_Read, [] { return new ReadWindow; });
    Windows::Register(WindowId::Form_Comm_Write, [] { return new WriteWindow; });
    Windows::Register(WindowId::Form_Adjust_Txp, [] { return new PowerWindow; });
}
