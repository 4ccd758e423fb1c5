// The high-score table: the record in "SCORE.DAT", saved in place under a lock, and the high-score screen.
#include "game/score_table.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "content/assets.h"
#include "devices/failure.h"
#include "content/shared_sprites.h"
#include "devices/window.h"
#include "devices/file_device.h"
#include "devices/input_record.h"
#include "display/display.h"
#include "images/images.h"

namespace coilrun {

std::array<uint8_t, kScoreFileSize> ScoreFile{};

namespace {

// Whether a read or save of the table failed in this run, and the scores recorded in this run that the file
// has not taken yet: put back into every table read from the file, so that none is lost from the screen.
bool scoreFileFailed = false;
std::vector<int32_t> unsavedScores;

void ReportFailure(const char* doing, const std::string& why) {
  std::fprintf(stderr, "coilrun: cannot %s %s: %s\n", doing, kScoreFileName, why.c_str());
  scoreFileFailed = true;
}

// Opens the file, takes its lock and reads the record over ScoreFile: the open handle, holding the lock.
// -1, with ScoreFile untouched, when the file is missing (`why` left empty: the table then lives in memory,
// as designed) or a step failed (`why` set, nothing kept open).
int OpenLockedAndRead(std::string* why) {
  bool missing = false;
  const int handle = DeviceOpenRecord(kScoreFileName, &missing, why);
  if (handle < 0) {
    if (missing) why->clear();
    return -1;
  }
  std::array<uint8_t, kScoreFileSize> record;
  size_t got = 0;
  if (DeviceLockRecord(handle, why) && DeviceReadRecord(handle, record.data(), record.size(), &got, why)) {
    std::copy(record.begin(), record.begin() + static_cast<std::ptrdiff_t>(got), ScoreFile.begin());
    return handle;
  }
  DeviceCloseRecord(handle);
  return -1;
}

int32_t ReadLe32(const uint8_t* p) {
  return static_cast<int32_t>(uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) |
                              (uint32_t{p[3]} << 24));
}

void WriteLe32(uint8_t* p, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(bits >> (8 * i));
}

void SetTopScore(int place, int32_t score) {
  WriteLe32(ScoreFile.data() + kScoreTableOffset + 4 * place, score);
}

void InsertScore(int32_t score) {
  for (int place = 0; place < kScoreTablePlaces; ++place) {
    if (TopScore(place) <= score) {
      for (int below = kScoreTablePlaces - 1; below > place; --below) SetTopScore(below, TopScore(below - 1));
      SetTopScore(place, score);
      return;
    }
  }
}

void InsertUnsavedScores() {
  for (int32_t score : unsavedScores) InsertScore(score);
}

void DrawScoreRow(int place) {
  // A score edited to be negative shows as 0; the game never writes one.
  int32_t value = TopScore(place) < 0 ? 0 : TopScore(place);
  const auto y = static_cast<int16_t>(kHighScoreFirstRowY + kHighScoreRowStep * place);
  for (int k = 0; k < kScoreDigitCount; ++k) {
    const auto x = static_cast<int16_t>(kHighScoreDigitsRightX - kDigitStride * k);
    BlitToCanvasKeyed(DigitSprites[static_cast<size_t>(value % 10)], x, y, kDigitRect.left, kDigitRect.top,
                      kDigitRect.right, kDigitRect.bottom);
    value /= 10;
  }
}

}  // namespace

int32_t TopScore(int place) {
  return ReadLe32(ScoreFile.data() + kScoreTableOffset + 4 * place);
}

void ReadScoreFile() {
  std::string why;
  const int handle = OpenLockedAndRead(&why);
  if (handle >= 0) {
    DeviceCloseRecord(handle);
    InsertUnsavedScores();
  } else if (!why.empty()) {
    ReportFailure("read", why);
  }
}

void RecordScore(int32_t score) {
  std::string why;
  const int handle = OpenLockedAndRead(&why);
  unsavedScores.push_back(score);
  if (handle < 0) {
    // Nothing was read: ScoreFile still holds every score of the run.
    InsertScore(score);
    if (!why.empty()) ReportFailure("save", why);
    return;
  }
  InsertUnsavedScores();
  // A replay reports the table it would have written and leaves the player's file alone.
  if (Replaying()) {
    DeviceCloseRecord(handle);
    return;
  }
  // Every byte but the table's is written back as it was just read; the table lies in the first sector,
  // so a power cut at any moment leaves the old table or the new one.
  const bool saved =
      DeviceWriteRecord(handle, ScoreFile.data(), ScoreFile.size(), &why) && DeviceFlushRecord(handle, &why);
  DeviceCloseRecord(handle);
  if (saved) {
    unsavedScores.clear();
  } else {
    ReportFailure("save", why);
  }
}

bool ScoreFileFailed() {
  return scoreFileFailed;
}
void ForgetScoreFileFailure() {
  scoreFileFailed = false;
  unsavedScores.clear();
}

int RunHighScoreScreen() {
  ReadScoreFile();
  Surface* background = nullptr;
  if (!LoadAsset(static_cast<AssetIndex>(kAssetBg00 + 5), &background)) return 0;
  Surface* sheet = nullptr;
  if (!LoadAsset(kAssetData2, &sheet)) {
    ReleaseSurface(background);
    return 0;
  }
  SetSourceColorKey(sheet, PackColor(0, 0, 0));
  BlitPlacementToCanvas(background, kFullScreen, false);
  BlitPlacementToCanvas(sheet, kHighScoreBanner, true);
  ReleaseSurface(sheet);
  ReleaseSurface(background);
  for (int place = 0; place < kScoreTablePlaces; ++place) DrawScoreRow(place);
  PresentFrame();
  WaitForAnyKey();
  return 1;
}

}  // namespace coilrun
