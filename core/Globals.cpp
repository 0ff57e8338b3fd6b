#include "Globals.h"

#include "Conversions.h"
#include "ImageRoutines.h"
#include "SessionState.h"

ImageTable RadioData{};
std::array<int16_t, 1001> NameCodes{};

std::array<QString, 301> ToneList;

bool IsChinese = true;
bool PortErrorFlag = false;

void ResetGlobals()
{
    for (auto &row : RadioData)
        row.fill(0);
    NameCodes.fill(0);
    IsChinese = true;
    PortErrorFlag = false;
    SessionState::instance().reset();
    BuildToneList();
    InitModelTable();
    ResetImage();
}
