// The fade of the whole Canvas toward one colour, in 33 presented steps.
#pragma once

#include <cstdint>

namespace coilrun {

// Blends every Canvas pixel toward `colour` with weight w (32 keeps the pixel, 0 sets the colour), per
// 5-6-5 field: floor(p * w / 32) + floor(c * (32 - w) / 32). Locks the Canvas itself.
void FadeStep(int w, uint16_t colour);

// 33 steps with weights 32 down to 0, each presented and followed by a 50 ms wait. Stops early when the
// window is asked to close, so that the program can end at once.
void FadeScreen(uint16_t colour);

}  // namespace coilrun
