// The whole-program tests' data set, written with the tests' own file writers.
#include "game_data.h"

#include <map>

#include "content/assets.h"
#include "display/display.h"
#include "file_bytes.h"
#include "game/score_table.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_files.h"
#include "wave_files.h"

namespace coilrun {

namespace {

struct Sheet {
  int width;
  int height;
  std::vector<uint8_t> indices;
  void Fill(const Rect& r, uint8_t index) {
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) indices[static_cast<size_t>(y * width + x)] = index;
    }
  }
};

RgbPicture Plain(int width, int height, Rgb colour) {
  return RgbPicture{width, height, std::vector<Rgb>(static_cast<size_t>(width * height), colour)};
}

std::vector<uint8_t> DataSheet() {
  Sheet sheet{600, 460, std::vector<uint8_t>(600 * 460, kSheetBackground)};
  for (int entry = 0; entry < 4; ++entry)
    sheet.Fill(kMenuLabels[static_cast<size_t>(entry)].source, static_cast<uint8_t>(kLabelIndex + entry));
  for (int d = 0; d < 10; ++d) {
    sheet.Fill(Rect{kDigitCut.left + kDigitStride * d, kDigitCut.top, kDigitCut.right + kDigitStride * d,
                    kDigitCut.bottom},
               static_cast<uint8_t>(kDigitIndex + d));
  }
  sheet.Fill(kClearBanner.source, kBannerIndex);
  sheet.Fill(kDeathBanner.source, kBannerIndex + 1);
  sheet.Fill(kPauseBox.source, kPauseIndex);
  sheet.Fill(kQuitMarker.source, kPauseIndex + 1);
  sheet.Fill(kGoOnMarker.source, kPauseIndex + 2);
  return MakePcxPicture(600, 460, sheet.indices, DistinctPcxPalette());
}

std::vector<uint8_t> Data2Sheet() {
  Sheet sheet{620, 170, std::vector<uint8_t>(620 * 170, kSheetBackground)};
  for (int stage = 0; stage < kStageCount; ++stage) {
    sheet.Fill(kStageLabels[static_cast<size_t>(stage)], static_cast<uint8_t>(kStageLabelIndex + stage));
  }
  sheet.Fill(kHighScoreBanner.source, kHighScoreBannerIndex);
  return MakePcxPicture(620, 170, sheet.indices, DistinctPcxPalette());
}

std::vector<uint8_t> FullScreenPcx(uint8_t index) {
  return MakePcxPicture(640, 480, std::vector<uint8_t>(640 * 480, index), DistinctPcxPalette());
}

std::vector<uint8_t> Enemy(Rgb colour) {
  RgbPicture picture = Plain(kEnemyWidth, kEnemyHeight, kFileWhite);
  for (int y = 5; y < 35; ++y) {
    for (int x = 5; x < 45; ++x) picture.pixels[static_cast<size_t>(y * kEnemyWidth + x)] = colour;
  }
  return MakeBmpFile(picture, BmpVariant::kRgb24);
}

}  // namespace

uint16_t GameDataSheetColour(uint8_t index) {
  return PackColor(static_cast<uint8_t>((index & 31) * 8), static_cast<uint8_t>((index >> 5) * 4), 0);
}

Rgb GameDataBitmapColour(const std::string& name) {
  if (name == "MENU.DAT") return Rgb{16, 32, 64};
  // BG00 to BG05: dark, each its own.
  const int stage = name[3] - '0';
  return Rgb{static_cast<uint8_t>(8 * stage), 24, 16};
}

std::string ShownScreen() {
  const std::vector<uint16_t>& front = MemoryFrontPixels();
  if (front.empty()) return "";
  const auto at = [&](int x, int y) { return front[static_cast<size_t>(y * kScreenWidth + x)]; };
  if (at(12, 12) == GameDataSheetColour(kHighScoreBannerIndex)) return "high-scores";
  if (at(kClearBanner.x + 2, kClearBanner.y + 2) == GameDataSheetColour(kBannerIndex)) return "clear-banner";
  if (at(kDeathBanner.x + 2, kDeathBanner.y + 2) == GameDataSheetColour(kBannerIndex + 1))
    return "death-banner";
  const uint16_t corner = at(2, 2);
  if (corner == GameDataSheetColour(kPictureIndex)) return "logo";
  for (int stage = 0; stage < kStageCount; ++stage) {
    const std::string number = std::to_string(stage + 1);
    if (corner == GameDataSheetColour(static_cast<uint8_t>(kPictureIndex + 1 + stage)))
      return "intro-" + number;
    const Rgb bg = GameDataBitmapColour("BG0" + std::to_string(stage) + ".DAT");
    if (corner == PackColor(bg.red, bg.green, bg.blue)) return "play-" + number;
  }
  return "";
}

std::vector<uint8_t> GameDataSamples(const std::string& name) {
  for (int i = kAssetClearWav; i <= kAssetMenu3Wav; ++i) {
    if (name == AssetTable[static_cast<size_t>(i)]) {
      return std::vector<uint8_t>(static_cast<size_t>(100 + 10 * (i - kAssetClearWav)),
                                  static_cast<uint8_t>(i));
    }
  }
  return {};
}

namespace {

std::map<std::string, std::vector<uint8_t>> GameDataFiles(bool withScores) {
  std::map<std::string, std::vector<uint8_t>> files;
  for (int stage = 0; stage < kStageCount; ++stage) {
    const std::string bg = AssetTable[static_cast<size_t>(kAssetBg00 + stage)];
    // Half the stages are 24-bit bitmaps, half 8-bit palettised, so that both paths run.
    const BmpVariant variant = stage % 2 == 0 ? BmpVariant::kRgb24 : BmpVariant::kIndexed8;
    files[bg] = MakeBmpFile(Plain(640, 480, GameDataBitmapColour(bg)), variant);
    files[AssetTable[static_cast<size_t>(kAssetStage00 + stage)]] =
        FullScreenPcx(static_cast<uint8_t>(kPictureIndex + 1 + stage));
  }
  files["MENU.DAT"] = MakeBmpFile(Plain(640, 480, GameDataBitmapColour("MENU.DAT")), BmpVariant::kRgb24);
  files["LOGO.DAT"] = FullScreenPcx(kPictureIndex);
  files["DATA.DAT"] = DataSheet();
  files["DATA2.DAT"] = Data2Sheet();
  files["ENEMY01.DAT"] = Enemy(Rgb{200, 40, 40});
  files["ENEMY02.DAT"] = Enemy(Rgb{40, 200, 40});
  for (int i = kAssetClearWav; i <= kAssetMenu3Wav; ++i) {
    const std::string name = AssetTable[static_cast<size_t>(i)];
    files[name] = SimpleWave(GameDataSamples(name));
  }
  if (withScores) files["SCORE.DAT"] = std::vector<uint8_t>(kScoreFileSize, 0);
  return files;
}

}  // namespace

void WriteGameData(const std::filesystem::path& dir, bool withScores) {
  std::filesystem::create_directories(dir);
  for (const auto& [name, bytes] : GameDataFiles(withScores)) WriteFileBytes(dir / name, bytes);
}

void PutGameData(bool withScores) {
  for (const auto& [name, bytes] : GameDataFiles(withScores)) MemoryPutFile(name, bytes);
}

}  // namespace coilrun
