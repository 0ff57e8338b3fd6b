// The radio's working frequency range (row 153) as the optional features
// window edits it: two whole-MHz limits kept within the model's limits and
// in order, then the VFO and every channel checked against them.
#pragma once

#include "RecordCodec.h"
#include "SettingsMessages.h"

#include <QString>
#include <optional>

// What the model itself covers: 136..174 MHz for model index 1, else
// 400..470 MHz.
BandLimits ModelLimits(int modelIndex);

// Leaving a limit field. When refused, the message is shown, the field is
// set to fieldText and keeps the focus; the range is stored either way.
struct RangeLeave {
    std::optional<PromptMessage> message;
    QString fieldText;
    bool refused() const { return message.has_value(); }
};
RangeLeave LeaveLowerLimit(const QString &lower, const QString &upper, int modelIndex);
RangeLeave LeaveUpperLimit(const QString &lower, const QString &upper, int modelIndex);

// Both limits into row 153 as whole MHz; a fraction is dropped.
void StoreWorkingRange(ImageTable &image, const QString &lower, const QString &upper);
// The warning when the VFO or a channel lies outside the stored range.
std::optional<PromptMessage> CheckWorkingRange(const ImageTable &image);
