// The stage backgrounds with their walls, and the stage intro pictures.
#include <algorithm>
#include <array>
#include <string>

#include "art.h"
#include "artwork.h"
#include "content/assets.h"
#include "game/play_state.h"

namespace coilrun {
namespace {

struct StageTheme {
  const char* name;
  std::array<Rgb, 4> ground;  // dark to light
  Rgb frame;                  // the border outside the field
  const char* hint;           // the intro's line under what a stage asks and pays
};

constexpr StageTheme kThemes[kStageCount] = {
    {"THE MEADOW",
     {{{46, 96, 44}, {60, 118, 52}, {76, 136, 60}, {96, 154, 70}}},
     {28, 58, 30},
     "LEFT AND RIGHT TURN"},
    {"DRY DUNES",
     {{{176, 136, 86}, {198, 160, 104}, {216, 182, 122}, {232, 202, 144}}},
     {120, 86, 52},
     "A LITTLE FASTER NOW"},
    {"STONE COURT",
     {{{84, 82, 92}, {104, 102, 112}, {124, 122, 130}, {146, 144, 150}}},
     {50, 48, 58},
     "BLUE WALLS BITE BACK"},
    {"MOSSY WOODS",
     {{{36, 50, 28}, {48, 66, 34}, {62, 82, 40}, {80, 100, 48}}},
     {30, 24, 18},
     "WEAVE AROUND THE LOGS"},
    {"EMBER FIELDS",
     {{{36, 28, 32}, {50, 40, 42}, {64, 50, 50}, {80, 62, 58}}},
     {24, 16, 18},
     "SLIP THROUGH THE GATES"},
    {"CRYSTAL DEEP",
     {{{34, 24, 52}, {46, 32, 68}, {60, 42, 86}, {76, 54, 104}}},
     {20, 14, 34},
     "THE LAST AND RICHEST"},
};

const StageTheme& ThemeOf(int stage) {
  return kThemes[std::clamp(stage, 0, kStageCount - 1)];
}

// Where the high-score screen shows its digits over the last stage's background: kept calm.
constexpr Box kHighScoreDigits{kHighScoreDigitsRightX - 16 * (kScoreDigitCount - 1) - 12,
                               kHighScoreFirstRowY - 12, 16 * kScoreDigitCount + 24,
                               4 * kHighScoreRowStep + 46};

Rgb Darker(Rgb c, int num, int den) {
  return MixColour(c, kBlack, num, den);
}
Rgb Lighter(Rgb c, int num, int den) {
  return MixColour(c, kWhite, num, den);
}

void PaintGround(Picture& p, const StageTheme& theme, uint32_t seed, int cell) {
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      // Chunky 2x2 grain over broad patches.
      const int broad = SmoothNoise(x + 1000, y + 1000, cell, seed);
      const int grain = static_cast<int>(HashPoint(x / 2, y / 2, seed + 1) % 64) - 32;
      SetPixel(p, x, y, PickFromRamp(theme.ground.data(), 4, broad + grain, x / 2, y / 2));
    }
  }
}

void DrawTufts(Picture& p, const StageTheme& theme, uint32_t seed, int count, Rgb blade) {
  Noise noise{seed};
  for (int i = 0; i < count; ++i) {
    const int x = NoiseBelow(noise, 640), y = NoiseBelow(noise, 480), tall = 3 + NoiseBelow(noise, 3);
    const Rgb colour = NoiseBelow(noise, 2) == 0 ? blade : theme.ground[0];
    DrawLine(p, x, y, x - 2, y - tall, colour);
    DrawLine(p, x + 1, y, x + 1, y - tall - 1, colour);
    DrawLine(p, x + 2, y, x + 4, y - tall + 1, colour);
  }
}

void DrawFlowers(Picture& p, uint32_t seed, int count) {
  static constexpr Rgb kPetals[] = {{250, 226, 90}, {238, 236, 226}, {240, 140, 180}, {190, 150, 240}};
  Noise noise{seed};
  for (int i = 0; i < count; ++i) {
    const int x = NoiseBelow(noise, 640), y = NoiseBelow(noise, 480);
    const Rgb petal = kPetals[NoiseBelow(noise, 4)];
    for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) SetPixel(p, x + dx, y + dy, petal);
    SetPixel(p, x, y, Rgb{236, 150, 40});
    SetPixel(p, x + 1, y + 2, Rgb{40, 84, 36});
  }
}

