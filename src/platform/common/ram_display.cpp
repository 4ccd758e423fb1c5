// Surfaces and a flip chain held in the program's own memory.
#include "platform/common/ram_display.h"

#include <cstddef>

namespace coilrun {

Surface* MakeRamSurface(int16_t width, int16_t height) {
  auto* surface = new Surface;
  surface->width = width;
  surface->height = height;
  surface->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  return surface;
}

void FreeRamSurface(Surface* surface) {
  delete surface;
}

void MakeRamFlipChain(int16_t width, int16_t height, bool withBack, FlipChain* chain) {
  chain->front = MakeRamSurface(width, height);
  chain->back = withBack ? MakeRamSurface(width, height) : nullptr;
}

void FreeRamFlipChain(FlipChain* chain) {
  FreeRamSurface(chain->front);
  FreeRamSurface(chain->back);
  *chain = FlipChain{};
}

FlipResult FlipRamChain(FlipChain* chain) {
  if (chain->front == nullptr || chain->back == nullptr) return FlipResult::kFailed;
  chain->front->pixels.swap(chain->back->pixels);
  return FlipResult::kOk;
}

bool GetRgb565Masks(uint32_t* red, uint32_t* green, uint32_t* blue) {
  *red = kRed565Mask;
  *green = kGreen565Mask;
  *blue = kBlue565Mask;
  return true;
}

}  // namespace coilrun
