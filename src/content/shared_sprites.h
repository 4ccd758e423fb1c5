// The sprites several screens share, made at start-up: score digits, stage labels, the enemy pictures.
#pragma once

#include <array>

#include "display/display.h"

namespace coilrun {

// Digit d's glyph fills the top-left 15x22 pixels of a 16x23 surface; black is transparent.
extern std::array<Surface*, 10> DigitSprites;
// The stage labels: a 165x90 surface whose top-left 162x89 pixels come from "DATA2.DAT"; black key.
extern Surface* StageLabelSheet;
// The two enemy pictures, at their files' sizes; the game flow gives them their white key.
extern Surface* EnemySprite1;
extern Surface* EnemySprite2;

// Loads and cuts every shared sprite. False at the first file or surface that cannot be had.
bool LoadSharedSprites();
// Releases whatever LoadSharedSprites made.
void ReleaseSharedSprites();

}  // namespace coilrun