void DrawRipples(Picture& p, const StageTheme& theme) {
  for (int x = 0; x < p.width; ++x) {
    for (int band = -40; band < p.height + 40; band += 22) {
      const int y = band + SineQ(x * 180 + band * 900) * 6 / 32767 + SineQ(x * 47) * 3 / 32767;
      SetPixel(p, x, y, theme.ground[0]);
      SetPixel(p, x, y + 1, theme.ground[3]);
    }
  }
}

void DrawPebbles(Picture& p, uint32_t seed, int count, Rgb stone) {
  Noise noise{seed};
  for (int i = 0; i < count; ++i) {
    const int x = NoiseBelow(noise, 640), y = NoiseBelow(noise, 480);
    const int w = 3 + NoiseBelow(noise, 4), h = 2 + NoiseBelow(noise, 3);
    FillEllipse(p, x, y + 1, w, h, Darker(stone, 1, 2));
    FillEllipse(p, x, y, w, h, stone);
    SetPixel(p, x + 1, y, Lighter(stone, 1, 2));
  }
}

void DrawCobbles(Picture& p, const StageTheme& theme) {
  const Rgb mortar = Darker(theme.ground[0], 1, 3);
  for (int row = 0; row * 20 < p.height; ++row) {
    const int offset = (row % 2) * 20;
    for (int left = -offset; left < p.width; left += 40) {
      const uint32_t h = HashPoint(left, row, 77);
      const Rgb stone = theme.ground[h % 4];
      FillRect(p, left, row * 20, 40, 20, mortar);
      FillRect(p, left + 2, row * 20 + 2, 37, 17, stone);
      FillRect(p, left + 2, row * 20 + 2, 37, 1, Lighter(stone, 1, 4));
      FillRect(p, left + 2, row * 20 + 2, 1, 17, Lighter(stone, 1, 6));
      FillRect(p, left + 2, row * 20 + 18, 37, 1, Darker(stone, 1, 4));
      for (int i = 0; i < 6; ++i) {
        const uint32_t speck = HashPoint(left + i, row * 7 + i, 91);
        SetPixel(p, left + 4 + static_cast<int>(speck % 33),
                 row * 20 + 4 + static_cast<int>((speck >> 8) % 13), Darker(stone, 1, 6));
      }
      if (h % 9 == 0) {  // a crack, jagged across the stone
        int cx = left + 8 + static_cast<int>((h >> 4) % 20), cy = row * 20 + 3;
        for (int step = 0; step < 3; ++step) {
          const int nx = cx + static_cast<int>((h >> (8 + 3 * step)) % 7) - 3, ny = cy + 5;
          DrawLine(p, cx, cy, nx, ny, Darker(stone, 1, 3));
          cx = nx;
          cy = ny;
        }
      }
    }
  }
}

void DrawLeaves(Picture& p, uint32_t seed, int count) {
  static constexpr Rgb kLeaves[] = {{204, 112, 40}, {222, 178, 60}, {150, 62, 40}, {110, 140, 50}};
  Noise noise{seed};
  for (int i = 0; i < count; ++i) {
    const int x = NoiseBelow(noise, 640), y = NoiseBelow(noise, 480);
    const Rgb leaf = kLeaves[NoiseBelow(noise, 4)];
    const bool wide = NoiseBelow(noise, 2) == 0;
    FillEllipse(p, x + 1, y + 1, wide ? 7 : 4, wide ? 4 : 7, Rgb{24, 30, 16});
    FillEllipse(p, x, y, wide ? 7 : 4, wide ? 4 : 7, leaf);
    if (wide) {
      DrawLine(p, x + 1, y + 2, x + 5, y + 2, Darker(leaf, 1, 3));
    } else {
      DrawLine(p, x + 2, y + 1, x + 2, y + 5, Darker(leaf, 1, 3));
    }
  }
}

