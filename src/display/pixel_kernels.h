// The pixel loops of the fade and the keyed blit, built for every processor and again for processors with
// AVX2; the faster one this processor runs is chosen at run time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace coilrun {

enum class PixelKernel { kPortable, kAvx2 };

// The fastest kernel this processor can run.
PixelKernel FastestPixelKernel();

// Blends each 5-6-5 pixel toward `colour`, per field floor(p * w / 32) + floor(c * (32 - w) / 32), w 0 to
// 32. The kernel must be one this processor runs.
void FadePixels(uint16_t* pixels, size_t count, int w, uint16_t colour, PixelKernel kernel);

// Copies `count` pixels, leaving the destination's pixel wherever the source's equals `key`. The two runs
// do not overlap.
void CopyPixelsKeyed(uint16_t* destination, const uint16_t* source, size_t count, uint16_t key,
                     PixelKernel kernel);

}  // namespace coilrun
