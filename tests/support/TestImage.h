// How a test puts the program's image in the state it starts from. The
// image is written only through ImageChanges; a test's setting-up is no
// user's change, so it goes in as the program's start does: nothing is
// announced and no undo step is made (ImageChanges::startWith). A test
// that means a user's change uses ImageChanges::apply as the windows do.
#pragma once

#include "Globals.h"
#include "ImageChanges.h"

#include <functional>
#include <memory>

inline void SetUpImage(const std::function<void(ImageTable &image)> &edit)
{
    auto image = std::make_unique<ImageTable>(RadioData);
    edit(*image);
    ImageChanges::instance().startWith(*image);
}

inline void SetUpCell(int row, int column, int value)
{
    SetUpImage([=](ImageTable &image) { image[row][column] = int16_t(value); });
}
