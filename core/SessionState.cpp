#include "SessionState.h"

#include "Globals.h"

namespace {
// Behind the read-only globals of Globals.h.
int16_t currentChannel = 1;
int16_t modelIndex = 0;
double bandLowMHz = 0;
double bandHighMHz = 0;
int16_t portNumber = 1;
} // namespace

const int16_t &CurrentChannel = currentChannel;
const int16_t &ModelIndex = modelIndex;
const double &BandLowMHz = bandLowMHz;
const double &BandHighMHz = bandHighMHz;
const int16_t &PortNumber = portNumber;

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

void SessionState::reset()
{
    setCurrentChannel(1);
    setModel(0, BandTable[0], BandTable[ModelCount]);
    setBand(BandTable[0], BandTable[ModelCount]);
    setPort(1);
}