void DrawMushrooms(Picture& p, uint32_t seed, int count) {
  Noise noise{seed};
  for (int i = 0; i < count; ++i) {
    const int x = NoiseBelow(noise, 600) + 20, y = NoiseBelow(noise, 440) + 20;
    FillRect(p, x + 3, y + 4, 4, 6, Rgb{220, 206, 180});
    FillEllipse(p, x - 1, y - 1, 12, 8, Rgb{60, 20, 20});
    FillEllipse(p, x, y, 10, 7, Rgb{206, 52, 44});
    SetPixel(p, x + 3, y + 2, Rgb{240, 228, 210});
    SetPixel(p, x + 6, y + 1, Rgb{240, 228, 210});
    SetPixel(p, x + 7, y + 4, Rgb{240, 228, 210});
  }
}

void DrawEmbers(Picture& p, uint32_t seed, int count) {
  const Rgb halo{110, 36, 28}, glow{234, 104, 36}, core{255, 206, 96};
  Noise noise{seed};
  for (int i = 0; i < count; ++i) {
    int x = NoiseBelow(noise, 640), y = NoiseBelow(noise, 480);
    const int length = 6 + NoiseBelow(noise, 10);
    for (int step = 0; step < length; ++step) {
      const int nx = x + NoiseBelow(noise, 9) - 4, ny = y + NoiseBelow(noise, 9) - 4;
      for (int pass = 0; pass < 3; ++pass) {
        const Rgb colour = pass == 0 ? halo : pass == 1 ? glow : core;
        const int grow = 2 - pass;
        if (pass == 2 && step % 3 != 0) continue;
        for (int d = -grow / 2; d <= grow / 2; ++d) DrawLine(p, x + d, y, nx + d, ny, colour);
      }
      x = nx;
      y = ny;
    }
  }
}

void DrawCrystals(Picture& p, uint32_t seed, int count, Box keepClear) {
  static constexpr Rgb kCrystals[][3] = {{{120, 40, 130}, {206, 90, 200}, {246, 190, 240}},
                                         {{30, 110, 120}, {70, 196, 196}, {190, 246, 236}}};
  Noise noise{seed};
  for (int i = 0; i < count; ++i) {
    const int x = NoiseBelow(noise, 620) + 10, y = NoiseBelow(noise, 450) + 20;
    const auto& shades = kCrystals[NoiseBelow(noise, 2)];
    if (keepClear.Contains(x, y)) continue;
    for (int shard = 0; shard < 3; ++shard) {
      const int sx = x + shard * 5 - 5, tall = 8 + NoiseBelow(noise, 8), lean = NoiseBelow(noise, 5) - 2;
      for (int row = 0; row < tall; ++row) {
        const int half = std::min(3, (row + 1) / 2);
        const int cx = sx + lean * (tall - row) / tall;
        FillRect(p, cx - half - 1, y - row, 2 * half + 3, 1, Rgb{20, 12, 30});
        FillRect(p, cx - half, y - row, half + 1, 1, shades[1]);
        FillRect(p, cx + 1, y - row, half, 1, shades[0]);
      }
      SetPixel(p, sx + lean, y - tall + 1, shades[2]);
    }
  }
}

void DrawFieldBorder(Picture& p, const StageTheme& theme) {
  const Rgb rim = Darker(theme.frame, 1, 2), edge = Lighter(theme.frame, 1, 3);
  FillRect(p, 0, 0, 640, kFieldTop, theme.frame);
  FillRect(p, 0, kFieldBottom, 640, 480 - kFieldBottom, theme.frame);
  FillRect(p, 0, 0, kFieldLeft, 480, theme.frame);
  FillRect(p, kFieldRight, 0, 640 - kFieldRight, 480, theme.frame);
  // A dark outer rim, and a light line where the field begins.
  for (int i = 0; i < 2; ++i) {
    FillRect(p, i, i, 640 - 2 * i, 1, rim);
    FillRect(p, i, 479 - i, 640 - 2 * i, 1, rim);
    FillRect(p, i, i, 1, 480 - 2 * i, rim);
    FillRect(p, 639 - i, i, 1, 480 - 2 * i, rim);
  }
  FillRect(p, kFieldLeft - 1, kFieldTop - 1, kFieldRight - kFieldLeft + 2, 1, edge);
  FillRect(p, kFieldLeft - 1, kFieldBottom, kFieldRight - kFieldLeft + 2, 1, edge);
  FillRect(p, kFieldLeft - 1, kFieldTop - 1, 1, kFieldBottom - kFieldTop + 2, edge);
  FillRect(p, kFieldRight, kFieldTop - 1, 1, kFieldBottom - kFieldTop + 2, edge);
  for (int x = 40; x < 640; x += 80) {
    FillRect(p, x, 4, 2, 2, edge);
    FillRect(p, x, 474, 2, 2, edge);
  }
}

