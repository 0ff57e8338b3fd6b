#include "Globals.h"

#include "Conversions.h"
#include "ImageRoutines.h"

ImageTable RadioData{};
std::array<int16_t, 1001> NameCodes{};

int16_t CurrentChannel = 1;
int16_t ModelIndex = 0;
double BandLowMHz = 0;
double BandHighMHz = 0;

std::array<QString, 301> ToneList;

bool IsChinese = true;
int16_t PortNumber = 1;
bool PortErrorFlag = false;

void ResetGlobals()
{
    for (auto &row : RadioData)
        row.fill(0);
    NameCodes.fill(0);
    IsChinese = true;
    PortNumber = 1;
    PortErrorFlag = false;
    ModelIndex = 0;
    CurrentChannel = 1;
    BuildToneList();
    InitModelTable();
    ResetImage();
}
