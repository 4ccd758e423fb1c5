// One frame of play: steering, the pause dialog, the score's decay, the step, eating and collisions
// decided from the last frame's pixels, growth, drawing and presenting, and the wait.
#pragma once

#include <cstdint>

#include "display/display.h"

namespace coilrun {

// The pictures the game flow holds for the tick: the stage's background, and the sheet of banners and of
// the pause dialog ("DATA.DAT", keyed black).
extern Surface* StageBackground;
extern Surface* PlaySheet;

// Runs one tick. 1 while the attempt goes on; 0 when it ends (read QuitChosen, then Dead, else cleared).
int PlayTick();

// 1 when some Canvas pixel with x0 <= x <= x1 and y0 <= y <= y1 equals `colour`. Needs the Canvas locked;
// finds nothing when the lock was refused.
int RectHasColour(int16_t x0, int16_t y0, int16_t x1, int16_t y1, uint16_t colour);

// Sets Dead when all four probe points of the head lie on the body colour, or the head left the field.
void ProbeHead();

// Stamps the body's discs into the locked Canvas.
void StampBody();

// Draws the stage's label and the eight score digits onto the Canvas.
void DrawStageLabel();

void DrawScore();

// With `shown`, every frame also shows the lives left (this one included) and the creatures still to
// eat, in score digits beside the stage label. The frame of the design, without them, is the default.
void ShowHud(bool shown);

// Draws those digits into the locked Canvas, leaving every pixel of the body colour as it is and adding
// none, so that the pixel tests, and with them play, are the same with or without them.
void DrawHud();

// The pause dialog; leaves the choice in QuitChosen, with `firstChoice` (1 quit, 0 go on) marked until
// an arrow key changes it. A request to close the window chooses quit.
void RunPauseDialog(uint8_t firstChoice = 1);

// Makes the next tick open the pause dialog with go on marked: the window lost the focus, and a player
// who comes back and presses Return should find the game going on, not over.
void RequestPause();

// Releases a stage's pictures left loaded, and forgets the HUD switch and a pending pause.
void ResetPlayTick();

}  // namespace coilrun
