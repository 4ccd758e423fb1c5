// Pictures in 8-bit RGB drawn by integer code: the canvas every default data picture is painted on.
#pragma once

#include <cstdint>
#include <vector>

namespace coilrun {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A rectangle by its top-left corner and size.
struct Box {
  int x;
  int y;
  int width;
  int height;
  bool Contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
// The snake's body colour, and with it the colour of walls.
inline constexpr Rgb kWallColour{51, 102, 255};

Picture MakePicture(int width, int height, Rgb fill);
// Pixels outside the picture are ignored by every drawing call.
void SetPixel(Picture& picture, int x, int y, Rgb colour);
Rgb GetPixel(const Picture& picture, int x, int y);
void FillRect(Picture& picture, int x, int y, int width, int height, Rgb colour);
// An ellipse filling the box (x, y, width, height), tested at pixel centres.
void FillEllipse(Picture& picture, int x, int y, int width, int height, Rgb colour);
// A line of 1-pixel dots from (x0, y0) to (x1, y1), both ends included.
void DrawLine(Picture& picture, int x0, int y0, int x1, int y1, Rgb colour);
// A rectangle with its corners cut by `corner` pixels, in two colours: frame and inside.
void FillPanel(Picture& picture, int x, int y, int width, int height, int corner, Rgb frame, Rgb inside);
// Copies `source` with its top-left pixel at (x, y), skipping pixels equal to `key`.
void PastePicture(Picture& destination, const Picture& source, int x, int y, Rgb key);
// The picture enlarged `factor` times, each pixel a square block.
Picture ScalePicture(const Picture& source, int factor);

// a + (b - a) * num / den per channel, rounded to nearest.
Rgb MixColour(Rgb a, Rgb b, int num, int den);
// A vertical band from y0 to y1 (exclusive) shading from `top` to `bottom` in `steps` colours, dithered.
void FillGradient(Picture& picture, int x, int y0, int width, int y1, Rgb top, Rgb bottom, int steps);

// A small fixed-seed generator: the same numbers on every machine.
struct Noise {
  uint32_t state;
};
uint32_t NextNoise(Noise& noise);
// A value from 0 to limit - 1.
int NoiseBelow(Noise& noise, int limit);
// A hash of a pixel position and a seed, for textures that do not depend on drawing order.
uint32_t HashPoint(int x, int y, uint32_t seed);

// Smooth noise from 0 to 255: hashed values on a grid of `cell` pixels, blended between grid points.
int SmoothNoise(int x, int y, int cell, uint32_t seed);
// Picks one of `count` colours of a ramp for a value from 0 to 255, dithered between neighbours.
Rgb PickFromRamp(const Rgb* ramp, int count, int value, int x, int y);
// True when the colour packs to the body colour in 16 bits (5-6-5 or 5-5-5).
bool PacksToBodyColour(Rgb colour);

// Sine of `phase` in 65536ths of a turn, scaled to +-32767; integer-only, within 0.2 % of the true value.
int32_t SineQ(int32_t phase);
inline int32_t CosineQ(int32_t phase) {
  return SineQ(phase + 16384);
}

}  // namespace coilrun
