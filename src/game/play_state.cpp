// The one game's state, the direction tables, the segment disc, the random generator and the stage start.
#include "game/play_state.h"

#include <cmath>
#include <cstddef>

#include "devices/input_record.h"

namespace coilrun {

PlayState Play;
std::array<float, kHeadingCount> SinTable{};
std::array<float, kHeadingCount> CosTable{};

namespace {

// The angle between neighbouring headings, as the double the tables are built from; the quarter turns
// are therefore a hair off exact in one of the two tables, and the steps are made to match.
constexpr double kHeadingAngle = 0.19634954084936207;

// Each row of the disc is one run of columns [first, last].
struct DiscRun {
  int first;
  int last;
};
constexpr std::array<DiscRun, kSegmentSize> kDiscRuns = {{
    {3, 8},
    {2, 9},
    {1, 10},
    {0, 11},
    {0, 11},
    {0, 11},
    {0, 11},
    {0, 11},
    {0, 11},
    {1, 10},
    {2, 9},
    {3, 8},
}};

constexpr std::array<uint8_t, kSegmentSize * kSegmentSize> MakeDiscMask() {
  std::array<uint8_t, kSegmentSize * kSegmentSize> mask{};
  for (int r = 0; r < kSegmentSize; ++r) {
    for (int c = kDiscRuns[r].first; c <= kDiscRuns[r].last; ++c) mask[r * kSegmentSize + c] = 1;
  }
  return mask;
}

// The generator: a 32-bit linear congruential state, of which bits 16 to 30 are handed out.
constexpr uint32_t kRandomMultiplier = 214013;
constexpr uint32_t kRandomIncrement = 2531011;
constexpr int kRandomShift = 16;
constexpr uint32_t kRandomMask = 0x7FFF;
// The generator's state, seeded once per game.
uint32_t randomState = 0;

}  // namespace

const std::array<uint8_t, kSegmentSize* kSegmentSize> DiscMask = MakeDiscMask();

const StageRow& CurrentStageRow() {
  return StageTable[Play.StageIndex < StageTable.size() ? Play.StageIndex : StageTable.size() - 1];
}

void BuildDirectionTables() {
  for (int i = 0; i < kHeadingCount; ++i) {
    const double angle = i * kHeadingAngle;
    SinTable[i] = static_cast<float>(std::sin(angle));
    CosTable[i] = static_cast<float>(std::cos(angle));
  }
}

void SeedRandom(uint32_t seed) {
  randomState = seed;
}

uint16_t NextRandom() {
  randomState = randomState * kRandomMultiplier + kRandomIncrement;
  return static_cast<uint16_t>((randomState >> kRandomShift) & kRandomMask);
}

void StartGame() {
  // The seed is an input like the keys: a replay gives the recorded one.
  SeedRandom(TakeSeed());
  Play.Lives = kStartLives;
  Play.Score = kStartScore;
  Play.StageIndex = 0;
}

void StartStage() {
  // The draws come in the order kind, x, y, interleaved with the resets as below.
  Play.TrailX[0] = kStartX;
  Play.TrailY[0] = kStartY;
  Play.Dead = 0;
  Play.EnemyKind = static_cast<uint8_t>(NextRandom() % kEnemyKinds);
  Play.EnemyX = static_cast<int16_t>(NextRandom() % kEnemyRangeX + kEnemyPlaceMin);
  Play.Length = 0;
  Play.EnemyY = static_cast<int16_t>(NextRandom() % kEnemyRangeY + kEnemyPlaceMin);
  const int stageNumber = Play.StageIndex + 1;
  Play.GrowthStep = static_cast<int16_t>(stageNumber * kGrowthStepPerStage);
  Play.TargetLength = static_cast<int16_t>(stageNumber * kTargetLengthPerStage);
  Play.Heading = 0;
  Play.EatenCount = 0;
  Play.DecayCounter = 0;
  Play.HeadIndex = 0;
  Play.Speed = kStartSpeed;
  Play.QuitChosen = 0;
  Play.BodyColour = PackColor(kBodyRed, kBodyGreen, kBodyBlue);
  Play.FrameDelay = CurrentStageRow().FrameDelayMs;
}

void ResetPlayState() {
  Play = PlayState{};
  SinTable.fill(0);
  CosTable.fill(0);
  randomState = 0;
}

}  // namespace coilrun
