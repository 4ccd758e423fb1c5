// The pixel font's glyphs and the text painter.
#include "font.h"

#include <array>
#include <vector>

namespace coilrun {
namespace {

struct Glyph {
  char code;
  std::array<const char*, kFontRows> rows;
};

// Each glyph is as wide as its rows; '#' is ink.
constexpr Glyph kGlyphs[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}},
    {'J', {"..###", "...#.", "...#.", "...#.", "#..#.", "#..#.", ".##.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"####.", "....#", "....#", ".###.", "....#", "....#", "####."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
    {' ', {"..", "..", "..", "..", "..", "..", ".."}},
    {'!', {"#", "#", "#", "#", "#", ".", "#"}},
    {'?', {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."}},
    {'.', {".", ".", ".", ".", ".", ".", "#"}},
    {',', {"..", "..", "..", "..", "..", ".#", "#."}},
    {':', {".", ".", "#", ".", ".", "#", "."}},
    {'-', {"....", "....", "....", "####", "....", "....", "...."}},
    {'\'', {"#", "#", ".", ".", ".", ".", "."}},
    {'/', {"....#", "...#.", "...#.", "..#..", ".#...", ".#...", "#...."}},
    {'<', {"...#", "..#.", ".#..", "#...", ".#..", "..#.", "...#"}},
    {'>', {"#...", ".#..", "..#.", "...#", "..#.", ".#..", "#..."}},
    {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."}},
    {'(', {".#", "#.", "#.", "#.", "#.", "#.", ".#"}},
    {')', {"#.", ".#", ".#", ".#", ".#", ".#", "#."}},
    {'=', {"....", "....", "####", "....", "####", "....", "...."}},
};

const Glyph& FindGlyph(char code) {
  for (const Glyph& glyph : kGlyphs) {
    if (glyph.code == code) return glyph;
  }
  return FindGlyph('?');
}

int GlyphWidth(const Glyph& glyph) {
  return static_cast<int>(std::string_view(glyph.rows[0]).size());
}

// The unscaled ink of a whole line of text, one flag per font pixel.
struct InkMap {
  int width = 0;
  std::vector<bool> ink;
  bool At(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < kFontRows && ink[static_cast<size_t>(y * width + x)];
  }
};

InkMap LayOut(std::string_view text) {
  InkMap map;
  for (size_t i = 0; i < text.size(); ++i) map.width += GlyphWidth(FindGlyph(text[i])) + (i > 0 ? 1 : 0);
  map.ink.assign(static_cast<size_t>(map.width * kFontRows), false);
  int left = 0;
  for (char code : text) {
    const Glyph& glyph = FindGlyph(code);
    for (int row = 0; row < kFontRows; ++row) {
      for (int column = 0; column < GlyphWidth(glyph); ++column) {
        if (glyph.rows[static_cast<size_t>(row)][column] == '#') {
          map.ink[static_cast<size_t>(row * map.width + left + column)] = true;
        }
      }
    }
    left += GlyphWidth(glyph) + 1;
  }
  return map;
}

// Paints every scaled ink pixel grown by `grow` pixels on each side, in one colour.
void PaintGrown(Picture& picture, int x, int y, const InkMap& map, int scale, int grow, Rgb colour) {
  for (int row = 0; row < kFontRows; ++row) {
    for (int column = 0; column < map.width; ++column) {
      if (!map.At(column, row)) continue;
      FillRect(picture, x + column * scale - grow, y + row * scale - grow, scale + 2 * grow, scale + 2 * grow,
               colour);
    }
  }
}

void PaintFill(Picture& picture, int x, int y, const InkMap& map, const TextStyle& style) {
  const int s = style.scale;
  for (int row = 0; row < kFontRows; ++row) {
    // One shade per font row keeps the colour count small enough for palette pictures.
    const Rgb base = MixColour(style.top, style.bottom, row, kFontRows - 1);
    for (int column = 0; column < map.width; ++column) {
      if (!map.At(column, row)) continue;
      for (int dy = 0; dy < s; ++dy) {
        const int py = row * s + dy;
        for (int dx = 0; dx < s; ++dx) {
          Rgb colour = base;
          if (style.bevel && s >= 3) {
            // Light where the pixel above or to the left is not ink; dark toward the bottom right.
            if ((dy == 0 && !map.At(column, row - 1)) || (dx == 0 && !map.At(column - 1, row))) {
              colour = MixColour(base, kWhite, 1, 2);
            } else if ((dy == s - 1 && !map.At(column, row + 1)) ||
                       (dx == s - 1 && !map.At(column + 1, row))) {
              colour = MixColour(base, style.outline, 1, 2);
            }
          }
          SetPixel(picture, x + column * s + dx, y + py, colour);
        }
      }
    }
  }
}

}  // namespace

int TextWidth(std::string_view text, const TextStyle& style) {
  return LayOut(text).width * style.scale + 2 * style.outlineWidth + style.shadowOffset;
}

int TextHeight(const TextStyle& style) {
  return kFontRows * style.scale + 2 * style.outlineWidth + style.shadowOffset;
}

void DrawText(Picture& picture, int x, int y, std::string_view text, const TextStyle& style) {
  const InkMap map = LayOut(text);
  const int inkX = x + style.outlineWidth, inkY = y + style.outlineWidth;
  if (style.shadowOffset > 0) {
    PaintGrown(picture, inkX + style.shadowOffset, inkY + style.shadowOffset, map, style.scale,
               style.outlineWidth, style.shadow);
  }
  if (style.outlineWidth > 0)
    PaintGrown(picture, inkX, inkY, map, style.scale, style.outlineWidth, style.outline);
  PaintFill(picture, inkX, inkY, map, style);
}

int DrawTextCentred(Picture& picture, int centreX, int y, std::string_view text, const TextStyle& style) {
  const Box box = CentredTextBox(centreX, y, text, style);
  DrawText(picture, box.x, y, text, style);
  return box.x;
}

Box CentredTextBox(int centreX, int y, std::string_view text, const TextStyle& style) {
  const int width = TextWidth(text, style);
  return Box{centreX - width / 2, y, width, TextHeight(style)};
}

}  // namespace coilrun
