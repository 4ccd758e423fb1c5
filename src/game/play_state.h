// The state of one game: the snake's trail, the enemy, the score, the lives and the stage; the stage
// table, the direction tables, the segment mask and the game's random generator.
#pragma once

#include <array>
#include <cstdint>

#include "content/assets.h"
#include "display/display.h"

namespace coilrun {

// One row of the stage table.
struct StageRow {
  uint8_t EnemiesToClear;  // enemies to eat in one attempt to clear the stage
  uint8_t FrameDelayMs;    // the wait after every presented frame
  uint8_t DecayPeriod;     // ticks per point of score lost
  int32_t PointsPerEnemy;  // what each enemy eaten adds to the score
};

inline constexpr std::array<StageRow, 6> StageTable = {{
    {10, 30, 20, 100},
    {20, 25, 15, 150},
    {20, 20, 11, 225},
    {20, 14, 8, 325},
    {20, 8, 6, 450},
    {20, 3, 5, 600},
}};

inline constexpr int kTrailSlots = 5000;
inline constexpr int kHeadingCount = 32;
inline constexpr int kSegmentSize = 12;

// Where and how every stage attempt starts.
inline constexpr int16_t kStartX = 320;
inline constexpr int16_t kStartY = 240;
inline constexpr uint8_t kStartSpeed = 5;
inline constexpr int8_t kStartLives = 2;
inline constexpr int32_t kStartScore = 1000;

// The first target length and growth step of a stage are these times (StageIndex + 1).
inline constexpr int16_t kTargetLengthPerStage = 10;
inline constexpr int16_t kGrowthStepPerStage = 5;

// The body's colour, packed by the display's pixel format; any Canvas pixel of it blocks the snake.
inline constexpr uint8_t kBodyRed = 51;
inline constexpr uint8_t kBodyGreen = 102;
inline constexpr uint8_t kBodyBlue = 255;

// The play field is the screen less this border; a head (x, y) is inside while its 12x12 box is.
inline constexpr int16_t kFieldBorder = 10;
inline constexpr int16_t kFieldLeft = kFieldBorder;
inline constexpr int16_t kFieldTop = kFieldBorder;
inline constexpr int16_t kFieldRight = kScreenWidth - kFieldBorder;
inline constexpr int16_t kFieldBottom = kScreenHeight - kFieldBorder;

// An enemy's top-left corner is drawn as (random mod kEnemyRangeX + kEnemyPlaceMin, random mod
// kEnemyRangeY + kEnemyPlaceMin). Eating and placing test the box from that corner to the corner plus the
// picture's size, both inclusive (51x41 pixels), which always lies inside the field.
inline constexpr int16_t kEnemyPlaceMin = 10;
inline constexpr int16_t kEnemyRangeX = 570;
inline constexpr int16_t kEnemyRangeY = 420;
inline constexpr int16_t kEnemyBoxSpanX = kEnemyWidth;
inline constexpr int16_t kEnemyBoxSpanY = kEnemyHeight;
inline constexpr int kEnemyKinds = 2;

// The one game's state, read and written only by the tick and the game flow.
struct PlayState {
  // For the whole game.
  uint8_t StageIndex = 0;  // 0 to 5; 6 once the last stage is cleared
  int8_t Lives = 0;        // spare attempts; the game goes on while 0 or more
  int32_t Score = 0;       // never below 0
  // Reset at every stage start.
  std::array<int16_t, kTrailSlots> TrailX{};  // ring of head positions; slot HeadIndex is the newest
  std::array<int16_t, kTrailSlots> TrailY{};
  int16_t HeadIndex = 0;
  uint8_t Heading = 0;  // 0 right, 8 down, 16 left, 24 up
  uint8_t Speed = 0;
  int16_t Length = 0;  // trail positions drawn as the body, head included
  int16_t TargetLength = 0;
  int16_t GrowthStep = 0;
  int16_t EnemyX = 0;
  int16_t EnemyY = 0;
  uint8_t EnemyKind = 0;  // 0 the first enemy picture, 1 the second
  uint8_t EatenCount = 0;
  uint8_t DecayCounter = 0;
  uint8_t FrameDelay = 0;
  uint16_t BodyColour = 0;
  uint8_t Dead = 0;
  uint8_t QuitChosen = 0;  // the pause dialog's selection; stays set when the player quit
};

// The program's one game.
extern PlayState Play;

// Entry i is the sine (cosine) of i * pi/16, in single precision.
extern std::array<float, kHeadingCount> SinTable;
extern std::array<float, kHeadingCount> CosTable;

// A 12x12 disc, row by row from the top: 1 where a body segment has a pixel.
extern const std::array<uint8_t, kSegmentSize * kSegmentSize> DiscMask;

// The stage table's row of StageIndex; a StageIndex past the last stage reads the last row rather than
// past the table.
const StageRow& CurrentStageRow();

// Fills the direction tables; called once at start-up.
void BuildDirectionTables();

// The game's random generator: a 32-bit linear congruential state, 15-bit results.
void SeedRandom(uint32_t seed);

uint16_t NextRandom();

// Seeds the generator from the calendar time, and starts a game: two spare lives, 1000 points, stage 0.
void StartGame();

// Resets the per-stage fields for StageIndex: the start position and heading, the counters, the first
// enemy and the stage's frame delay.
void StartStage();

// The play state, the direction tables and the random generator as a fresh process has them.
void ResetPlayState();

}  // namespace coilrun
