// A reader of Windows bitmap files in plain code, for the layers whose platform has none it can be handed
// bytes to (the Windows layer, and the in-memory layer where SDL is not built).
#pragma once

#include <cstddef>
#include <cstdint>

#include "images/bitmap_device.h"

namespace coilrun {

// Decodes a whole bitmap file: the OS/2 core header or any later info header; 1, 4 or 8 bits through a
// palette (plain or run-length coded), 16 or 32 bits by default or given masks, 24 bits. Colours come out at
// 8 bits a channel, a narrower field widened by repeating its top bits, as SDL's reader does. False, with
// `picture` unspecified, for anything else or a file that ends before its pixels do.
bool ReadBitmapFile(const uint8_t* bytes, size_t size, DecodedBitmap* picture);

}  // namespace coilrun
