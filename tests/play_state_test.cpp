// The play state: the random generator and the game and stage starts. The direction tables and the disc
// are pinned by what the play tick steps and draws.
#include "game/play_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/memory/memory_clock.h"
#include "test_support.h"

namespace coilrun {
namespace {

TEST_F(DisplayTest, StartGameSeedsFromTheCalendarAndStartStageResetsOnlyTheAttempt) {
  MemorySetCalendarSeconds(1);
  Play.Lives = -1;
  Play.Score = 5;
  Play.StageIndex = 4;
  StartGame();
  EXPECT_EQ(NextRandom(), 41);
  EXPECT_EQ(std::vector<int>({Play.Lives, Play.Score, Play.StageIndex}), std::vector<int>({2, 1000, 0}));

  // An attempt after a death in stage 4, every field left with junk: the attempt's fields start over, the
  // game's carry on.
  std::memset(static_cast<void*>(&Play), 9, sizeof Play);
  Play.StageIndex = 3;
  StartStage();
  EXPECT_EQ(std::vector<int>({Play.TrailX[0], Play.TrailY[0], Play.Dead, Play.QuitChosen, Play.Length,
                              Play.HeadIndex, Play.Heading, Play.EatenCount, Play.DecayCounter, Play.Speed,
                              Play.TargetLength, Play.GrowthStep, Play.FrameDelay, Play.BodyColour}),
            std::vector<int>({320, 240, 0, 0, 0, 0, 0, 0, 0, 5, 40, 20, 14, (6 << 11) | (25 << 5) | 31}));
  EXPECT_EQ(std::vector<int>({Play.StageIndex, Play.Lives, Play.Score}),
            std::vector<int>({3, 9, 0x09090909}));
  // The first enemy takes the next three draws: its kind, then x, then y.
  SeedRandom(7);
  const int kind = NextRandom() % 2, x = NextRandom() % 570 + 10, y = NextRandom() % 420 + 10;
  SeedRandom(7);
  StartStage();
  EXPECT_EQ(std::vector<int>({Play.EnemyKind, Play.EnemyX, Play.EnemyY}), std::vector<int>({kind, x, y}));
}

}  // namespace
}  // namespace coilrun
