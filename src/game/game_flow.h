// One game from the first stage to the recorded score: intros, the tick loop, banners, lives.
#pragma once

#include <cstdint>

namespace coilrun {

// Runs a game and then the high-score screen. 1 when both ran (or the window was closed, after the score
// was recorded); 0 when a data file cannot be loaded (the game's score recorded first) or the high-score
// screen failed.
int PlayGame();
// Ticks run since the program started, for the replay's report.
uint64_t TicksPlayed();

}  // namespace coilrun
