#include "Globals.h"

#include "Conversions.h"
#include "ImageRoutines.h"

ImageTable RadioData{};
std::array<int16_t, 1001> NameCodes{};

int16_t ChannelCount = 128;
int16_t CurrentChannel = 1;
int16_t ModelIndex = 0;
std::array<QString, 7> ModelNames;
std::array<int16_t, 14> BandTable{};
double BandLowMHz = 0;
double BandHighMHz = 0;

std::array<QString, 301> ToneList;
int16_t ToneCtcssLast = 0;
int16_t ToneDcsNormalLast = 0;
int16_t ToneDcsInvertLast = 0;

bool IsChinese = true;
int16_t PortNumber = 1;
QString VersionText;
bool PortErrorFlag = false;

void ResetGlobals()
{
    for (auto &row : RadioData)
        row.fill(0);
    NameCodes.fill(0);
    VersionText = QStringLiteral("Ver1.2");
    IsChinese = true;
    PortNumber = 1;
    PortErrorFlag = false;
    ModelIndex = 0;
    ChannelCount = 128;
    CurrentChannel = 1;
    BuildToneList();
    InitModelTable();
    ResetImage();
}
