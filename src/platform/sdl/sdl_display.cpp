// The SDL display: system-memory surfaces, and a flip whose frame is widened into a streaming texture and
// presented scaled to the window with its 4:3 shape kept, black bars around, crisp pixels; the screenshots.
#include <SDL.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "display/display_device.h"
#include "platform/sdl/screenshot_png.h"
#include "platform/sdl/sdl_frame.h"
#include "platform/sdl/sdl_platform.h"

namespace coilrun {

namespace {

// The renderer and the texture that shows the frame.
SDL_Renderer* renderer = nullptr;
SDL_Texture* frameTexture = nullptr;
// The flip chain: its primary surface, and its back buffer, owned with the primary surface.
Surface* chainPrimary = nullptr;
Surface* chainBackBuffer = nullptr;
// Whether the primary surface holds a flipped frame that is not yet on the screen, and whether the window
// needs the frame drawn again whatever it holds.
bool framePending = false;
bool windowNeedsFrame = true;

// A window uncovered, resized or switched to or from full screen shows the frame again at the next wait
// or read: the waits for a key present nothing of their own.
int NoteExposure(void*, SDL_Event* event) {
  if (event->type == SDL_WINDOWEVENT && (event->window.event == SDL_WINDOWEVENT_EXPOSED ||
                                         event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED)) {
    framePending = framePending || chainPrimary != nullptr;
    windowNeedsFrame = true;
  }
  return 0;
}

Surface* MakeSurface(int16_t width, int16_t height) {
  auto* surface = new Surface;
  surface->width = width;
  surface->height = height;
  surface->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  return surface;
}

}  // namespace

SDL_Renderer* SdlRenderer() { return renderer; }

bool DeviceCreateDisplayObject() { return SdlMainWindow() != nullptr; }

bool DeviceSetCooperativeLevel() { return SdlMainWindow() != nullptr; }

bool DeviceSetDisplayMode(int16_t width, int16_t height, uint8_t bitsPerPixel) {
  if (bitsPerPixel != 16) return false;
  SdlPreferSoftwareRenderer();
  renderer = SDL_CreateRenderer(SdlMainWindow(), -1, 0);
  if (renderer == nullptr) return false;
  if (SDL_RenderSetLogicalSize(renderer, width, height) != 0) return false;
  frameTexture = SdlCreateFrameTexture(renderer, width, height);
  if (frameTexture == nullptr) return false;
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  SDL_RenderPresent(renderer);
  SDL_AddEventWatch(NoteExposure, nullptr);
  return true;
}

Surface* DeviceCreateFlipChain(int16_t width, int16_t height, bool) {
  chainBackBuffer = MakeSurface(width, height);
  chainPrimary = MakeSurface(width, height);
  return chainPrimary;
}

Surface* DeviceGetBackBuffer(Surface*) { return chainBackBuffer; }

Surface* DeviceCreateSurface(int16_t width, int16_t height) { return MakeSurface(width, height); }

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

// Surfaces live in system memory and the texture is refilled every frame, so nothing is ever lost.
bool DeviceIsSurfaceLost(const Surface*) { return false; }
void DeviceRestoreSurface(Surface*) {}

void DeviceReleaseSurface(Surface* surface) {
  if (surface == chainPrimary) {
    SdlPresentPendingFrame();
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

void DeviceReleaseDisplayObject() {
  SDL_DelEventWatch(NoteExposure, nullptr);
  if (frameTexture != nullptr) SDL_DestroyTexture(frameTexture);
  frameTexture = nullptr;
  if (renderer != nullptr) SDL_DestroyRenderer(renderer);
  renderer = nullptr;
}

void DeviceCopyRect(Surface* destination, int32_t x, int32_t y, const Surface* source, Rect rect,
                    bool keyed) {
  CopySurfaceRect(destination, x, y, source, rect, keyed);
}

void SdlPresentPendingFrame() {
  if (!framePending) return;
  framePending = false;
  if (renderer == nullptr || chainPrimary == nullptr) return;
  // Since the flip, the back buffer holds the frame on the screen: a frame the same as it (a menu or a
  // dialog standing still) is not uploaded and presented again, unless the window needs drawing anew.
  if (!windowNeedsFrame && chainBackBuffer != nullptr && chainBackBuffer->pixels == chainPrimary->pixels) return;
  windowNeedsFrame = !SdlUploadFrame(frameTexture, chainPrimary->pixels.data(), chainPrimary->width,
                                     chainPrimary->height);
  if (windowNeedsFrame) return;
  SDL_RenderClear(renderer);
  SDL_RenderCopy(renderer, frameTexture, nullptr, nullptr);
  SDL_RenderPresent(renderer);
}

void SdlSaveScreenshot() {
  if (chainPrimary == nullptr) return;
  std::string saved;
  std::string error;
  if (SavePngBesideOthers(ScreenshotStem(std::time(nullptr)), chainPrimary->pixels.data(), chainPrimary->width,
                          chainPrimary->height, &saved, &error)) {
    std::printf("coilrun: screenshot saved as %s\n", saved.c_str());
    std::fflush(stdout);
  } else {
    std::fprintf(stderr, "coilrun: cannot save a screenshot: %s\n", error.c_str());
  }
}

FlipResult DeviceFlip(Surface* primary) {
  if (renderer == nullptr || chainBackBuffer == nullptr) return FlipResult::kFailed;
  SdlPresentPendingFrame();
  // A flip swaps the two buffers of the chain; the new front is shown at the next wait.
  primary->pixels.swap(chainBackBuffer->pixels);
  framePending = true;
  return FlipResult::kOk;
}

uint16_t* DeviceLockSurface(Surface* surface) { return surface->pixels.data(); }
void DeviceUnlockSurface(Surface*) {}

}  // namespace coilrun
