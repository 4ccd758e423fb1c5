// Integer drawing on RGB pictures: rectangles, ellipses, lines, panels, dithered shading and noise.
#include "picture.h"

#include <algorithm>
#include <cstdlib>

namespace coilrun {
namespace {

// Ordered 4x4 dither: true where level (0 to 16) of 16 would pick the second colour at (x, y).
bool DitherPick(int x, int y, int level) {
  static constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return kBayer[y & 3][x & 3] < level;
}

}  // namespace

Picture MakePicture(int width, int height, Rgb fill) {
  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
  return picture;
}

void SetPixel(Picture& picture, int x, int y, Rgb colour) {
  if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return;
  picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(picture.width) + static_cast<size_t>(x)] =
      colour;
}

Rgb GetPixel(const Picture& picture, int x, int y) {
  if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return kBlack;
  return picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(picture.width) + static_cast<size_t>(x)];
}

void FillRect(Picture& picture, int x, int y, int width, int height, Rgb colour) {
  const int x0 = std::max(x, 0), x1 = std::min(x + width, picture.width);
  const int y0 = std::max(y, 0), y1 = std::min(y + height, picture.height);
  for (int row = y0; row < y1; ++row) {
    for (int column = x0; column < x1; ++column) SetPixel(picture, column, row, colour);
  }
}

void FillEllipse(Picture& picture, int x, int y, int width, int height, Rgb colour) {
  // Doubled coordinates put the centre of an even-sized box between pixels without fractions.
  const int64_t w = width, h = height;
  for (int row = 0; row < height; ++row) {
    const int64_t dy = 2 * row + 1 - h;
    for (int column = 0; column < width; ++column) {
      const int64_t dx = 2 * column + 1 - w;
      if (dx * dx * h * h + dy * dy * w * w <= w * w * h * h) SetPixel(picture, x + column, y + row, colour);
    }
  }
}

void DrawLine(Picture& picture, int x0, int y0, int x1, int y1, Rgb colour) {
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    SetPixel(picture, x0, y0, colour);
    if (x0 == x1 && y0 == y1) return;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += sx;
    }
    if (twice <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

void FillPanel(Picture& picture, int x, int y, int width, int height, int corner, Rgb frame, Rgb inside) {
  for (int row = 0; row < height; ++row) {
    const int fromTop = std::min(row, height - 1 - row);
    const int cut = std::max(0, corner - fromTop);
    for (int column = cut; column < width - cut; ++column) {
      const bool edge = row == 0 || row == height - 1 || column == cut || column == width - 1 - cut ||
                        (fromTop < corner && (column == cut + 1 || column == width - 2 - cut));
      SetPixel(picture, x + column, y + row, edge ? frame : inside);
    }
  }
}

void PastePicture(Picture& destination, const Picture& source, int x, int y, Rgb key) {
  for (int row = 0; row < source.height; ++row) {
    for (int column = 0; column < source.width; ++column) {
      const Rgb colour = GetPixel(source, column, row);
      if (!(colour == key)) SetPixel(destination, x + column, y + row, colour);
    }
  }
}

Picture ScalePicture(const Picture& source, int factor) {
  Picture result = MakePicture(source.width * factor, source.height * factor, kBlack);
  for (int y = 0; y < result.height; ++y) {
    for (int x = 0; x < result.width; ++x) SetPixel(result, x, y, GetPixel(source, x / factor, y / factor));
  }
  return result;
}

Rgb MixColour(Rgb a, Rgb b, int num, int den) {
  const auto channel = [num, den](int from, int to) {
    const int scaled = (to - from) * num * 2;
    const int rounded = scaled >= 0 ? (scaled + den) / (2 * den) : -((-scaled + den) / (2 * den));
    return static_cast<uint8_t>(from + rounded);
  };
  return Rgb{channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

void FillGradient(Picture& picture, int x, int y0, int width, int y1, Rgb top, Rgb bottom, int steps) {
  const int span = std::max(1, y1 - y0 - 1);
  for (int y = y0; y < y1; ++y) {
    const int position = (y - y0) * (steps - 1) * 16 / span;
    const int index = position / 16, level = position % 16;
    const Rgb low = MixColour(top, bottom, index, steps - 1);
    const Rgb high = MixColour(top, bottom, std::min(index + 1, steps - 1), steps - 1);
    for (int column = x; column < x + width; ++column) {
      SetPixel(picture, column, y, DitherPick(column, y, level) ? high : low);
    }
  }
}

uint32_t NextNoise(Noise& noise) {
  uint32_t s = noise.state;
  s ^= s << 13;
  s ^= s >> 17;
  s ^= s << 5;
  noise.state = s;
  return s;
}

int NoiseBelow(Noise& noise, int limit) {
  return static_cast<int>(NextNoise(noise) % static_cast<uint32_t>(limit));
}

uint32_t HashPoint(int x, int y, uint32_t seed) {
  uint32_t h = seed ^ (static_cast<uint32_t>(x) * 0x9E3779B1u) ^ (static_cast<uint32_t>(y) * 0x85EBCA77u);
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

int SmoothNoise(int x, int y, int cell, uint32_t seed) {
  const int gx = x / cell, gy = y / cell, fx = x % cell, fy = y % cell;
  const auto corner = [&](int cx, int cy) { return static_cast<int>(HashPoint(cx, cy, seed) & 0xFF); };
  const int top = corner(gx, gy) * (cell - fx) + corner(gx + 1, gy) * fx;
  const int bottom = corner(gx, gy + 1) * (cell - fx) + corner(gx + 1, gy + 1) * fx;
  return (top * (cell - fy) + bottom * fy) / (cell * cell);
}

Rgb PickFromRamp(const Rgb* ramp, int count, int value, int x, int y) {
  const int position = std::clamp(value, 0, 255) * (count - 1) * 16 / 255;
  const int index = position / 16, level = position % 16;
  return ramp[std::min(index + (DitherPick(x, y, level) ? 1 : 0), count - 1)];
}

bool PacksToBodyColour(Rgb colour) {
  // The body colour (51, 102, 255) in 5-6-5 and in 5-5-5.
  return colour.r >> 3 == 6 && colour.g >> 3 == 12 && colour.b >> 3 == 31;
}

int32_t SineQ(int32_t phase) {
  // Bhaskara's rational approximation over each half turn.
  constexpr int64_t kHalf = 32768;
  const int64_t wrapped = phase & 65535;
  const int64_t p = wrapped & (kHalf - 1);
  const int64_t product = p * (kHalf - p);
  const int64_t value = 4 * product * 32767 / (5 * kHalf * kHalf / 4 - product);
  return static_cast<int32_t>(wrapped >= kHalf ? -value : value);
}

}  // namespace coilrun
