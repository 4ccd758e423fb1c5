// What the bitmap loader needs of a platform: its own reader of Windows bitmap files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace coilrun {

// A decoded picture: `width` x `height` pixels of 0x00RRGGBB, top row first, rows without gap.
struct DecodedBitmap {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
};

// Decodes a whole bitmap file of any kind the platform reads (palette, 16, 24 or 32 bits) into 8 bits a
// channel; false, with `picture` unspecified, when the platform cannot read it.
bool DeviceDecodeBitmap(const uint8_t* bytes, size_t size, DecodedBitmap* picture);

}  // namespace coilrun
