// The sprites several screens share, made at start-up: score digits, stage labels, the enemy pictures.
#pragma once

#include <array>
#include <cstdint>

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

// How a row of digits puts one digit sprite with its top-left corner at (x, y).
using DigitPainter = void (*)(int digit, int16_t x, int16_t y);

// The plain painter: the digit's rectangle blitted onto the Canvas with the sprite's key.
void BlitDigit(int digit, int16_t x, int16_t y);

// Draws the lowest `count` decimal digits of `value`, leading zeros shown, kDigitStride apart: the last
// digit at `rightX`, each higher one to the left of it.
void DrawDigits(uint32_t value, int count, int16_t rightX, int16_t y, DigitPainter paint);

}  // namespace coilrun
