// The SDL display: surfaces in system memory, and a flip chain whose frame is shown in the window's own
// framebuffer, scaled with even pixels and its 4:3 shape kept, black around it, only the rows that changed
// drawn and sent again; the screenshots.
#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "display/display_device.h"
#include "platform/common/ram_display.h"
#include "platform/common/frame_scaler.h"
#include "platform/sdl/screenshot_png.h"
#include "platform/sdl/sdl_platform.h"

namespace coilrun {

namespace {

// The flip chain: the frame handed to the screen, and the frame being drawn.
FlipChain chain;
// The window's framebuffer, null until the mode is set; stale once the window changed its size.
SDL_Surface* windowSurface = nullptr;
bool surfaceStale = true;
// Whether a flipped frame waits to be shown, and whether the window must be sent whole (uncovered).
bool framePending = false;
bool windowExposed = false;
// The scale of the frame to the window and what it keeps between frames; one row of the fit.
FrameScaler scaler;
std::vector<uint32_t> line;
// The rows of the window drawn at the last present, as bands.
std::vector<SDL_Rect> bands;

// A window uncovered, resized or switched to or from full screen is drawn again at the next wait or read:
// the waits for a key present nothing of their own.
int NoteWindowChange(void*, SDL_Event* event) {
  if (event->type != SDL_WINDOWEVENT) return 0;
  if (event->window.event == SDL_WINDOWEVENT_EXPOSED) windowExposed = true;
  if (event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED) surfaceStale = true;
  return 0;
}

// Takes the window's framebuffer again after a change of size: all black, the whole frame to be drawn.
bool RenewWindowSurface() {
  windowSurface = SDL_GetWindowSurface(SdlMainWindow());
  if (windowSurface == nullptr) return false;
  SDL_FillRect(windowSurface, nullptr, SDL_MapRGB(windowSurface->format, 0, 0, 0));
  ResizeScaler(&scaler, chain.front->width, chain.front->height, windowSurface->w, windowSurface->h);
  line.resize(static_cast<size_t>(scaler.fit.width));
  surfaceStale = false;
  return true;
}

// Row y of the fit into the window's framebuffer, in whatever format the window has.
void DrawRow(int y) {
  ScaleRow(scaler, y, line.data());
  auto* to = static_cast<uint8_t*>(windowSurface->pixels) +
             static_cast<ptrdiff_t>(scaler.fit.y + y) * windowSurface->pitch +
             static_cast<ptrdiff_t>(scaler.fit.x) * windowSurface->format->BytesPerPixel;
  const Uint32 format = windowSurface->format->format;
  if (format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888) {
    std::memcpy(to, line.data(), line.size() * sizeof(uint32_t));
  } else {
    SDL_ConvertPixels(scaler.fit.width, 1, SDL_PIXELFORMAT_RGB888, line.data(), scaler.fit.width * 4, format,
                      to, windowSurface->pitch);
  }
}

// Draws the rows of the fit that the last update marked, gathering them into bands of the window.
void DrawMarkedRows() {
  bands.clear();
  if (SDL_MUSTLOCK(windowSurface) && SDL_LockSurface(windowSurface) != 0) return;
  for (int y = 0; y < scaler.fit.height; ++y) {
    if (scaler.targetDirty[static_cast<size_t>(y)] == 0) continue;
    DrawRow(y);
    if (!bands.empty() && bands.back().y + bands.back().h == scaler.fit.y + y) {
      ++bands.back().h;
    } else {
      bands.push_back(SDL_Rect{scaler.fit.x, scaler.fit.y + y, scaler.fit.width, 1});
    }
  }
  if (SDL_MUSTLOCK(windowSurface)) SDL_UnlockSurface(windowSurface);
}

}  // namespace

void SdlPresentPendingFrame() {
  if (!framePending && !windowExposed && !surfaceStale) return;
  if (chain.front == nullptr || SdlMainWindow() == nullptr) return;
  const bool everything = surfaceStale;
  if (surfaceStale && !RenewWindowSurface()) return;
  framePending = false;
  if (UpdateScaler(&scaler, chain.front->pixels.data(), everything)) DrawMarkedRows();
  int sent = 0;
  if (everything || windowExposed) {
    sent = SDL_UpdateWindowSurface(SdlMainWindow());
  } else if (!bands.empty()) {
    sent = SDL_UpdateWindowSurfaceRects(SdlMainWindow(), bands.data(), static_cast<int>(bands.size()));
  }
  windowExposed = false;
  // A framebuffer that SDL has dropped meanwhile (a change of size not yet seen) is taken anew next time.
  if (sent != 0) surfaceStale = true;
}

bool DeviceOpenDisplay() {
  return SdlMainWindow() != nullptr && SDL_GetWindowDisplayIndex(SdlMainWindow()) >= 0;
}

// Raises the window, which asks for the input focus.
bool DeviceTakeScreen() {
  if (SdlMainWindow() == nullptr) return false;
  SDL_RaiseWindow(SdlMainWindow());
  return true;
}

// Shows 16 bits per pixel only, the frame scaled into the window with its 4:3 shape kept.
bool DeviceSetDisplayMode(int16_t, int16_t, uint8_t bitsPerPixel) {
  if (bitsPerPixel != 16) return false;
  // The window's own framebuffer, in system memory and sent to the X server through shared memory: the GPU
  // stack (some 75 MB resident, and a second of start-up on some machines) would do no better for one
  // small frame. A player who wants it names it in the environment (SDL_FRAMEBUFFER_ACCELERATION=opengl),
  // which takes precedence over this hint.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  windowSurface = SDL_GetWindowSurface(SdlMainWindow());
  if (windowSurface == nullptr) return false;
  SDL_FillRect(windowSurface, nullptr, SDL_MapRGB(windowSurface->format, 0, 0, 0));
  SDL_UpdateWindowSurface(SdlMainWindow());
  surfaceStale = true;
  SDL_AddEventWatch(NoteWindowChange, nullptr);
  return true;
}

bool DeviceCreateFlipChain(int16_t width, int16_t height, bool, FlipChain* made) {
  MakeRamFlipChain(width, height, true, &chain);
  *made = chain;
  surfaceStale = true;
  return true;
}

void DeviceReleaseFlipChain() {
  SdlPresentPendingFrame();
  FreeRamFlipChain(&chain);
}

// The frame is shown at the next wait, read or message, so that its cost falls inside the game's wait that
// follows every flip, and only the rows that differ from the frame on the screen are drawn.
FlipResult DeviceFlip() {
  if (windowSurface == nullptr || chain.back == nullptr) return FlipResult::kFailed;
  SdlPresentPendingFrame();
  // The new front is shown at the next wait, read or message.
  framePending = true;
  return FlipRamChain(&chain);
}

void DeviceCloseDisplay() {
  SDL_DelEventWatch(NoteWindowChange, nullptr);
  windowSurface = nullptr;
  scaler = FrameScaler{};
}

void SdlSaveScreenshot() {
  if (chain.front == nullptr) return;
  // The frame handed over is due on the screen by now; what the screen shows is the frame last taken in.
  SdlPresentPendingFrame();
  const bool shownTaken = !framePending && scaler.shown.size() == chain.front->pixels.size();
  const uint16_t* shown = shownTaken ? scaler.shown.data() : chain.front->pixels.data();
  std::string saved;
  std::string error;
  if (SavePngBesideOthers(ScreenshotStem(std::time(nullptr)), shown, chain.front->width, chain.front->height,
                          &saved, &error)) {
    std::printf("coilrun: screenshot saved as %s\n", saved.c_str());
    std::fflush(stdout);
    // A player does not see the line above; the window's title says it too.
    SdlShowTitleNote("saved " + std::filesystem::path(saved).filename().string());
  } else {
    std::fprintf(stderr, "coilrun: cannot save a screenshot: %s\n", error.c_str());
  }
}

}  // namespace coilrun