bool InsideWall(const std::vector<WallRect>& walls, int x, int y) {
  return std::any_of(walls.begin(), walls.end(), [x, y](const WallRect& w) { return w.Contains(x, y); });
}

void DrawWalls(Picture& p, const std::vector<WallRect>& walls) {
  // A soft shadow down and to the right, a dark rim, then the wall itself in the exact body colour.
  Picture shaded = p;
  for (const WallRect& w : walls) {
    for (int y = w.y + 5; y < w.y + w.height + 5; ++y) {
      for (int x = w.x + 5; x < w.x + w.width + 5; ++x)
        SetPixel(shaded, x, y, Darker(GetPixel(p, x, y), 2, 5));
    }
  }
  p = shaded;
  for (const WallRect& w : walls) FillRect(p, w.x - 2, w.y - 2, w.width + 4, w.height + 4, Rgb{16, 26, 86});
  for (const WallRect& w : walls) FillRect(p, w.x, w.y, w.width, w.height, kWallColour);
}

// Moves every colour that would pack to the body colour by accident just out of its reach.
void KeepBodyColourForWalls(Picture& p, const std::vector<WallRect>& walls) {
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      Rgb c = GetPixel(p, x, y);
      if (PacksToBodyColour(c) && !InsideWall(walls, x, y)) {
        c.b = 240;
        SetPixel(p, x, y, c);
      }
    }
  }
}

Rgb NearestOf(const std::vector<Rgb>& choices, Rgb c) {
  const auto distance = [c](Rgb o) {
    return (c.r - o.r) * (c.r - o.r) + (c.g - o.g) * (c.g - o.g) + (c.b - o.b) * (c.b - o.b);
  };
  return *std::min_element(choices.begin(), choices.end(),
                           [&](Rgb a, Rgb b) { return distance(a) < distance(b); });
}

// The stage's background at a quarter of its size, in a handful of its colours, with the start marked.
void DrawMiniMap(Picture& p, int x, int y, int stage) {
  const StageTheme& theme = ThemeOf(stage);
  const Picture background = DrawStageBackground(stage);
  const std::vector<Rgb> colours = {theme.ground[0],          theme.ground[1], theme.ground[2],
                                    theme.ground[3],          theme.frame,     kWallColour,
                                    Darker(theme.frame, 1, 2)};
  FillRect(p, x - 3, y - 3, 166, 126, kInk);
  FillRect(p, x - 2, y - 2, 164, 124, kPanelFrame);
  for (int row = 0; row < 120; ++row) {
    for (int column = 0; column < 160; ++column) {
      SetPixel(p, x + column, y + row, NearestOf(colours, GetPixel(background, column * 4 + 2, row * 4 + 2)));
    }
  }
  // The snake at the start, heading right.
  for (int i = 0; i < 3; ++i) FillRect(p, x + 74 + 3 * i, y + 60, 3, 3, kWallColour);
  FillRect(p, x + 83, y + 59, 4, 5, kWallColour);
  for (int i = 0; i < 4; ++i) FillRect(p, x + 91 + i * 4, y + 61, 2, 1, kCreamTop);
  DrawLine(p, x + 105, y + 58, x + 108, y + 61, kCreamTop);
  DrawLine(p, x + 105, y + 64, x + 108, y + 61, kCreamTop);
}

}  // namespace

std::vector<WallRect> StageWalls(int stage) {
  switch (stage) {
    case 2:  // two rails above and below the start
      return {{120, 110, 400, 16}, {120, 354, 400, 16}};
    case 3:  // fallen logs every which way
      return {{70, 80, 150, 16},  {300, 50, 16, 120},  {440, 110, 140, 16}, {150, 200, 16, 130},
              {90, 400, 170, 16}, {330, 330, 16, 110}, {450, 300, 130, 16}};
    case 4:  // two fences with a gate each, across the way of the start
      return {{200, 40, 16, 160},  {200, 290, 16, 150}, {424, 40, 16, 160},
              {424, 290, 16, 150}, {60, 150, 90, 16},   {490, 314, 90, 16}};
    case 5:  // a keep with a gate in the middle of each side, clear of the high-score digits
      return {{100, 100, 150, 16}, {390, 100, 150, 16}, {100, 400, 150, 16}, {390, 400, 150, 16},
              {100, 100, 16, 100}, {100, 300, 16, 116}, {524, 100, 16, 100}, {524, 300, 16, 116}};
    default:
      return {};
  }
}

