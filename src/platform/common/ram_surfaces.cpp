// The surface operations of a display layer whose surfaces all live in the program's own memory and whose
// screen is drawn afresh from each frame, so that nothing is ever lost; 5-6-5 pixels. The SDL and browser
// layers build with it; the in-memory layer has its own, which can refuse and lose on request.
#include "display/display_device.h"
#include "platform/common/ram_display.h"

namespace coilrun {

Surface* DeviceCreateSurface(int16_t width, int16_t height, SurfaceUse) {
  return MakeRamSurface(width, height);
}

void DeviceReleaseSurface(Surface* surface) {
  FreeRamSurface(surface);
}

bool DeviceGetPixelMasks(uint32_t* red, uint32_t* green, uint32_t* blue) {
  return GetRgb565Masks(red, green, blue);
}

bool DeviceIsSurfaceLost(const Surface*) {
  return false;
}

void DeviceRestoreSurface(Surface*) {}

uint16_t* DeviceLockSurface(Surface* surface) {
  return surface->pixels.data();
}

}  // namespace coilrun
