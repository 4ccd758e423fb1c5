// Every default picture, drawn from nothing but code, and the wall layout of each stage.
#pragma once

#include <vector>

#include "picture.h"

namespace coilrun {

// A solid wall of the body colour, in screen pixels.
using WallRect = Box;

// The walls of a stage (none on the first two), each at least kMinWallThickness pixels thick.
inline constexpr int kMinWallThickness = 16;
std::vector<WallRect> StageWalls(int stage);

Picture DrawLogo();
Picture DrawMenuBackground();
// "DATA.DAT": menu labels, digits, banners and the pause dialog on black.
Picture DrawPlaySheet();
// "DATA2.DAT": the stage labels and the high-score banner on black.
Picture DrawLabelSheet();
// The enemy of kind 0 or 1, 50x40 on pure white.
Picture DrawEnemy(int kind);
Picture DrawStageBackground(int stage);
Picture DrawStageIntro(int stage);

}  // namespace coilrun