Picture DrawStageBackground(int stage) {
  const StageTheme& theme = ThemeOf(stage);
  Picture p = MakePicture(640, 480, theme.ground[1]);
  const uint32_t seed = 0xC011u + static_cast<uint32_t>(stage) * 7919u;
  switch (stage) {
    case 0:
      PaintGround(p, theme, seed, 48);
      DrawTufts(p, theme, seed + 2, 900, theme.ground[3]);
      DrawFlowers(p, seed + 3, 160);
      break;
    case 1:
      PaintGround(p, theme, seed, 64);
      DrawRipples(p, theme);
      DrawPebbles(p, seed + 2, 70, Rgb{150, 124, 100});
      DrawTufts(p, theme, seed + 3, 60, Rgb{140, 120, 60});
      break;
    case 2:
      DrawCobbles(p, theme);
      break;
    case 3:
      PaintGround(p, theme, seed, 40);
      DrawTufts(p, theme, seed + 2, 500, theme.ground[3]);
      DrawLeaves(p, seed + 3, 260);
      DrawMushrooms(p, seed + 4, 14);
      break;
    case 4:
      PaintGround(p, theme, seed, 32);
      DrawPebbles(p, seed + 2, 90, Rgb{90, 80, 84});
      DrawEmbers(p, seed + 3, 40);
      break;
    default:
      PaintGround(p, theme, seed, 56);
      DrawStars(p, Box{10, 10, 620, 460}, 260, seed + 2);
      DrawCrystals(p, seed + 3, 40, kHighScoreDigits);
      break;
  }
  const std::vector<WallRect> walls = StageWalls(stage);
  DrawWalls(p, walls);
  DrawFieldBorder(p, theme);
  KeepBodyColourForWalls(p, walls);
  return p;
}

Picture DrawStageIntro(int stage) {
  const StageTheme& theme = ThemeOf(stage);
  Picture p = MakePicture(640, 480, kBlack);
  const std::string title = "STAGE " + std::to_string(stage + 1);
  const TextStyle titleStyle = TitleStyle(10), nameStyle = Recoloured(TitleStyle(4), kCreamTop, kCreamBottom);
  FillGradient(p, 0, 0, 640, 480, Darker(theme.frame, 1, 2), Darker(theme.ground[2], 1, 3), 6);
  DrawStars(p, Box{0, 0, 640, 190}, 70, 0xA11u + static_cast<uint32_t>(stage),
            {CentredTextBox(320, 30, title, titleStyle), CentredTextBox(320, 134, theme.name, nameStyle)});
  DrawHills(p, 430, Darker(theme.ground[0], 1, 2), theme.ground[0], theme.ground[2],
            0x1B7u + static_cast<uint32_t>(stage));
  DrawTextCentred(p, 320, 30, title, titleStyle);
  DrawTextCentred(p, 320, 134, theme.name, nameStyle);

  DrawFramedPanel(p, 40, 196, 560, 180, kPanelFrame, kPanelFill);
  DrawMiniMap(p, 66, 226, stage);
  const TextStyle hint = PlainStyle(2);
  // What the stage asks and pays, as the game's stage table has it.
  const StageRow& row = StageTable[static_cast<size_t>(std::clamp(stage, 0, kStageCount - 1))];
  const std::array<std::string, 3> hints = {"EAT " + std::to_string(row.EnemiesToClear) + " CREATURES",
                                            "EACH ONE IS WORTH " + std::to_string(row.PointsPerEnemy),
                                            theme.hint};
  for (int i = 0; i < 3; ++i) DrawText(p, 252, 236 + i * 44, hints[static_cast<size_t>(i)], hint);
  // The prey beside the first hint.
  const int preyX = 252 + TextWidth(hints[0], hint) + 14;
  PastePicture(p, DrawEnemy(0), preyX, 224, kWhite);
  PastePicture(p, DrawEnemy(1), preyX + 56, 224, kWhite);
  DrawTextCentred(p, 320, 430, "PRESS ANY KEY", TitleStyle(3));
  return p;
}

}  // namespace coilrun
