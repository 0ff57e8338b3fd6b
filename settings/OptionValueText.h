// What the optional features window shows for one of its fields, from any
// image: the list item, On/Off for a box, the frequency or tone text, the
// password, the message, the working range.
#pragma once

#include "OptionTable.h"

#include <QString>

QString OptionValueText(const OptionEntry &entry, const ImageTable &image);
