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
    Windows::Register(WindowId::PortSetup, [] { return new PortSetupWindow; },
                      {.dialogLike = true});
    Windows::Register(
        WindowId::Read, [] { return new ReadWindow; }, transfer);
    Windows::Register(
        WindowId::Write, [] { return new WriteWindow; }, transfer);
    Windows::Register(WindowId::Power, [] { return new PowerWindow; }, {.dialogLike = true});
    // The verify compares with what a write would send, what is typed
    // included; the batch write sends it.
    Windows::Register(WindowId::Verify, [] { return new VerifyWindow; },
                      {.dialogLike = false,
                       .closesWith = std::nullopt,
                       .closedByCloseOf = std::nullopt,
                       .takesImage = true});
    Windows::Register(
        WindowId::BatchWrite, [] { return new BatchWriteWindow; }, transfer);
    SetRadioWriteOpenQuery(
        [] { return Windows::IsOpen(WindowId::Write) || Windows::IsOpen(WindowId::BatchWrite); });
}
