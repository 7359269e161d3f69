#include "catalogue/LayoutConstants.h"

#include "platform/Trace.h"

#include <QString>

#include <cmath>

namespace {

// Single precision on purpose: the scale is a float and the products must
// truncate exactly as the float product does (e.g. 102 × 1.3f).
// A scale from a damaged card set or an auto-fit over an empty layout can be
// infinite or NaN; converting that to int is undefined, so it counts as 0.
int Trunc(float value)
{
    constexpr float limit = 1e9f;
    if (!std::isfinite(value) || value > limit || value < -limit)
        return 0;
    return static_cast<int>(value);
}

std::string FloatText(float value)
{
    return QString::number(static_cast<double>(value), 'g', 15).toStdString();
}

} // namespace

void SetConstantVariables(TLayoutConstants& constants, float scaleX, float scaleY)
{
    platform::Trace("SetConstantVariables - " + FloatText(scaleX) + " " + FloatText(scaleY));
    constants.ColumnStep = Trunc(102 * scaleX);
    constants.RowStep = Trunc(155 * scaleY);
    constants.LeftMargin = Trunc(15 * scaleX);
    constants.TopMargin = Trunc(15 * scaleY);
    constants.ReserveLeft = Trunc(15 * scaleX);
    constants.SecondRowTop = Trunc(170 * scaleY);
    constants.WasteX = Trunc(117 * scaleX);
    constants.WasteY = Trunc(15 * scaleY);
    constants.AltWasteX = Trunc(15 * scaleX);
    constants.AltWasteY = Trunc(170 * scaleY);
    constants.FanStepBase = Trunc(20 * scaleY);
    constants.TightFanCut = Trunc(4 * scaleY);
}

void ModifyConstantVariables(TLayoutConstants& constants, float fx, float fy)
{
    platform::Trace("ModifyConstantVariables - " + FloatText(fx) + " " + FloatText(fy));
    constants.ColumnStep = Trunc(static_cast<float>(constants.ColumnStep) * fx);
    constants.RowStep = Trunc(static_cast<float>(constants.RowStep) * fy);
    constants.ReserveLeft = Trunc(static_cast<float>(constants.ReserveLeft) * fx);
    constants.SecondRowTop = Trunc(static_cast<float>(constants.SecondRowTop) * fy);
}

int FanStep(const TLayoutConstants& constants, const TGameRules& rules)
{
    int step = constants.FanStepBase;
    if (rules.GameOptions.Contains(goTightFan))
        step -= constants.TightFanCut;
    if (rules.TableauRules.Contains(roFanUpward))
        step = -step;
    return step;
}
