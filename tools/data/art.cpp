// The shared look: text styles, panels, arrows, stars and the snake as the pictures show it.
#include "art.h"

#include <algorithm>

namespace coilrun {
namespace {

inline constexpr Rgb kSnakeEdge{22, 40, 150};
inline constexpr Rgb kSnakeShine{140, 176, 255};
inline constexpr Rgb kEyeWhite{244, 240, 226};
inline constexpr Rgb kTongue{224, 40, 60};

int SquareRoot(int64_t value) {
  int64_t root = 0;
  while ((root + 1) * (root + 1) <= value) ++root;
  return static_cast<int>(root);
}

void FillDisc(Picture& picture, Point centre, int size, Rgb colour) {
  FillEllipse(picture, centre.x - size / 2, centre.y - size / 2, size, size, colour);
}

}  // namespace

TextStyle TitleStyle(int scale) {
  TextStyle style;
  style.scale = scale;
  style.top = kGoldTop;
  style.bottom = kGoldBottom;
  style.outline = kInk;
  style.outlineWidth = std::max(1, scale / 3);
  style.shadow = kShadowInk;
  style.shadowOffset = std::max(1, scale / 2);
  style.bevel = true;
  return style;
}

TextStyle PlainStyle(int scale) {
  TextStyle style;
  style.scale = scale;
  style.top = kCreamTop;
  style.bottom = kCreamBottom;
  style.outline = kInk;
  style.outlineWidth = 1;
  style.shadowOffset = 0;
  return style;
}

TextStyle Recoloured(TextStyle style, Rgb top, Rgb bottom) {
  style.top = top;
  style.bottom = bottom;
  return style;
}

void DrawFramedPanel(Picture& picture, int x, int y, int width, int height, Rgb frame, Rgb inside) {
  FillPanel(picture, x, y, width, height, 6, kInk, kInk);
  FillPanel(picture, x + 1, y + 1, width - 2, height - 2, 5, frame, frame);
  FillPanel(picture, x + 3, y + 3, width - 6, height - 6, 4, MixColour(frame, kInk, 1, 2), inside);
  // A light top edge gives the frame some depth.
  FillRect(picture, x + 8, y + 2, width - 16, 1, MixColour(frame, kWhite, 1, 2));
}

void DrawArrow(Picture& picture, int x, int y, int size, bool up, Rgb fill) {
  for (int pass = 0; pass < 2; ++pass) {
    const int grow = pass == 0 ? 2 : 0;
    for (int row = -grow; row < size + grow; ++row) {
      const int half = std::max(0, row) + grow;
      FillRect(picture, x - half, up ? y + row : y - row, 2 * half + 1, 1, pass == 0 ? kInk : fill);
    }
  }
}

std::vector<Point> SpiralPath(int cx, int cy, int fromPhase, int toPhase, int r0, int r1, int spacing) {
  std::vector<Point> path;
  if (toPhase == fromPhase) return path;
  const int direction = toPhase > fromPhase ? 1 : -1;
  for (int64_t phase = fromPhase; (phase - toPhase) * direction <= 0;) {
    const int64_t r = r0 + static_cast<int64_t>(r1 - r0) * (phase - fromPhase) / (toPhase - fromPhase);
    const int32_t turn = static_cast<int32_t>(phase & 0xFFFF);
    path.push_back(
        {cx + static_cast<int>(r * CosineQ(turn) / 32767), cy + static_cast<int>(r * SineQ(turn) / 32767)});
    // An arc of `spacing` pixels at radius r is spacing / (2 pi r) of a turn.
    phase += direction * std::max<int64_t>(1, spacing * 65536LL * 1000 / (6283 * std::max<int64_t>(r, 1)));
  }
  return path;
}

void AppendLine(std::vector<Point>& path, Point to, int spacing) {
  const Point from = path.empty() ? to : path.back();
  const int length = SquareRoot(static_cast<int64_t>(to.x - from.x) * (to.x - from.x) +
                                static_cast<int64_t>(to.y - from.y) * (to.y - from.y));
  const int steps = std::max(1, length / spacing);
  for (int i = 1; i <= steps; ++i) {
    path.push_back({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
  }
}

void DrawSnake(Picture& picture, const std::vector<Point>& path, int size, Point look) {
  if (path.empty()) return;
  const Point head = path.back();
  const int headSize = size * 7 / 4;
  for (const Point& p : path) FillDisc(picture, p, size + 3, kSnakeEdge);
  FillDisc(picture, head, headSize + 3, kSnakeEdge);
  for (const Point& p : path) FillDisc(picture, p, size, kWallColour);
  for (size_t i = 0; i < path.size(); i += 4) {
    FillDisc(picture, {path[i].x - size / 6, path[i].y - size / 6}, std::max(2, size / 3), kSnakeShine);
  }
  FillDisc(picture, head, headSize, kWallColour);
  FillDisc(picture, {head.x - headSize / 6, head.y - headSize / 5}, headSize / 3, kSnakeShine);

  const int dx = look.x - head.x, dy = look.y - head.y;
  const int length = std::max(1, SquareRoot(static_cast<int64_t>(dx) * dx + static_cast<int64_t>(dy) * dy));
  const auto along = [&](int forward, int side) {
    return Point{head.x + (dx * forward - dy * side) / length, head.y + (dy * forward + dx * side) / length};
  };
  const int tongueStart = headSize / 2 + 1, tongueEnd = headSize / 2 + headSize / 2 + 2;
  const Point tip = along(tongueEnd, 0);
  DrawLine(picture, along(tongueStart, 0).x, along(tongueStart, 0).y, tip.x, tip.y, kTongue);
  const Point forkA = along(tongueEnd + headSize / 6 + 1, headSize / 6 + 1);
  const Point forkB = along(tongueEnd + headSize / 6 + 1, -(headSize / 6 + 1));
  DrawLine(picture, tip.x, tip.y, forkA.x, forkA.y, kTongue);
  DrawLine(picture, tip.x, tip.y, forkB.x, forkB.y, kTongue);
  for (int side : {-1, 1}) {
    const Point eye = along(headSize / 5, side * headSize / 4);
    const int eyeSize = std::max(3, headSize / 4);
    FillDisc(picture, eye, eyeSize + 2, kInk);
    FillDisc(picture, eye, eyeSize, kEyeWhite);
    const Point pupil = along(headSize / 5 + eyeSize / 4, side * headSize / 4);
    FillDisc(picture, pupil, std::max(2, eyeSize / 2), kInk);
  }
}

void DrawHills(Picture& p, int top, Rgb far, Rgb near, Rgb crest, uint32_t seed) {
  const Rgb nearDark = MixColour(near, kBlack, 1, 5);
  for (int x = 0; x < 640; ++x) {
    const int farTop = top - 30 + SineQ(x * 90 + 9000) * 22 / 32767 + SineQ(x * 260) * 6 / 32767;
    FillRect(p, x, farTop, 1, 480 - farTop, far);
    const int nearTop = top + SineQ(x * 70 + 30000) * 16 / 32767 + SineQ(x * 200 + 4000) * 5 / 32767;
    FillRect(p, x, nearTop, 1, 480 - nearTop, near);
    FillRect(p, x, nearTop, 1, 2, crest);
    for (int y = nearTop + 6; y < 480; ++y) {
      if (HashPoint(x / 2, y / 2, seed) % 9 == 0) SetPixel(p, x, y, nearDark);
    }
    if (HashPoint(x, 0, seed + 1) % 5 == 0) DrawLine(p, x, nearTop, x + 1, nearTop - 3, crest);
  }
}

void DrawStars(Picture& picture, Box area, int count, uint32_t seed, const std::vector<Box>& keepClear) {
  Noise noise{seed};
  for (int i = 0; i < count; ++i) {
    const int sx = area.x + NoiseBelow(noise, area.width), sy = area.y + NoiseBelow(noise, area.height);
    const int kind = NoiseBelow(noise, 10);
    const auto near = [sx, sy](const Box& b) {
      return Box{b.x - 3, b.y - 3, b.width + 6, b.height + 6}.Contains(sx, sy);
    };
    if (std::any_of(keepClear.begin(), keepClear.end(), near)) continue;
    const Rgb dim{150, 150, 190}, bright{250, 246, 220};
    if (kind < 7) {
      SetPixel(picture, sx, sy, dim);
    } else {
      SetPixel(picture, sx, sy, bright);
      for (int d : {-1, 1}) {
        SetPixel(picture, sx + d, sy, dim);
        SetPixel(picture, sx, sy + d, dim);
      }
      if (kind == 9) {
        for (int d : {-2, 2}) {
          SetPixel(picture, sx + d, sy, dim);
          SetPixel(picture, sx, sy + d, dim);
        }
      }
    }
  }
}

}  // namespace coilrun
