// The browser's display: surfaces in the program's memory, and a flip that hands the page the new frame,
// which it draws into its canvas at once.
#include <emscripten.h>

#include "display/display_device.h"
#include "platform/web/web_platform.h"

namespace coilrun {

namespace {

// The flip chain: its primary surface, and its back buffer, owned with the primary surface.
Surface* chainPrimary = nullptr;
Surface* chainBackBuffer = nullptr;
// Whether the last flip's frame is still to be drawn.
bool framePending = false;

// The page's own drawing: 640x480 5-6-5 pixels into its canvas, black before the first frame.
EM_JS(void, PageOpenDisplay, (int width, int height), { Module.coilrunOpenDisplay(width, height); });
EM_JS(void, PagePresent, (const uint16_t* pixels, int width, int height),
      { Module.coilrunPresent(pixels, width, height); });
EM_JS(void, PageDraw, (), { Module.coilrunDraw(); });

Surface* MakeSurface(int16_t width, int16_t height) {
  auto* surface = new Surface;
  surface->width = width;
  surface->height = height;
  surface->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  return surface;
}

}  // namespace

bool DeviceCreateDisplayObject() {
  return true;
}
bool DeviceSetCooperativeLevel() {
  return true;
}

bool DeviceSetDisplayMode(int16_t width, int16_t height, uint8_t bitsPerPixel) {
  if (bitsPerPixel != 16) return false;
  PageOpenDisplay(width, height);
  return true;
}

Surface* DeviceCreateFlipChain(int16_t width, int16_t height, bool) {
  chainBackBuffer = MakeSurface(width, height);
  chainPrimary = MakeSurface(width, height);
  return chainPrimary;
}

Surface* DeviceGetBackBuffer(Surface*) {
  return chainBackBuffer;
}

Surface* DeviceCreateSurface(int16_t width, int16_t height) {
  return MakeSurface(width, height);
}

bool DeviceGetPixelMasks(const Surface*, uint32_t* red, uint32_t* green, uint32_t* blue) {
  *red = 0xF800;
  *green = 0x07E0;
  *blue = 0x001F;
  return true;
}

void DeviceSetColorKey(Surface* surface, uint16_t colour) {
  surface->hasColorKey = true;
  surface->colorKey = colour;
}

// Surfaces live in the program's memory, so nothing is ever lost.
bool DeviceIsSurfaceLost(const Surface*) {
  return false;
}
void DeviceRestoreSurface(Surface*) {}

void DeviceReleaseSurface(Surface* surface) {
  if (surface == chainPrimary) {
    WebPresentPendingFrame();
    chainPrimary = nullptr;
  }
  if (surface == chainBackBuffer) chainBackBuffer = nullptr;
  // The chain's back buffer goes with the primary surface when nobody took a reference to it.
  if (surface == PrimarySurface && chainBackBuffer != nullptr && BackBuffer == nullptr) {
    delete chainBackBuffer;
    chainBackBuffer = nullptr;
  }
  delete surface;
}

void DeviceRestoreDisplayMode() {}
void DeviceReleaseDisplayObject() {}

void DeviceCopyRect(Surface* destination, int32_t x, int32_t y, const Surface* source, Rect rect,
                    bool keyed) {
  CopySurfaceRect(destination, x, y, source, rect, keyed);
}

FlipResult DeviceFlip(Surface* primary) {
  if (chainBackBuffer == nullptr) return FlipResult::kFailed;
  WebPresentPendingFrame();
  primary->pixels.swap(chainBackBuffer->pixels);
  PagePresent(primary->pixels.data(), primary->width, primary->height);
  framePending = true;
  WebYieldIfBusy();
  return FlipResult::kOk;
}

void WebPresentPendingFrame() {
  if (!framePending) return;
  framePending = false;
  PageDraw();
}

uint16_t* DeviceLockSurface(Surface* surface) {
  return surface->pixels.data();
}
void DeviceUnlockSurface(Surface*) {}

}  // namespace coilrun
