// The play state: the random generator, the game and stage starts, the direction tables and the disc.
#include "game/play_state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

#include "platform/memory/memory_clock.h"
#include "test_support.h"

namespace coilrun {
namespace {

// The generator written out independently, to predict draws.
struct ReferenceRandom {
  uint32_t state;
  int Next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
  }
};

TEST_F(DisplayTest, StartStageDrawsKindThenXThenYFromTheSeed) {
  SeedRandom(1);
  EXPECT_EQ(NextRandom(), 41);
  for (uint32_t seed : {1u, 0u, 0xFFFFFFFFu, 1234567u}) {
    SeedRandom(seed);
    StartStage();
    ReferenceRandom ref{seed};
    EXPECT_EQ(Play.EnemyKind, ref.Next() % 2) << seed;
    EXPECT_EQ(Play.EnemyX, ref.Next() % 570 + 10) << seed;
    EXPECT_EQ(Play.EnemyY, ref.Next() % 420 + 10) << seed;
    // Nothing else was drawn.
    EXPECT_EQ(NextRandom(), ref.Next()) << seed;
  }
  SeedRandom(1);
  StartStage();
  EXPECT_EQ(Play.EnemyKind, 1);
  EXPECT_EQ(Play.EnemyX, 237);
  EXPECT_EQ(Play.EnemyY, 44);
}

TEST_F(DisplayTest, StartGameSeedsFromTheCalendarAndStartStageResetsOnlyTheAttempt) {
  MemorySetCalendarSeconds(1);
  Play.Lives = -1;
  Play.Score = 5;
  Play.StageIndex = 4;
  StartGame();
  EXPECT_EQ(NextRandom(), 41);
  EXPECT_EQ(Play.Lives, 2);
  EXPECT_EQ(Play.Score, 1000);
  EXPECT_EQ(Play.StageIndex, 0);

  // An attempt after a death in stage 4: the attempt's fields start over, the game's carry on.
  Play.StageIndex = 3;
  Play.Lives = 1;
  Play.Score = 4321;
  Play.Dead = 1;
  Play.QuitChosen = 1;
  Play.Length = 77;
  Play.HeadIndex = 99;
  Play.Heading = 9;
  Play.EatenCount = 7;
  Play.DecayCounter = 3;
  Play.Speed = 1;
  StartStage();
  EXPECT_EQ(std::vector<int>({Play.TrailX[0], Play.TrailY[0], Play.Dead, Play.QuitChosen, Play.Length,
                              Play.HeadIndex, Play.Heading, Play.EatenCount, Play.DecayCounter, Play.Speed,
                              Play.TargetLength, Play.GrowthStep, Play.FrameDelay, Play.BodyColour}),
            std::vector<int>({320, 240, 0, 0, 0, 0, 0, 0, 0, 5, 40, 20, 14, (6 << 11) | (25 << 5) | 31}));
  EXPECT_EQ(Play.StageIndex, 3);
  EXPECT_EQ(Play.Lives, 1);
  EXPECT_EQ(Play.Score, 4321);
}

TEST(DirectionTablesTest, QuarterTurnsAreExactInOneTableAndAHairOffZeroInTheOther) {
  BuildDirectionTables();
  EXPECT_EQ(SinTable[0], 0.0f);
  EXPECT_EQ(CosTable[0], 1.0f);
  EXPECT_EQ(SinTable[8], 1.0f);
  EXPECT_EQ(CosTable[16], -1.0f);
  EXPECT_EQ(SinTable[24], -1.0f);
  for (float nearZero : {CosTable[8], SinTable[16], CosTable[24]}) {
    EXPECT_NE(nearZero, 0.0f);
    EXPECT_LT(std::fabs(nearZero), 1e-15f);
  }
  EXPECT_EQ(SinTable[1], 0.19509032f);
  EXPECT_EQ(CosTable[1], 0.98078525f);
  EXPECT_EQ(SinTable[4], 0.70710677f);
  EXPECT_EQ(CosTable[4], 0.70710677f);
}

TEST(DiscMaskTest, IsADiscOf120PixelsWithOneRunPerRow) {
  EXPECT_EQ(std::accumulate(DiscMask.begin(), DiscMask.end(), 0), 120);
  const int firstColumn[kSegmentSize] = {3, 2, 1, 0, 0, 0, 0, 0, 0, 1, 2, 3};
  for (int r = 0; r < kSegmentSize; ++r) {
    for (int c = 0; c < kSegmentSize; ++c) {
      const bool inRun = c >= firstColumn[r] && c <= kSegmentSize - 1 - firstColumn[r];
      EXPECT_EQ(DiscMask[r * kSegmentSize + c], inRun ? 1 : 0) << r << "," << c;
    }
  }
}

}  // namespace
}  // namespace coilrun
