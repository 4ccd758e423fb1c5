// The plain types of drawing: a rectangle and a surface of 16-bit pixels, shared by the logic and the
// devices.
#pragma once

#include <cstdint>
#include <vector>

namespace coilrun {

// A rectangle of a surface: left, top, right, bottom, right and bottom exclusive.
struct Rect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

// An image of 16-bit pixels in the display's pixel format, in memory the program can address. Rows of
// exactly `width` pixels follow each other without a gap; at most one source colour key.
struct Surface {
  int16_t width = 0;
  int16_t height = 0;
  std::vector<uint16_t> pixels;
  bool hasColorKey = false;
  uint16_t colorKey = 0;
};

}  // namespace coilrun
