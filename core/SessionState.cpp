#include "SessionState.h"

#include "Globals.h"

namespace {
// Behind the read-only globals of Globals.h.
int16_t currentChannel = 1;
int16_t modelIndex = 0;
double bandLowMHz = 0;
double bandHighMHz = 0;
int16_t portNumber = 1;
bool chinese = true;
} // namespace

const int16_t &CurrentChannel = currentChannel;
const int16_t &ModelIndex = modelIndex;
const double &BandLowMHz = bandLowMHz;
const double &BandHighMHz = bandHighMHz;
const int16_t &PortNumber = portNumber;
const bool &IsChinese = chinese;

SessionState &SessionState::instance()
{
    static SessionState state;
    return state;
}

void SessionState::setCurrentChannel(int n)
{
    if (n == currentChannel)
        return;
    currentChannel = int16_t(n);
    emit currentChannelChanged(n);
}

void SessionState::setBand(double low, double high)
{
    if (low == bandLowMHz && high == bandHighMHz)
        return;
    bandLowMHz = low;
    bandHighMHz = high;
    emit bandChanged(low, high);
}

void SessionState::setModel(int index, double low, double high)
{
    if (index == modelIndex && low == modelLow_ && high == modelHigh_)
        return;
    modelIndex = int16_t(index);
    modelLow_ = low;
    modelHigh_ = high;
    emit modelChanged(index, low, high);
}

void SessionState::setPort(int n)
{
    if (n == portNumber)
        return;
    portNumber = int16_t(n);
    emit portChanged(n);
}

void SessionState::setChinese(bool isChinese)
{
    if (isChinese == chinese)
        return;
    chinese = isChinese;
    emit languageChanged(isChinese);
}

void SessionState::reset()
{
    // The language first: whoever follows the others shows its texts in it.
    setChinese(true);
    setCurrentChannel(1);
    setModel(0, BandTable[0], BandTable[ModelCount]);
    setBand(BandTable[0], BandTable[ModelCount]);
    setPort(1);
}
