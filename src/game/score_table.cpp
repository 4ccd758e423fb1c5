// The high-score table: the record in "SCORE.DAT", saved in place under a lock, and the high-score screen.
#include "game/score_table.h"

#include <algorithm>
#include <string>
#include <vector>

#include "content/assets.h"
#include "content/shared_sprites.h"
#include "devices/clock_device.h"
#include "devices/failure.h"
#include "devices/file_device.h"
#include "devices/input_record.h"
#include "devices/window.h"
#include "devices/window_device.h"
#include "display/display.h"
#include "images/images.h"

namespace coilrun {

std::array<uint8_t, kScoreFileSize> ScoreFile{};

namespace {

// Whether a read or save of the table failed in this run, and the scores recorded in this run that the file
// has not taken yet: put back into every table read from the file, so that none is lost from the screen.
bool scoreFileFailed = false;
std::vector<int32_t> unsavedScores;
// Set when a save gave up waiting for another program's lock: the read of the screen that follows tries
// once, without a second wait or a second line.
bool lockJustGivenUp = false;

// How long a read or save waits in all for a lock that another program holds, and the pause between tries.
// Nothing waits inside the system for the lock, so a close request or a signal is seen at once.
constexpr int64_t kLockPatienceNs = 5'000'000'000;
constexpr int64_t kLockRetryNs = 20'000'000;
constexpr const char* kLockedWhy = "locked by another program";

void ReportTableFailure(const char* doing, const std::string& why) {
  ReportFailure(std::string("cannot ") + doing + " " + kScoreFileName, why);
  scoreFileFailed = true;
}

// Takes the file's lock, trying again while another program holds it, for kLockPatienceNs in all or until
// the window is asked to close (a signal included); `patient` false tries once. False, with the reason
// (kLockedWhy for a lock not had), when not taken.
bool TakeLock(int handle, bool exclusive, bool patient, std::string* why) {
  const int64_t start = DeviceClockNanoseconds();
  for (;;) {
    bool busy = false;
    if (DeviceTryLockRecord(handle, exclusive, &busy, why)) return true;
    if (!busy) return false;
    if (!patient || DeviceCloseRequested() || DeviceClockNanoseconds() - start >= kLockPatienceNs) {
      *why = kLockedWhy;
      return false;
    }
    DeviceSleepNanoseconds(kLockRetryNs);
  }
}

// Opens the file, takes its lock (exclusive for a save, shared for a read) and reads the record over
// ScoreFile: the open handle, holding the lock. -1, with ScoreFile untouched, when the file is missing
// (`why` left empty: the table then lives in memory, as designed) or a step failed (`why` set, nothing
// kept open).
int OpenLockedAndRead(bool forSave, bool patient, std::string* why) {
  bool missing = false;
  const int handle = DeviceOpenRecord(kScoreFileName, &missing, why);
  if (handle < 0) {
    if (missing) why->clear();
    return -1;
  }
  std::array<uint8_t, kScoreFileSize> record;
  size_t got = 0;
  if (TakeLock(handle, forSave, patient, why) &&
      DeviceReadRecord(handle, record.data(), record.size(), &got, why)) {
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
  const int32_t value = TopScore(place) < 0 ? 0 : TopScore(place);
  const auto y = static_cast<int16_t>(kHighScoreFirstRowY + kHighScoreRowStep * place);
  DrawDigits(static_cast<uint32_t>(value), kScoreDigitCount, kHighScoreDigitsRightX, y, BlitDigit);
}

}  // namespace

int32_t TopScore(int place) {
  return ReadLe32(ScoreFile.data() + kScoreTableOffset + 4 * place);
}

void ReadScoreFile() {
  std::string why;
  const bool afterGivingUp = lockJustGivenUp;
  lockJustGivenUp = false;
  const int handle = OpenLockedAndRead(false, !afterGivingUp, &why);
  if (handle >= 0) {
    DeviceCloseRecord(handle);
    InsertUnsavedScores();
  } else if (!why.empty() && !(afterGivingUp && why == kLockedWhy)) {
    ReportTableFailure("read", why);
  }
}

void RecordScore(int32_t score) {
  std::string why;
  const int handle = OpenLockedAndRead(true, true, &why);
  unsavedScores.push_back(score);
  lockJustGivenUp = handle < 0 && why == kLockedWhy;
  if (handle < 0) {
    // Nothing was read: ScoreFile still holds every score of the run.
    InsertScore(score);
    if (!why.empty()) ReportTableFailure("save", why);
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
    ReportTableFailure("save", why);
  }
}

bool ScoreFileFailed() {
  return scoreFileFailed;
}
void ForgetScoreFileFailure() {
  scoreFileFailed = false;
  lockJustGivenUp = false;
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

void ResetScoreTable() {
  ScoreFile.fill(0);
  scoreFileFailed = false;
  unsavedScores.clear();
  lockJustGivenUp = false;
}

}  // namespace coilrun
