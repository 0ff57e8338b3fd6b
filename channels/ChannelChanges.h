// Which channels a change of the image touched, so that a window redraws
// just those.
#pragma once

#include "ImageChanges.h"

#include <QList>

// Channels 1..128 whose record or name codes changed, ascending.
QList<int> ChannelsTouched(const ImageChange &change);
