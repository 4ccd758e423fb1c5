// The two sprite sheets on black, their transparent colour: "DATA.DAT" (menu labels, score digits,
// banners, pause dialog) and "DATA2.DAT" (stage labels, high-score banner).
#include <algorithm>
#include <array>
#include <string>

#include "art.h"
#include "artwork.h"
#include "content/assets.h"

namespace coilrun {
namespace {

constexpr int kDigitColumns = 6;
constexpr int kDigitRows = 10;
constexpr int kDigitScale = 2;

// Bold digits for the score, 6x10 font pixels each.
constexpr std::array<std::array<const char*, kDigitRows>, 10> kDigitGlyphs = {{
    {".####.", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", ".####."},
    {"..##..", ".###..", "####..", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..", "######"},
    {".####.", "##..##", "....##", "....##", "...##.", "..##..", ".##...", "##....", "##....", "######"},
    {".####.", "##..##", "....##", "....##", "..###.", "....##", "....##", "....##", "##..##", ".####."},
    {"...##.", "..###.", ".####.", "##.##.", "##.##.", "######", "...##.", "...##.", "...##.", "...##."},
    {"######", "##....", "##....", "#####.", "....##", "....##", "....##", "....##", "##..##", ".####."},
    {"..###.", ".##...", "##....", "##....", "#####.", "##..##", "##..##", "##..##", "##..##", ".####."},
    {"######", "....##", "....##", "...##.", "...##.", "..##..", "..##..", ".##...", ".##...", ".##..."},
    {".####.", "##..##", "##..##", "##..##", ".####.", "##..##", "##..##", "##..##", "##..##", ".####."},
    {".####.", "##..##", "##..##", "##..##", ".#####", "....##", "....##", "....##", "...##.", ".###.."},
}};

bool DigitInk(int digit, int column, int row) {
  if (column < 0 || row < 0 || column >= kDigitColumns || row >= kDigitRows) return false;
  return kDigitGlyphs[static_cast<size_t>(digit)][static_cast<size_t>(row)][column] == '#';
}

// One digit in its cell: a dark outline one pixel wide around gold shading to orange, on black.
void DrawDigit(Picture& p, int left, int top, int digit) {
  const int inkLeft = left + 1, inkTop = top + 1;
  for (int row = -1; row <= kDigitRows; ++row) {
    for (int column = -1; column <= kDigitColumns; ++column) {
      for (int dy = 0; dy < kDigitScale; ++dy) {
        for (int dx = 0; dx < kDigitScale; ++dx) {
          const int x = inkLeft + column * kDigitScale + dx, y = inkTop + row * kDigitScale + dy;
          if (DigitInk(digit, column, row)) {
            const Rgb fill = MixColour(kGoldTop, kGoldBottom, row, kDigitRows - 1);
            SetPixel(p, x, y,
                     dx == 0 && !DigitInk(digit, column - 1, row) ? MixColour(fill, kWhite, 1, 3) : fill);
            continue;
          }
          // Outline where a neighbouring font pixel, reached by this screen pixel's side, is ink.
          const int nx = column + (dx == 0 ? -1 : 1), ny = row + (dy == 0 ? -1 : 1);
          if (DigitInk(digit, nx, row) || DigitInk(digit, column, ny) || DigitInk(digit, nx, ny)) {
            SetPixel(p, x, y, kInk);
          }
        }
      }
    }
  }
}

void DrawGem(Picture& p, int cx, int cy) {
  for (int row = -5; row <= 5; ++row) {
    const int half = 5 - (row < 0 ? -row : row);
    FillRect(p, cx - half - 1, cy + row, 2 * half + 3, 1, kInk);
  }
  for (int row = -4; row <= 4; ++row) {
    const int half = 4 - (row < 0 ? -row : row);
    FillRect(p, cx - half, cy + row, 2 * half + 1, 1, row < 0 ? kGoldTop : kGoldBottom);
  }
}

// A menu label: the entry's name centred in its rectangle, with a gem at each end.
void DrawMenuLabel(Picture& p, const Rect& r, const char* text) {
  const TextStyle style = TitleStyle(4);
  const int left = static_cast<int>(r.left), right = static_cast<int>(r.right);
  const int width = right - left, height = static_cast<int>(r.bottom - r.top);
  const int textLeft = DrawTextCentred(
      p, left + width / 2, static_cast<int>(r.top) + (height - TextHeight(style)) / 2, text, style);
  const int textRight = textLeft + TextWidth(text, style);
  DrawGem(p, std::max(left + 7, textLeft - 18), static_cast<int>(r.top) + height / 2);
  DrawGem(p, std::min(right - 8, textRight + 16), static_cast<int>(r.top) + height / 2);
}

void DrawBanner(Picture& p, const Rect& r, Rgb frame, Rgb inside, const char* title, int titleScale) {
  const int width = static_cast<int>(r.right - r.left), height = static_cast<int>(r.bottom - r.top);
  DrawFramedPanel(p, static_cast<int>(r.left), static_cast<int>(r.top), width, height, frame, inside);
  const TextStyle big = TitleStyle(titleScale), small = PlainStyle(2);
  const int gap = (height - TextHeight(big) - TextHeight(small)) / 3;
  DrawTextCentred(p, static_cast<int>(r.left) + width / 2, static_cast<int>(r.top) + gap, title, big);
  DrawTextCentred(p, static_cast<int>(r.left) + width / 2,
                  static_cast<int>(r.bottom) - gap - TextHeight(small), "PRESS ANY KEY", small);
}

void DrawMarker(Picture& p, const Rect& r, Rgb frame, Rgb inside, const char* text) {
  const int width = static_cast<int>(r.right - r.left), height = static_cast<int>(r.bottom - r.top);
  DrawFramedPanel(p, static_cast<int>(r.left), static_cast<int>(r.top), width, height, frame, inside);
  const TextStyle style = PlainStyle(3);
  DrawTextCentred(p, static_cast<int>(r.left) + width / 2,
                  static_cast<int>(r.top) + (height - TextHeight(style)) / 2, text, style);
}

// The pause dialog's box names both choices, each right above the place of its marker, in letters as tall
// as the menu's hint; only the marker of the current choice is drawn under it.
void DrawPauseBox(Picture& p, const Rect& r) {
  const int width = static_cast<int>(r.right - r.left);
  DrawFramedPanel(p, static_cast<int>(r.left), static_cast<int>(r.top), width,
                  static_cast<int>(r.bottom - r.top), kPanelFrame, kPanelFill);
  DrawTextCentred(p, static_cast<int>(r.left) + width / 2, static_cast<int>(r.top) + 5, "PAUSED - RETURN: OK",
                  TitleStyle(2));
  const auto aboveMarker = [&](const Placement& marker) {
    const int markerCentre = marker.x + static_cast<int>(marker.source.right - marker.source.left) / 2;
    return static_cast<int>(r.left) + markerCentre - kPauseBox.x;
  };
  const int choicesTop = static_cast<int>(r.bottom) - 5 - TextHeight(PlainStyle(2));
  DrawTextCentred(p, aboveMarker(kQuitMarker), choicesTop, "LEFT: QUIT", PlainStyle(2));
  DrawTextCentred(p, aboveMarker(kGoOnMarker), choicesTop, "RIGHT: GO ON", PlainStyle(2));
}

void DrawTrophy(Picture& p, int x, int y) {
  const Rgb gold = kGoldBottom, shine = kGoldTop;
  FillEllipse(p, x - 1, y - 1, 30, 26, kInk);
  FillEllipse(p, x, y, 28, 24, gold);
  FillRect(p, x - 1, y - 1, 30, 10, kInk);
  FillRect(p, x, y, 28, 9, gold);
  FillRect(p, x + 4, y + 2, 4, 14, shine);
  for (int side : {-1, 1}) {
    const int hx = side < 0 ? x - 7 : x + 27;
    FillRect(p, hx, y + 3, 8, 12, kInk);
    FillRect(p, hx + 1, y + 4, 6, 10, gold);
    FillRect(p, hx + 3, y + 6, 2, 6, kInk);
  }
  FillRect(p, x + 10, y + 23, 8, 10, kInk);
  FillRect(p, x + 11, y + 23, 6, 9, gold);
  FillRect(p, x + 4, y + 32, 20, 7, kInk);
  FillRect(p, x + 5, y + 33, 18, 5, gold);
}

}  // namespace

Picture DrawPlaySheet() {
  Picture p = MakePicture(640, 480, kBlack);
  static constexpr std::array<const char*, 4> kLabels = {"PLAY", "TITLE", "HIGH SCORES", "EXIT"};
  for (size_t i = 0; i < kMenuLabels.size(); ++i) DrawMenuLabel(p, kMenuLabels[i].source, kLabels[i]);
  for (int digit = 0; digit < 10; ++digit) {
    DrawDigit(p, static_cast<int>(kDigitCut.left) + digit * kDigitStride, static_cast<int>(kDigitCut.top),
              digit);
  }
  DrawBanner(p, kClearBanner.source, Rgb{150, 230, 120}, Rgb{22, 70, 40}, "STAGE CLEAR!", 6);
  DrawBanner(p, kDeathBanner.source, Rgb{244, 120, 100}, Rgb{86, 20, 30}, "YOU CRASHED!", 5);
  DrawPauseBox(p, kPauseBox.source);
  DrawMarker(p, kQuitMarker.source, Rgb{250, 150, 120}, Rgb{150, 30, 40}, "QUIT");
  DrawMarker(p, kGoOnMarker.source, Rgb{170, 240, 140}, Rgb{30, 110, 50}, "GO ON");
  return p;
}

Picture DrawLabelSheet() {
  const Rect& banner = kHighScoreBanner.source;
  Picture p = MakePicture(static_cast<int>(banner.right), static_cast<int>(banner.bottom), kBlack);
  TextStyle label = TitleStyle(2);
  label.bevel = false;
  label.shadowOffset = 0;
  for (int stage = 0; stage < kStageCount; ++stage) {
    const Rect& r = kStageLabels[static_cast<size_t>(stage)];
    const std::string text = "STAGE " + std::to_string(stage + 1);
    DrawText(p, static_cast<int>(r.left),
             static_cast<int>(r.top) + (static_cast<int>(r.bottom - r.top) - TextHeight(label)) / 2, text,
             label);
  }
  const int width = static_cast<int>(banner.right - banner.left),
            height = static_cast<int>(banner.bottom - banner.top);
  DrawFramedPanel(p, static_cast<int>(banner.left), static_cast<int>(banner.top), width, height, kPanelFrame,
                  kPanelFill);
  DrawTextCentred(p, width / 2, static_cast<int>(banner.top) + (height - TextHeight(TitleStyle(6))) / 2,
                  "HIGH SCORES", TitleStyle(6));
  DrawTrophy(p, 60, static_cast<int>(banner.top) + 18);
  DrawTrophy(p, width - 88, static_cast<int>(banner.top) + 18);
  return p;
}

}  // namespace coilrun
