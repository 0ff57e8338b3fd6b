#include "Globals.h"

#include "ImageChanges.h"
#include "ImageRoutines.h"
#include "SessionState.h"

#include <memory>

bool PortErrorFlag = false;

void ResetGlobals()
{
    auto image = std::make_unique<ImageTable>(); // the cells beyond the used ones stay 0
    ResetImage(*image);
    ImageChanges::instance().startWith(*image);
    PortErrorFlag = false;
    SessionState::instance().reset();
    InitModelTable();
    const BandLimits limits = DecodeBandLimits(RadioData);
    SessionState::instance().setBand(limits.low, limits.high);
}
