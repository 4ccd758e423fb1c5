// Surfaces and a flip chain held in the program's own memory, for every device layer whose screen is drawn
// from a frame in memory, with the 5-6-5 pixel that such a layer reports.
#pragma once

#include <cstdint>

#include "display/display_device.h"
#include "display/surface.h"

namespace coilrun {

inline constexpr uint32_t kRed565Mask = 0xF800;

inline constexpr uint32_t kGreen565Mask = 0x07E0;

inline constexpr uint32_t kBlue565Mask = 0x001F;

// A new width x height surface, all black; freed with FreeRamSurface (or delete).
Surface* MakeRamSurface(int16_t width, int16_t height);

// Frees a surface made by MakeRamSurface; null is ignored.
void FreeRamSurface(Surface* surface);

// Makes both frames of a chain, black, or only the front one when `withBack` is false.
void MakeRamFlipChain(int16_t width, int16_t height, bool withBack, FlipChain* chain);

// Frees whatever frames the chain holds and empties it.
void FreeRamFlipChain(FlipChain* chain);

// Swaps the chain's two frames: the back frame becomes the front one and the old front's pixels are the
// new back's, whose content the logic treats as undefined. kFailed without both frames.
FlipResult FlipRamChain(FlipChain* chain);

// Writes the 5-6-5 masks; always true.
bool GetRgb565Masks(uint32_t* red, uint32_t* green, uint32_t* blue);

}  // namespace coilrun
