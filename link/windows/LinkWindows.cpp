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
    // The verify compares with what a write would send, what is typed
    // included; the batch write sends it.
    Windows::Register(WindowId::Form_Verify, [] { return new VerifyWindow; },
                      {.dialogLike = false,
                       .closesWith = std::nullopt,
                       .closedByCloseOf = std::nullopt,
                       .takesImage = true});
    Windows::Register(
        WindowId::Form_Batch_Write, [] { return new BatchWriteWindow; }, transfer);
    SetRadioWriteOpenQuery([] {
        return Windows::IsOpen(WindowId::Form_Comm_Write)
               || Windows::IsOpen(WindowId::Form_Batch_Write);
    });
}
