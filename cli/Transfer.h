// Runs one read or write with the link engine the windows use, on a real
// serial port, without any window: the same handshake, retries, checks and
// messages, reported on the console.
#pragma once

#include "Globals.h"
#include "ProgressOutput.h"

#include <QString>

enum class TransferResult {
    Completed,
    Failed, // the port or the radio failed, after the retries
    Refused, // the write preparation refused the image; nothing was sent
};

// Binds the device (a path, or a port number 1..8 as the setup window counts
// them) to the port the engine opens.
void UsePort(const QString &device);
class SerialLink;
// Gives the link the device --port named, so that its messages name that
// device, not a port number the user never chose.
void UsePortOn(SerialLink &link);

// Fills rows 0..253 of the image on success, leaves it alone otherwise.
TransferResult RunRead(ProgressOutput::Style style, ImageTable &image);
// Prepares the image as the write window does and sends rows 0..239.
TransferResult RunWrite(ProgressOutput::Style style, ImageTable &image);
// Reads blocks 0..239 back into rows 0..239 of radio (the other rows
// erased) for a comparison.
TransferResult RunVerifyRead(ProgressOutput::Style style, ImageTable &radio);
