// One game from the first stage to the recorded score: intros, the tick loop, banners, lives.
#pragma once

#include <cstdint>

namespace coilrun {

// Runs a game and then the high-score screen. 1 when both ran (or the window was closed, after the score
// was recorded); 0 when a data file cannot be loaded (the game's score recorded first) or the high-score
// screen failed.
int PlayGame();

// With `stage` 1 to 6, every later game is a practice game: it starts at that stage, plays as any other,
// and its score is never entered in the table. 0 makes them real games from the first stage again.
void SetPracticeStage(int stage);

// Ticks run since the program started, for the replay's report.
uint64_t TicksPlayed();

// Forgets the ticks played and the practice stage.
void ResetGameFlow();

}  // namespace coilrun
