#pragma once

#include "catalogue/Rules.h"

// The pixel constants every pile position is built from. They follow the card
// size: SetConstantVariables(ScaleX, ScaleY) with ScaleX = CardWidth / 71 and
// ScaleY = CardHeight / 96, then optionally stretched by
// ModifyConstantVariables for the auto-fit of the Extended layout.
struct TLayoutConstants {
    int ColumnStep = 102;
    int RowStep = 155;
    int LeftMargin = 15;
    int TopMargin = 15;
    int ReserveLeft = 15;
    int SecondRowTop = 170;
    int WasteX = 117;
    int WasteY = 15;
    int AltWasteX = 15;
    int AltWasteY = 170;
    int FanStepBase = 20;
    int TightFanCut = 4;

    static constexpr int SidewaysFanStep = 12;
    static constexpr int BaseCardWidth = 71;
    static constexpr int BaseCardHeight = 96;

    friend bool operator==(const TLayoutConstants&, const TLayoutConstants&) = default;
};

// Recomputes every constant from the scale (fractions dropped).
void SetConstantVariables(TLayoutConstants& constants, float scaleX, float scaleY);

// Stretches the column and row steps, the reserve's x and the second row's y;
// the margins, the waste and the fan steps stay.
void ModifyConstantVariables(TLayoutConstants& constants, float fx, float fy);

// The fan step of the game: FanStepBase, less TightFanCut with goTightFan,
// negated with roFanUpward.
int FanStep(const TLayoutConstants& constants, const TGameRules& rules);
