// Every default picture, drawn from nothing but code, and the wall layout of each stage.
#pragma once

#include <vector>

#include "picture.h"

namespace coilrun {

// A solid wall of the body colour, in screen pixels.
using WallRect = Box;

// The walls of a stage (none on the first two), each at least 16 pixels thick so that the head, which
// dies only with all four of its probe points on the body colour, cannot slip through one.
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
