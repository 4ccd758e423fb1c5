// The data checker: every file loaded as the game loads it, then tested for what the game draws from it and
// for the colour that the game treats as an obstacle.
#include "check.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "content/assets.h"
#include "dataset.h"
#include "devices/data_file.h"
#include "devices/sound.h"
#include "display/display.h"
#include "images/images.h"
#include "platform/memory/memory_files.h"

namespace coilrun {
namespace {

// The start position, the straight run from it that must be clear, and the head's size.
constexpr int kStartX = 320, kStartY = 240, kStartRun = 200, kHeadSize = 12;
// Enemy places: x 10 to 579, y 10 to 429, each testing an inclusive box of 51x41.
constexpr int kEnemyMinX = 10, kEnemyMinY = 10, kEnemyPlacesX = 570, kEnemyPlacesY = 420;
constexpr int kEnemyBoxWidth = 51, kEnemyBoxHeight = 41;
// Of all enemy places, at least this many percent must be free of walls.
constexpr int kMinFreePlacesPercent = 25;
constexpr int kWallThickness = 16;

std::string Describe(const Rect& r) {
  char text[64];
  std::snprintf(text, sizeof text, "(%d, %d)-(%d, %d)", static_cast<int>(r.left), static_cast<int>(r.top),
                static_cast<int>(r.right), static_cast<int>(r.bottom));
  return text;
}

// The problems found in one file, reported as one line.
struct Findings {
  std::vector<std::string> problems;
  void Add(const std::string& problem) { problems.push_back(problem); }
};

// Counts of a 0/1 mask over any rectangle in constant time.
class BoxSums {
 public:
  BoxSums(const std::vector<uint8_t>& mask, int width, int height)
      : width_(width), sums_(static_cast<size_t>((width + 1) * (height + 1)), 0) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        At(x + 1, y + 1) = mask[static_cast<size_t>(y * width + x)] + At(x, y + 1) + At(x + 1, y) - At(x, y);
      }
    }
  }
  // The count over x0 <= x < x1, y0 <= y < y1.
  int Sum(int x0, int y0, int x1, int y1) const {
    return Get(x1, y1) - Get(x0, y1) - Get(x1, y0) + Get(x0, y0);
  }

 private:
  int& At(int x, int y) { return sums_[static_cast<size_t>(y * (width_ + 1) + x)]; }
  int Get(int x, int y) const { return sums_[static_cast<size_t>(y * (width_ + 1) + x)]; }
  int width_;
  std::vector<int> sums_;
};

std::vector<uint8_t> BodyMask(const Surface& s, uint16_t body) {
  std::vector<uint8_t> mask(s.pixels.size());
  for (size_t i = 0; i < mask.size(); ++i) mask[i] = s.pixels[i] == body ? 1 : 0;
  return mask;
}

bool CoversRect(const Surface& s, const Rect& r) {
  return s.width >= r.right && s.height >= r.bottom;
}

void CheckSize(const Surface& s, const Rect& r, const char* what, Findings& f) {
  if (CoversRect(s, r)) return;
  f.Add(std::to_string(s.width) + "x" + std::to_string(s.height) + ", too small for " + what + " " +
        Describe(r));
}

// A picture drawn with a colour key must show something in each rectangle drawn from it.
void CheckVisible(const Surface& s, const Rect& r, uint16_t key, const char* what, Findings& f) {
  if (!CoversRect(s, r)) return;
  for (int32_t y = r.top; y < r.bottom; ++y) {
    for (int32_t x = r.left; x < r.right; ++x) {
      if (s.pixels[static_cast<size_t>(y * s.width + x)] != key) return;
    }
  }
  f.Add(std::string(what) + " " + Describe(r) + " is all transparent");
}

// Sprites drawn into the field must not hold the body colour: the snake would die on them.
void CheckNoBodyColour(const Surface& s, const Rect& r, uint16_t body, const char* what, Findings& f) {
  if (!CoversRect(s, r)) return;
  for (int32_t y = r.top; y < r.bottom; ++y) {
    for (int32_t x = r.left; x < r.right; ++x) {
      if (s.pixels[static_cast<size_t>(y * s.width + x)] == body) {
        f.Add(std::string(what) + ": a pixel of the body colour at (" + std::to_string(x) + ", " +
              std::to_string(y) + ")");
        return;
      }
    }
  }
}

