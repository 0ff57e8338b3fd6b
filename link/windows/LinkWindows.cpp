#include "LinkWindows.h"

#include "BatchWriteWindow.h"
#include "PortSetupWindow.h"
#include "PowerWindow.h"
#include "RadioWriteOpen.h"
#include "TransferWindow.h"
#include "VerifyWindow.h"
#include "Windows.h"

void RegisterLinkWindows()
{
    // Read and write take the image: what is typed is stored first.
    const WindowTraits transfer{.dialogLike = true,
                                .closesWith = std::nullopt,
                                .closedByCloseOf = std::nullopt,
                                .takesImage = true};
    Windows::Register(WindowId::Form_setup, [] { return new PortSetupWindow; },
                      {.dialogLike = true});
    Windows::Register(
        WindowId::Form_Comm_Read, [] { return new ReadWindow; }, transfer);
    Windows::Register(
        WindowId::Form_Comm_Write, [] { return new WriteWindow; }, transfer);
    Windows::Register(WindowId::Form_Adjust_Txp, [] { return new PowerWindow; },
                      {.dialogLike = true});
    Windows::Register(WindowId::Form_Verify, [] { return new VerifyWindow; });
    Windows::Register(WindowId::Form_Batch_Write, [] { return new BatchWriteWindow; },
                      {.dialogLike = true});
    SetRadioWriteOpenQuery([] {
        return Windows::IsOpen(WindowId::Form_Comm_Write)
               || Windows::IsOpen(WindowId::Form_Batch_Write);
    });
}
