#include "LinkExchange.h"

#include <cmath>

QByteArray BlockFrameHead(char command, int block)
{
    QByteArray frame;
    frame.append(command);
    frame.append(char(block / 16));
    frame.append(char((block * 16) % 256));
    frame.append(char(0x10));
    return frame;
}

int Percent(int part, int whole) { return int(std::floor(double(part) / whole * 100.0)); }
