// The browser's bitmap reader: the browser's own image decoder, which reads every kind of Windows bitmap.
#include <emscripten.h>

#include <cstdlib>

#include "images/bitmap_device.h"

namespace coilrun {

namespace {

// Decodes the file into a new block of width x height 0x00RRGGBB pixels (freed by the caller) and writes
// its size; null when the browser cannot read it. Colours come out exactly as the file holds them.
EM_ASYNC_JS(uint32_t*, PageDecodeBitmap, (const uint8_t* bytes, int size, int32_t* width, int32_t* height),
            { return await Module.coilrunDecodeBitmap(bytes, size, width, height); });

}  // namespace

bool DeviceDecodeBitmap(const uint8_t* bytes, size_t size, DecodedBitmap* picture) {
  int32_t width = 0;
  int32_t height = 0;
  uint32_t* decoded = PageDecodeBitmap(bytes, static_cast<int>(size), &width, &height);
  if (decoded == nullptr) return false;
  picture->width = width;
  picture->height = height;
  picture->pixels.assign(decoded, decoded + static_cast<size_t>(width) * static_cast<size_t>(height));
  std::free(decoded);
  return true;
}

}  // namespace coilrun
