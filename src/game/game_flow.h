// One game from the first stage to the recorded score: intros, the tick loop, banners, lives.
#pragma once

namespace coilrun {

// Runs a game and then the high-score screen. 1 when both ran (or the window was closed, after the score
// was recorded); 0 when a data file cannot be loaded or the high-score screen failed.
int PlayGame();

}  // namespace coilrun
