// The pixel font of the default data: capitals, digits and a little punctuation, 7 rows high, drawn at any
// whole scale with an outline, a shadow and a shaded fill.
#pragma once

#include <string_view>

#include "picture.h"

namespace coilrun {

struct TextStyle {
  int scale = 1;
  Rgb top;      // fill of the glyphs' top row
  Rgb bottom;   // fill of the glyphs' bottom row, shaded in between
  Rgb outline;  // ring around the glyphs, `outlineWidth` pixels wide (0 for none)
  int outlineWidth = 1;
  Rgb shadow;  // the outlined glyphs again, `shadowOffset` pixels down and right (0 for none)
  int shadowOffset = 0;
  bool bevel = false;  // light top edge and dark bottom edge on each font pixel, for big titles
};

inline constexpr int kFontRows = 7;

// Width and height of what DrawText paints, outline and shadow included.
int TextWidth(std::string_view text, const TextStyle& style);
int TextHeight(const TextStyle& style);
// Paints `text` with the top-left corner of its outline at (x, y). Characters the font lacks show as '?'.
void DrawText(Picture& picture, int x, int y, std::string_view text, const TextStyle& style);
// Paints `text` centred on `centreX`, its top at y; returns the left edge used.
int DrawTextCentred(Picture& picture, int centreX, int y, std::string_view text, const TextStyle& style);
// Where DrawTextCentred paints.
Box CentredTextBox(int centreX, int y, std::string_view text, const TextStyle& style);

}  // namespace coilrun
