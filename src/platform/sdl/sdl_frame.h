// How a frame reaches the screen, shared by the SDL display and by the bare-loop benchmark that the game is
// measured against: the renderer asked for, and the 16-bit frame widened into a 32-bit streaming texture.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/sdl/rgb565.h"

namespace coilrun {

// Asks for SDL's software renderer drawing straight into the window's own framebuffer, with crisp pixels.
// Any renderer would do for one 640x480 frame, and the others load the whole OpenGL stack (some 75 MB
// resident, and a second of start-up on some machines) to do it. A player who wants another renderer names
// it in the environment (SDL_RENDER_DRIVER, SDL_FRAMEBUFFER_ACCELERATION): hints set here give way to those.
inline void SdlPreferSoftwareRenderer() {
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
}

// The texture holds 32-bit pixels: SDL scales those onto a 32-bit window with its fast stretch, but a 16-bit
// texture goes through its generic per-pixel converter, which costs about six times as much per frame.
inline constexpr Uint32 kSdlFramePixelFormat = SDL_PIXELFORMAT_RGB888;

inline SDL_Texture* SdlCreateFrameTexture(SDL_Renderer* renderer, int width, int height) {
  return SDL_CreateTexture(renderer, kSdlFramePixelFormat, SDL_TEXTUREACCESS_STREAMING, width, height);
}

// Copies a frame of 5-6-5 pixels, rows without gaps, into the texture. False when SDL refuses the texture.
inline bool SdlUploadFrame(SDL_Texture* texture, const uint16_t* pixels, int width, int height) {
  void* target = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture, nullptr, &target, &pitch) != 0) return false;
  for (int y = 0; y < height; ++y) {
    const uint16_t* from = pixels + static_cast<ptrdiff_t>(y) * width;
    auto* to = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(target) + static_cast<ptrdiff_t>(y) * pitch);
    for (int x = 0; x < width; ++x) to[x] = Rgb565ToRgb888(from[x]);
  }
  SDL_UnlockTexture(texture);
  return true;
}

}  // namespace coilrun
