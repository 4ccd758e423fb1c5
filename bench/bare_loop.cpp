// The least a 640x480 game can do per frame, as a yardstick for the game's own cost: a window made as the
// game makes its window, SDL's software renderer with a streaming texture, and one upload and present of
// the whole frame per frame at a given rate, scaled by SDL to the window.
// Usage: coilrun-bare-loop FRAMES_PER_SECOND [SECONDS]; without SECONDS it runs until closed.
#include <SDL.h>
#include <time.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/common/rgb565.h"

namespace coilrun {

// SDL's software renderer drawing straight into the window's own framebuffer, with nearest sampling; the
// environment (SDL_RENDER_DRIVER, SDL_FRAMEBUFFER_ACCELERATION) takes precedence over these hints.
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

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

timespec Add(timespec at, int64_t ns) {
  const int64_t total = static_cast<int64_t>(at.tv_nsec) + ns;
  at.tv_sec += static_cast<time_t>(total / 1'000'000'000);
  at.tv_nsec = static_cast<long>(total % 1'000'000'000);
  return at;
}

bool Before(const timespec& a, const timespec& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace coilrun;
  const double rate = argc > 1 ? std::atof(argv[1]) : 0.0;
  const double seconds = argc > 2 ? std::atof(argv[2]) : 0.0;
  if (rate <= 0.0) {
    std::fprintf(stderr, "usage: coilrun-bare-loop FRAMES_PER_SECOND [SECONDS]\n");
    return 2;
  }
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "bare-loop: %s\n", SDL_GetError());
    return 1;
  }
  SDL_DisplayMode desktop{};
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
    desktop.w = kWidth;
    desktop.h = kHeight;
  }
  SDL_Window* window = SDL_CreateWindow("bare loop", 0, 0, desktop.w, desktop.h,
                                        SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS);
  SdlPreferSoftwareRenderer();
  SDL_Renderer* renderer = window != nullptr ? SDL_CreateRenderer(window, -1, 0) : nullptr;
  SDL_Texture* texture = renderer != nullptr ? SdlCreateFrameTexture(renderer, kWidth, kHeight) : nullptr;
  if (texture == nullptr || SDL_RenderSetLogicalSize(renderer, kWidth, kHeight) != 0) {
    std::fprintf(stderr, "bare-loop: %s\n", SDL_GetError());
    return 1;
  }
  std::vector<uint16_t> frame(static_cast<size_t>(kWidth) * kHeight);
  const auto periodNs = static_cast<int64_t>(1e9 / rate);
  timespec start{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  const timespec end = Add(start, static_cast<int64_t>(seconds * 1e9));
  timespec next = start;
  for (uint32_t n = 0;; ++n) {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
      if (event.type == SDL_QUIT) return 0;
    }
    // A band of the frame changes every frame, as a moving snake would change it.
    for (int i = 0; i < kWidth * 8; ++i) {
      frame[(static_cast<size_t>(n) * kWidth * 8 + static_cast<size_t>(i)) % frame.size()] =
          static_cast<uint16_t>(n * 2654435761u >> 16);
    }
    SdlUploadFrame(texture, frame.data(), kWidth, kHeight);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
    next = Add(next, periodNs);
    if (seconds > 0 && !Before(next, end)) break;
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr) != 0) {
    }
  }
  SDL_DestroyTexture(texture);
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
