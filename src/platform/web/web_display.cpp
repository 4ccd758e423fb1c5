// The browser's display: surfaces in the program's memory, and a flip that hands the page the new frame,
// which it draws into its canvas at the next wait.
#include <emscripten.h>

#include "display/display_device.h"
#include "platform/common/ram_display.h"
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
  MakeRamFlipChain(width, height, true, &chain);
  *made = chain;
  return true;
}

void DeviceReleaseFlipChain() {
  WebPresentPendingFrame();
  FreeRamFlipChain(&chain);
}

FlipResult DeviceFlip() {
  if (chain.back == nullptr) return FlipResult::kFailed;
  WebPresentPendingFrame();
  FlipRamChain(&chain);
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
