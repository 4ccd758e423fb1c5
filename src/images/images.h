// Loading pictures into surfaces in the display's pixel format: PCX-coded files and Windows bitmap files.
#pragma once

#include <cstddef>
#include <cstdint>

#include "display/display.h"

namespace coilrun {

// The widest and tallest picture either loader accepts. The game shows nothing larger than its 640x480
// screen; the bound keeps a hostile header from making the game allocate gigabytes.
inline constexpr int16_t kMaxImageSide = 4096;

// Reads a 256-colour PCX-coded picture into a new surface the caller owns; none when the file cannot be
// read or holds more bytes than the largest picture accepted needs, its header gives no picture of 1 to
// kMaxImageSide pixels each way, or the device refuses the surface or its lock. Coded data that ends early
// leaves the remaining pixels as the device made them.
Surface* LoadPcxImage(const char* fileName);

// As LoadPcxImage, from the bytes of a whole file in memory.
Surface* DecodePcxImage(const uint8_t* bytes, size_t size);

// Reads a Windows bitmap file of any common variant into a new surface the caller owns, each pixel packed
// with PackColor from its 8-bit red, green and blue; none when the file cannot be read or decoded, the
// picture is larger than kMaxImageSide either way, or the device refuses the surface or its lock.
Surface* LoadBitmapImage(const char* fileName);

// As LoadBitmapImage, from the bytes of a whole file in memory.
Surface* DecodeBitmapImage(const uint8_t* bytes, size_t size);

}  // namespace coilrun