// Walls are whole blocks of the body colour: every such pixel must lie in a solid square as thick as a
// wall must be, or the head could slip through it, or it is an accident of the drawing.
void CheckWallsSolid(const BoxSums& sums, const std::vector<uint8_t>& mask, int width, int height,
                     Findings& f) {
  const int side = kWallThickness;
  std::vector<uint8_t> solid(mask.size(), 0);
  for (int y = 0; y + side <= height; ++y) {
    for (int x = 0; x + side <= width; ++x) {
      if (sums.Sum(x, y, x + side, y + side) == side * side) solid[static_cast<size_t>(y * width + x)] = 1;
    }
  }
  const BoxSums solidSums(solid, width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (mask[static_cast<size_t>(y * width + x)] == 0) continue;
      if (solidSums.Sum(std::max(0, x - side + 1), std::max(0, y - side + 1), x + 1, y + 1) > 0) continue;
      f.Add("stray pixel of the body colour at (" + std::to_string(x) + ", " + std::to_string(y) +
            "): walls must be solid and at least " + std::to_string(side) + " pixels thick");
      return;
    }
  }
}

void CheckBackground(const Surface& s, int stage, uint16_t body, Findings& f) {
  if (!CoversRect(s, ScreenRect)) return;
  // Only the part the game draws counts.
  Surface screen;
  screen.width = kScreenWidth;
  screen.height = kScreenHeight;
  screen.pixels.resize(kCanvasPixelCount);
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      screen.pixels[static_cast<size_t>(y * kScreenWidth + x)] =
          s.pixels[static_cast<size_t>(y * s.width + x)];
    }
  }
  const std::vector<uint8_t> mask = BodyMask(screen, body);
  const BoxSums sums(mask, kScreenWidth, kScreenHeight);
  const int total = sums.Sum(0, 0, kScreenWidth, kScreenHeight);
  if (total == 0) return;
  if (stage < 2) {
    f.Add(std::to_string(total) + " pixels of the body colour: the first two stages have no walls");
    return;
  }
  CheckWallsSolid(sums, mask, kScreenWidth, kScreenHeight, f);
  if (sums.Sum(kStartX, kStartY, kStartX + kStartRun + kHeadSize, kStartY + kHeadSize) > 0) {
    f.Add("a wall lies in the first " + std::to_string(kStartRun) +
          " pixels of the straight run from the start");
  }
  int free = 0;
  for (int y = kEnemyMinY; y < kEnemyMinY + kEnemyPlacesY; ++y) {
    for (int x = kEnemyMinX; x < kEnemyMinX + kEnemyPlacesX; ++x) {
      if (sums.Sum(x, y, x + kEnemyBoxWidth, y + kEnemyBoxHeight) == 0) ++free;
    }
  }
  const int percent = free * 100 / (kEnemyPlacesX * kEnemyPlacesY);
  if (percent < kMinFreePlacesPercent) {
    f.Add("only " + std::to_string(percent) + "% of the enemy's places are clear of walls (at least " +
          std::to_string(kMinFreePlacesPercent) + "% needed)");
  }
}

void CheckSheet(const Surface& s, AssetIndex asset, Findings& f) {
  for (const AssetRect& r : kSheetRects) {
    if (r.asset != asset) continue;
    CheckSize(s, r.rect, r.what, f);
    CheckVisible(s, r.rect, PackColor(0, 0, 0), r.what, f);
  }
  const uint16_t body = PackColor(51, 102, 255);
  if (asset == kAssetData) {
    for (int d = 0; d < 10; ++d) {
      const std::string what = "digit " + std::to_string(d);
      const Rect cell{kDigitCut.left + d * kDigitStride, kDigitCut.top, kDigitCut.right + d * kDigitStride,
                      kDigitCut.bottom};
      CheckVisible(s, cell, PackColor(0, 0, 0), what.c_str(), f);
    }
    CheckNoBodyColour(s, DigitCutSpan(), body, "the digits", f);
    CheckNoBodyColour(s, kPauseBox.source, body, "the pause dialog box", f);
  } else {
    CheckNoBodyColour(s, kStageLabelCut, body, "the stage labels", f);
  }
}

