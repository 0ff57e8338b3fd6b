#include "WorkingRange.h"

#include "Conversions.h"
#include "ImageRoutines.h"

#include <algorithm>
#include <cmath>

namespace {

// The whole MHz of a limit text. Read from the number rather than from the
// first three characters, so that a leading zero ("0400") cannot turn into
// a tenth of the limit.
int WholeMHz(const QString &text)
{
    return std::clamp(int(std::floor(NumericValue(text))), 0, 999);
}

} // namespace

BandLimits ModelLimits(int modelIndex)
{
    return modelIndex == 1 ? BandLimits{136, 174} : BandLimits{400, 470};
}

RangeLeave LeaveLowerLimit(const QString &lower, const QString &upper, int modelIndex)
{
    const int limit = ModelLimits(modelIndex).low;
    if (NumericValue(lower) < limit)
        return {SettingsMessages::LowerBelowModel, QString::number(limit)};
    if (NumericValue(upper) < NumericValue(lower))
        return {SettingsMessages::LowerAboveUpper, upper};
    return {std::nullopt, lower};
}

RangeLeave LeaveUpperLimit(const QString &lower, const QString &upper, int modelIndex)
{
    const int limit = ModelLimits(modelIndex).high;
    if (NumericValue(upper) > limit)
        return {SettingsMessages::UpperAboveModel, QString::number(limit)};
    if (NumericValue(lower) > NumericValue(upper))
        return {SettingsMessages::UpperBelowLower, lower};
    return {std::nullopt, upper};
}

void StoreWorkingRange(ImageTable &image, const QString &lower, const QString &upper)
{
    EncodeBandLimits(image, WholeMHz(lower), WholeMHz(upper));
}

std::optional<PromptMessage> CheckWorkingRange(const ImageTable &image)
{
    if (const std::optional<BilingualText> warning = BandCheckMessage(image))
        return PromptMessage{*warning};
    return std::nullopt;
}
