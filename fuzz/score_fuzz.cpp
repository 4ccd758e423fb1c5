// Fuzz target: SCORE.DAT as the table reads and saves it, any bytes with a score offered to them.
#include <algorithm>
#include <cstring>
#include <vector>

#include "game/score_table.h"
#include "fuzz_target.h"
#include "platform/memory/memory_files.h"

int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace coilrun;
  // The first four bytes are the score offered; the rest is the file.
  if (size < 4) return 0;
  int32_t score = 0;
  std::memcpy(&score, data, 4);
  const std::vector<uint8_t> file(data + 4, data + size);
  MemoryResetFiles();
  MemoryPutFile("SCORE.DAT", file);
  ScoreFile.fill(0);
  ForgetScoreFileFailure();
  ReadScoreFile();
  RecordScore(score);
  const std::vector<uint8_t> saved = MemoryFileBytes("SCORE.DAT");
  // Only the table changes: the record grows to its size, and every other byte stays as it was.
  if (saved.size() != std::max(file.size(), static_cast<size_t>(kScoreFileSize))) __builtin_trap();
  for (size_t i = 0; i < file.size(); ++i) {
    const bool inTable = i >= kScoreTableOffset && i < kScoreTableOffset + 4 * kScoreTablePlaces;
    if (!inTable && saved[i] != file[i]) __builtin_trap();
  }
  // The new score has a place unless all five are higher.
  bool placed = false, lowerKept = false;
  for (int place = 0; place < kScoreTablePlaces; ++place) {
    placed = placed || TopScore(place) == score;
    lowerKept = lowerKept || TopScore(place) < score;
  }
  if (!placed && lowerKept) __builtin_trap();
  return 0;
}