void CheckPicture(const std::string& path, int index, Findings& f) {
  const bool pcx = index == kAssetData || index == kAssetData2 || index == kAssetLogo ||
                   (index >= kAssetStage00 && index < kAssetStage00 + kStageCount);
  Surface* s = pcx ? LoadPcxImage(path.c_str()) : LoadBitmapImage(path.c_str());
  if (s == nullptr) {
    const std::string why = DataFileFailure(path.c_str());
    f.Add(!why.empty() ? why
          : pcx        ? "cannot be loaded as a 256-colour PCX picture"
                       : "cannot be loaded as a Windows bitmap");
    return;
  }
  const uint16_t body = PackColor(51, 102, 255);
  if (index == kAssetData || index == kAssetData2) {
    CheckSheet(*s, static_cast<AssetIndex>(index), f);
  } else if (index == kAssetEnemy01 || index == kAssetEnemy02) {
    CheckSize(*s, kEnemyRect, "the enemy", f);
    CheckVisible(*s, kEnemyRect, PackColor(255, 255, 255), "the enemy", f);
    CheckNoBodyColour(*s, kEnemyRect, body, "the enemy", f);
  } else {
    CheckSize(*s, kFullScreen.source, "the full screen", f);
    if (index >= kAssetBg00 && index < kAssetBg00 + kStageCount)
      CheckBackground(*s, index - kAssetBg00, body, f);
  }
  ReleaseSurface(s);
}

uint32_t Read16(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (static_cast<uint32_t>(b[at + 1]) << 8);
}
uint32_t Read32(const std::vector<uint8_t>& b, size_t at) {
  return Read16(b, at) | (Read16(b, at + 2) << 16);
}

// The game plays every effect as 8-bit mono at 11025 samples per second, whatever the file says.
void CheckWaveFormat(const std::string& path, Findings& f) {
  std::vector<uint8_t> bytes(36, 0);
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return;
  const size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  if (got < bytes.size()) return;
  const uint32_t channels = Read16(bytes, 22), rate = Read32(bytes, 24), bits = Read16(bytes, 34);
  if (channels != 1 || rate != 11025 || bits != 8) {
    f.Add("holds " + std::to_string(bits) + "-bit samples, " + std::to_string(channels) + " channel(s) at " +
          std::to_string(rate) + " Hz, but is played as 8-bit mono at 11025 Hz");
  }
}

void CheckWave(const std::string& path, Findings& f) {
  FreeEffect();
  if (!LoadEffect(path.c_str())) {
    const std::string why = DataFileFailure(path.c_str());
    f.Add(!why.empty() ? why : "cannot be loaded as a PCM wave file");
  } else {
    CheckWaveFormat(path, f);
  }
  FreeEffect();
}

void CheckScoreFile(const std::string& path, Findings& f) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error) {
    f.Add("missing: scores would last one run only (coilrun-data make writes an empty table)");
  } else if (size != static_cast<uintmax_t>(kScoreFileSize)) {
    f.Add(std::to_string(size) + " bytes, not " + std::to_string(kScoreFileSize));
  }
}

bool Report(const char* name, const Findings& f, std::ostream& out) {
  out << name << ": ";
  if (f.problems.empty()) {
    out << "ok\n";
    return true;
  }
  for (size_t i = 0; i < f.problems.size(); ++i) out << (i > 0 ? "; " : "") << f.problems[i];
  out << "\n";
  return false;
}

}  // namespace

bool CheckDataSet(const std::string& dir, std::ostream& out) {
  if (!InitDisplay() || !InitSound()) {
    out << "cannot start the in-memory display and sound\n";
    return false;
  }
  const std::filesystem::path folder(dir);
  bool allGood = true;
  for (int index = 0; index < kAssetCount; ++index) {
    const char* name = AssetTable[static_cast<size_t>(index)];
    const std::string path = (folder / name).string();
    Findings f;
    // The game's loaders read over the in-memory device, which reads each file as the game's own device
    // does, within the bound its kind gives: a huge file is refused at once, unread.
    std::error_code ignored;
    MemoryPutDiskFile(path, path);
    if (!std::filesystem::exists(path, ignored)) {
      f.Add("missing");
    } else if (index >= kAssetClearWav) {
      CheckWave(path, f);
    } else {
      CheckPicture(path, index, f);
    }
    allGood = Report(name, f, out) && allGood;
  }
  Findings scores;
  CheckScoreFile((folder / kScoreFileName).string(), scores);
  allGood = Report(kScoreFileName, scores, out) && allGood;
  ReleaseSound();
  ReleaseDisplay();
  return allGood;
}

}  // namespace coilrun
