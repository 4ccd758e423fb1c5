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

// Reads the file into ScoreFile, under its shared lock, if it exists; bytes the file does not have keep
// their values, nothing past the record is read, and the scores of this run that the file has not taken are
// put back in. A file that is there and cannot be read (not a regular file, a failed open, lock or read)
// gets one line on stderr and marks the run as failed. A lock that another program holds in the way is
// waited for about five seconds at most, and not at all once the window is asked to close; a lock not
// had reads nothing. Right after a save that gave up on the lock, one try is made and nothing more said.
void ReadScoreFile();

// Offers a game's final score to ScoreFile and saves the record in place in an existing file: under the
// file's exclusive lock from the read to the flush, the 1036 bytes are written at its start in one write,
// every byte but the table's as it was just read, so that only the table changes and a power cut leaves the
// old table or the new one. The file is never created, and a replay never writes it. A failed step gets one
// line on stderr, leaves the file as it was and marks the run as failed; ScoreFile keeps the new score.
// The lock is waited for as a read waits; a lock not had reads and writes nothing and is said as
// "cannot save SCORE.DAT: locked by another program".
void RecordScore(int32_t score);

// Whether a read or save of the table failed since the last ForgetScoreFileFailure: the run then ends
// with exit status 1.
bool ScoreFileFailed();

void ForgetScoreFileFailure();

// Shows the table over the last stage's background until a key is pressed. 0 when "BG05.DAT" or
// "DATA2.DAT" cannot be loaded.
int RunHighScoreScreen();

// The table, its failure and the scores not yet saved, as a fresh process has them.
void ResetScoreTable();

}  // namespace coilrun
