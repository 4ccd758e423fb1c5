// The table of the five best scores in "SCORE.DAT", and the screen that shows it.
#pragma once

#include <array>
#include <cstdint>

namespace coilrun {

inline constexpr int kScoreFileSize = 1036;
inline constexpr int kScoreTableOffset = 16;
inline constexpr int kScoreTablePlaces = 5;

// The in-memory copy of the score file's record, all zero at start; refreshed from the file before use.
extern std::array<uint8_t, kScoreFileSize> ScoreFile;

// The score at a place of the table (0 is the best), as the record holds it.
int32_t TopScore(int place);
// Reads the file into ScoreFile if it exists and can be opened for reading and writing; bytes the file
// does not have keep their values.
void ReadScoreFile();
// Offers a game's final score to the table and writes the record back to an existing file. The file is
// replaced whole (written beside it, flushed, renamed over it), so that a crash leaves the old table or
// the new one, never a mix; bytes past the record are kept. The file is never created.
void RecordScore(int32_t score);
// Shows the table over the last stage's background until a key is pressed. 0 when "BG05.DAT" or
// "DATA2.DAT" cannot be loaded.
int RunHighScoreScreen();

}  // namespace coilrun
