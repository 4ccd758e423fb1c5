// The data files the game reads, and every rectangle it draws from them: the one place where the layout of
// the pictures is written down, read by the game's screens and by the data checker.
#pragma once

#include <array>
#include <cstdint>

#include "display/display.h"

namespace coilrun {

// The fixed list of data files, in the working directory.
enum AssetIndex : uint8_t {
  kAssetBg00 = 0,      // to kAssetBg00 + 5: the stage backgrounds (bitmaps)
  kAssetData = 6,      // the sprite sheet: menu labels, digits, banners, pause dialog (PCX-coded)
  kAssetData2 = 7,     // the stage labels and the high-score banner (PCX-coded)
  kAssetEnemy01 = 8,   // the first enemy picture (bitmap)
  kAssetEnemy02 = 9,   // the second enemy picture (bitmap)
  kAssetLogo = 10,     // the logo screen (PCX-coded)
  kAssetMenu = 11,     // the menu background (bitmap)
  kAssetStage00 = 12,  // to kAssetStage00 + 5: the stage intro pictures (PCX-coded)
  kAssetClearWav = 18,
  kAssetDieWav = 19,
  kAssetEatWav = 20,
  kAssetMenu1Wav = 21,  // the menu selection moves
  kAssetMenu2Wav = 22,  // an entry is chosen
  kAssetMenu3Wav = 23,  // Exit is chosen
};

inline constexpr int kAssetCount = 24;
inline constexpr std::array<const char*, kAssetCount> AssetTable = {
    "BG00.DAT",    "BG01.DAT",    "BG02.DAT",    "BG03.DAT",    "BG04.DAT",    "BG05.DAT",
    "DATA.DAT",    "DATA2.DAT",   "ENEMY01.DAT", "ENEMY02.DAT", "LOGO.DAT",    "MENU.DAT",
    "STAGE00.DAT", "STAGE01.DAT", "STAGE02.DAT", "STAGE03.DAT", "STAGE04.DAT", "STAGE05.DAT",
    "CLEAR.WAV",   "DIE.WAV",     "EAT.WAV",     "MENU1.WAV",   "MENU2.WAV",   "MENU3.WAV"};
inline constexpr const char* kScoreFileName = "SCORE.DAT";
inline constexpr int kStageCount = 6;

// How each data file is coded, and so which reader loads it.
enum class AssetKind { kBitmap, kPcx, kWave };

inline constexpr AssetKind KindOfAsset(AssetIndex index) {
  if (index >= kAssetClearWav) return AssetKind::kWave;
  if (index == kAssetData || index == kAssetData2 || index == kAssetLogo || index >= kAssetStage00) {
    return AssetKind::kPcx;
  }
  return AssetKind::kBitmap;
}

// Loads entry `index` of the table by its kind: a picture into `*picture`, a new surface the caller owns; a
// wave file as the one sound effect (the effect before must have been freed; `picture` is not used). False,
// with the failure noted (the file named, and why), when it cannot.
bool LoadAsset(AssetIndex index, Surface** picture);

// Frees the loaded effect and loads the table's wave file `sound` in its place; false, with the failure
// noted, when it cannot.
bool SwapEffect(AssetIndex sound);

// A picture drawn from a rectangle of a source, with its top-left pixel at a fixed point.
struct Placement {
  Rect source;
  int16_t x;
  int16_t y;
};

// Draws a placement's rectangle of `source` onto the Canvas at its point, with or without the source's key.
inline void BlitPlacementToCanvas(const Surface* source, const Placement& p, bool keyed) {
  const auto left = static_cast<int16_t>(p.source.left);
  const auto top = static_cast<int16_t>(p.source.top);
  const auto right = static_cast<int16_t>(p.source.right);
  const auto bottom = static_cast<int16_t>(p.source.bottom);
  if (keyed) {
    BlitToCanvasKeyed(source, p.x, p.y, left, top, right, bottom);
  } else {
    BlitToCanvas(source, p.x, p.y, left, top, right, bottom);
  }
}

// Full-screen pictures: the logo, the menu background, the stage backgrounds and intro pictures.
inline constexpr Placement kFullScreen{ScreenRect, 0, 0};

// --- "DATA.DAT", the sprite sheet ---

// The menu's label of each entry, centred across the screen on one vertical centre.
inline constexpr std::array<Placement, 4> kMenuLabels = {{
    {{10, 10, 280, 49}, 185, 280},    // play
    {{10, 60, 313, 99}, 168, 280},    // the second entry, back to the logo
    {{10, 110, 290, 149}, 180, 280},  // high scores
    {{346, 15, 590, 60}, 198, 277},   // exit
}};

// The digit d is cut from (left + 16d, top, right + 16d, bottom) into a surface of its own.
inline constexpr Rect kDigitCut{350, 100, 365, 122};
inline constexpr int16_t kDigitStride = 16;
inline constexpr int16_t kDigitSurfaceWidth = 16;
inline constexpr int16_t kDigitSurfaceHeight = 23;

// Every digit is drawn from this rectangle of its own surface.
inline constexpr Rect kDigitRect{0, 0, 15, 22};

// The banners over the last frame of a stage attempt.
inline constexpr Placement kClearBanner{{11, 204, 557, 304}, 47, 190};
inline constexpr Placement kDeathBanner{{20, 310, 464, 385}, 98, 202};

// The pause dialog: its box onto the Canvas, the marker of the choice onto the back buffer only.
inline constexpr Placement kPauseBox{{20, 400, 324, 450}, 168, 175};
inline constexpr Placement kQuitMarker{{348, 400, 440, 439}, 214, 230};
inline constexpr Placement kGoOnMarker{{446, 400, 538, 439}, 344, 230};

// --- "DATA2.DAT", the stage labels and the high-score banner ---

// The top-left region of the sheet cut into the stage label sheet, and that sheet's size.
inline constexpr Rect kStageLabelCut{0, 0, 162, 89};
inline constexpr int16_t kStageLabelSheetWidth = 165;
inline constexpr int16_t kStageLabelSheetHeight = 90;

// The label of each stage, in the stage label sheet, drawn at the top left of the field.
inline constexpr std::array<Rect, kStageCount> kStageLabels = {{
    {0, 0, 151, 22},
    {0, 22, 79, 44},
    {80, 22, 160, 44},
    {0, 44, 80, 66},
    {80, 44, 161, 66},
    {0, 66, 80, 88},
}};
inline constexpr int16_t kStageLabelX = 10;
inline constexpr int16_t kStageLabelY = 10;
inline constexpr Placement kHighScoreBanner{{0, 90, 616, 166}, 12, 12};

// --- The enemy pictures ---

inline constexpr int16_t kEnemyWidth = 50;
inline constexpr int16_t kEnemyHeight = 40;
inline constexpr Rect kEnemyRect{0, 0, kEnemyWidth, kEnemyHeight};

// --- Where the score digits go ---

// In play: eight digits, the least significant at x 615, each 16 pixels left of the one before.
inline constexpr int16_t kScoreDigitsRightX = 615;
inline constexpr int16_t kScoreDigitsY = 10;
inline constexpr int kScoreDigitCount = 8;

// On the high-score screen: five rows of eight digits, right-aligned at x 380.
inline constexpr int16_t kHighScoreDigitsRightX = 380;
inline constexpr int16_t kHighScoreFirstRowY = 150;
inline constexpr int16_t kHighScoreRowStep = 50;

// Every rectangle the game draws from one source file, for checking a player's data.
struct AssetRect {
  AssetIndex asset;
  Rect rect;
  const char* what;
};

// The rectangle the ten digits are cut from, as one.
inline constexpr Rect DigitCutSpan() {
  return Rect{kDigitCut.left, kDigitCut.top, kDigitCut.right + 9 * kDigitStride, kDigitCut.bottom};
}

inline constexpr std::array<AssetRect, 12> kSheetRects = {{
    {kAssetData, kMenuLabels[0].source, "menu label: play"},
    {kAssetData, kMenuLabels[1].source, "menu label: second entry"},
    {kAssetData, kMenuLabels[2].source, "menu label: high scores"},
    {kAssetData, kMenuLabels[3].source, "menu label: exit"},
    {kAssetData, DigitCutSpan(), "digits 0 to 9"},
    {kAssetData, kClearBanner.source, "stage-clear banner"},
    {kAssetData, kDeathBanner.source, "death banner"},
    {kAssetData, kPauseBox.source, "pause dialog box"},
    {kAssetData, kQuitMarker.source, "pause marker: quit"},
    {kAssetData, kGoOnMarker.source, "pause marker: go on"},
    {kAssetData2, kStageLabelCut, "stage labels"},
    {kAssetData2, kHighScoreBanner.source, "high-score banner"},
}};

}  // namespace coilrun
