// The desktop's bitmap reader, SDL's own, which needs no window: shared by the SDL and in-memory layers.
#include <SDL.h>

#include <climits>

#include "images/bitmap_device.h"

namespace coilrun {

bool DeviceDecodeBitmap(const uint8_t* bytes, size_t size, DecodedBitmap* picture) {
  if (size > INT_MAX) return false;
  SDL_RWops* stream = SDL_RWFromConstMem(bytes, static_cast<int>(size));
  if (stream == nullptr) return false;
  SDL_Surface* loaded = SDL_LoadBMP_RW(stream, 1);
  if (loaded == nullptr) return false;
  // Whatever the file's own format, its colours come out as 8 bits a channel.
  SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
  SDL_FreeSurface(loaded);
  if (converted == nullptr) return false;
  picture->width = converted->w;
  picture->height = converted->h;
  picture->pixels.resize(static_cast<size_t>(converted->w) * static_cast<size_t>(converted->h));
  const auto* rows = static_cast<const uint8_t*>(converted->pixels);
  for (int y = 0; y < converted->h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(rows + static_cast<size_t>(y) * converted->pitch);
    for (int x = 0; x < converted->w; ++x) {
      picture->pixels[static_cast<size_t>(y) * static_cast<size_t>(converted->w) + static_cast<size_t>(x)] =
          row[x] & 0xFFFFFF;
    }
  }
  SDL_FreeSurface(converted);
  return true;
}

}  // namespace coilrun
