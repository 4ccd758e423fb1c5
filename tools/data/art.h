// The look shared by every default picture: its colours, text styles and the drawn snake, panels and stars.
#pragma once

#include <string_view>
#include <vector>

#include "font.h"
#include "picture.h"

namespace coilrun {

// Outlines and shadows. Every dark colour drawn on a black-keyed sheet stays bright enough not to pack to
// black in 16 bits (red or blue at least 8, or green at least 4).
inline constexpr Rgb kInk{26, 16, 40};
inline constexpr Rgb kShadowInk{16, 8, 24};
inline constexpr Rgb kGoldTop{255, 238, 140};
inline constexpr Rgb kGoldBottom{236, 128, 40};
inline constexpr Rgb kCreamTop{255, 248, 226};
inline constexpr Rgb kCreamBottom{212, 196, 168};
inline constexpr Rgb kPanelFill{46, 30, 70};
inline constexpr Rgb kPanelFrame{236, 182, 82};

// Gold block capitals with bevel, outline and shadow, for titles.
TextStyle TitleStyle(int scale);
// Cream capitals with a thin outline, for labels and hints.
TextStyle PlainStyle(int scale);
TextStyle Recoloured(TextStyle style, Rgb top, Rgb bottom);

// A framed panel: dark outline, frame, a second darker frame line and the inside colour.
void DrawFramedPanel(Picture& picture, int x, int y, int width, int height, Rgb frame, Rgb inside);
// A solid triangle pointing up (or down) with its tip at (x, y), `size` rows tall, outlined.
void DrawArrow(Picture& picture, int x, int y, int size, bool up, Rgb fill);

struct Point {
  int x;
  int y;
};

// Points about `spacing` pixels apart along a spiral around (cx, cy), the angle going from `fromPhase` to
// `toPhase` in 65536ths of a turn (more than one turn allowed), the radius linearly from r0 to r1.
std::vector<Point> SpiralPath(int cx, int cy, int fromPhase, int toPhase, int r0, int r1, int spacing);
// Points every `spacing` pixels along a straight line, first point excluded.
void AppendLine(std::vector<Point>& path, Point to, int spacing);
// The snake as in play, discs of `size` pixels in the body colour, shaded, tail first; the head at the
// last point looks toward (lookX, lookY) from it.
void DrawSnake(Picture& picture, const std::vector<Point>& path, int size, Point look);

// Rolling hills: a far band, then the near ground with grass on its crest, from about `top` down.
void DrawHills(Picture& picture, int top, Rgb far, Rgb near, Rgb crest, uint32_t seed);
// Twinkling stars scattered over `area`, none inside `keepClear` (where text goes).
void DrawStars(Picture& picture, Box area, int count, uint32_t seed, const std::vector<Box>& keepClear = {});

}  // namespace coilrun
