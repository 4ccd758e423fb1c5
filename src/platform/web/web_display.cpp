// The browser's display: surfaces in the program's memory, and a flip that hands the page the new frame,
// which it draws into its canvas at the next wait.
#include <emscripten.h>

#include "display/display_device.h"
#include "platform/web/web_platform.h"

namespace coilrun {

namespace {

// The flip chain, made and released as one.
FlipChain chain;
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

bool DeviceOpenDisplay() {
  return true;
}
bool DeviceTakeScreen() {
  return true;
}

bool DeviceSetDisplayMode(int16_t width, int16_t height, uint8_t bitsPerPixel) {
  if (bitsPerPixel != 16) return false;
  PageOpenDisplay(width, height);
  return true;
}

bool DeviceCreateFlipChain(int16_t width, int16_t height, bool, FlipChain* made) {
  chain.front = MakeSurface(width, height);
  chain.back = MakeSurface(width, height);
  *made = chain;
  return true;
}

void DeviceReleaseFlipChain() {
  WebPresentPendingFrame();
  delete chain.front;
  delete chain.back;
  chain = FlipChain{};
}

Surface* DeviceCreateSurface(int16_t width, int16_t height, SurfaceUse) {
  return MakeSurface(width, height);
}

void DeviceReleaseSurface(Surface* surface) {
  delete surface;
}

bool DeviceGetPixelMasks(uint32_t* red, uint32_t* green, uint32_t* blue) {
  *red = 0xF800;
  *green = 0x07E0;
  *blue = 0x001F;
  return true;
}

// Surfaces live in the program's memory and the canvas is drawn afresh from each frame: nothing is lost.
bool DeviceIsSurfaceLost(const Surface*) {
  return false;
}
void DeviceRestoreSurface(Surface*) {}

uint16_t* DeviceLockSurface(Surface* surface) {
  return surface->pixels.data();
}

FlipResult DeviceFlip() {
  if (chain.back == nullptr) return FlipResult::kFailed;
  WebPresentPendingFrame();
  chain.front->pixels.swap(chain.back->pixels);
  PagePresent(chain.front->pixels.data(), chain.front->width, chain.front->height);
  framePending = true;
  WebYieldIfBusy();
  return FlipResult::kOk;
}

void WebPresentPendingFrame() {
  if (!framePending) return;
  framePending = false;
  PageDraw();
}

void DeviceCloseDisplay() {}

}  // namespace coilrun
