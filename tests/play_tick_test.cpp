// The play tick: steering, stepping, the field, eating, placing, collisions, score, drawing, pause dialog.
#include "game/play_tick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "content/assets.h"
#include "content/shared_sprites.h"
#include "devices/keyboard.h"
#include "game/play_state.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_keyboard.h"
#include "platform/memory/memory_window.h"
#include "test_support.h"

namespace coilrun {
namespace {

constexpr uint16_t kBackground = 0x2104;
constexpr uint16_t kQuitColour = 0xF800;
constexpr uint16_t kGoOnColour = 0x001F;
constexpr uint16_t kPauseBoxColour = 0x07E0;

// A surface of one colour; `keyedBlack` makes black its transparent colour.
Surface* FilledSurface(int16_t width, int16_t height, uint16_t colour, bool keyedBlack = false) {
  Surface* surface = CreateOffscreenSurface(width, height);
  std::fill(surface->pixels.begin(), surface->pixels.end(), colour);
  if (keyedBlack) SetSourceColorKey(surface, 0);
  return surface;
}

void FillRect(Surface* surface, const Rect& r, uint16_t colour) {
  for (int y = r.top; y < r.bottom; ++y) {
    std::fill_n(surface->pixels.begin() + y * surface->width + r.left, r.right - r.left, colour);
  }
}

// The place (x, y, kind) drawn after `skip` draws from `seed`, then the next draw; `seed` is set again.
std::vector<int> PlaceAfter(uint32_t seed, int skip) {
  SeedRandom(seed);
  for (int i = 0; i < skip; ++i) NextRandom();
  std::vector<int> place = {NextRandom() % 570 + 10, NextRandom() % 420 + 10, NextRandom() % 2, NextRandom()};
  SeedRandom(seed);
  return place;
}

// Display and keyboard up, direction tables built, and every picture the tick draws made in memory.
class PlayTickTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    ASSERT_TRUE(InitKeyboard());
    BuildDirectionTables();
    StageBackground = FilledSurface(kScreenWidth, kScreenHeight, kBackground);
    for (uint16_t d = 0; d < 10; ++d) DigitSprites[d] = FilledSurface(16, 23, 0x100 + d, true);
    // Label sheet pixel i is 0x8000 + i: never black, the background or the body colour.
    StageLabelSheet = FilledSurface(kStageLabelSheetWidth, kStageLabelSheetHeight, 0, true);
    for (size_t i = 0; i < StageLabelSheet->pixels.size(); ++i) StageLabelSheet->pixels[i] = 0x8000 + i;
    EnemySprite1 = FilledSurface(kEnemyWidth, kEnemyHeight, 0xAAAA);
    EnemySprite2 = FilledSurface(kEnemyWidth, kEnemyHeight, 0x5555);
    PlaySheet = FilledSurface(kScreenWidth, kScreenHeight, 0, true);
    FillRect(PlaySheet, kPauseBox.source, kPauseBoxColour);
    FillRect(PlaySheet, kQuitMarker.source, kQuitColour);
    FillRect(PlaySheet, kGoOnMarker.source, kGoOnColour);
    Play.Score = 1000;
    StartAt(320, 240);
  }

  // A fresh attempt on a plain Canvas: the head's next step starts from (x, y), heading right, and the
  // enemy is at (enemyX, enemyY), by default out of the way of the straight run to the right.
  void StartAt(int x, int y, int enemyX = 100, int enemyY = 400) {
    StartStage();
    Play.TrailX[0] = static_cast<int16_t>(x);
    Play.TrailY[0] = static_cast<int16_t>(y);
    Play.EnemyX = static_cast<int16_t>(enemyX);
    Play.EnemyY = static_cast<int16_t>(enemyY);
    std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), kBackground);
  }
  std::vector<int> Placed() const { return {Play.EnemyX, Play.EnemyY, Play.EnemyKind, NextRandom()}; }
  uint16_t CanvasAt(int x, int y) const { return Canvas->pixels[y * kScreenWidth + x]; }
  uint16_t FrontAt(int x, int y) const { return MemoryFrontPixels()[y * kScreenWidth + x]; }
  int BodyPixelsShown() const {
    const auto& front = MemoryFrontPixels();
    return static_cast<int>(std::count(front.begin(), front.end(), Play.BodyColour));
  }
  int Frames() const { return static_cast<int>(MemoryPresentedFrames().size()); }
  int16_t HeadX() const { return Play.TrailX[Play.HeadIndex]; }
  int16_t HeadY() const { return Play.TrailY[Play.HeadIndex]; }
};

TEST_F(PlayTickTest, FirstTickStepsRightAndDrawsOneDiscAndTheStraightRunDiesInTick60) {
  ASSERT_EQ(PlayTick(), 1);
  EXPECT_EQ(std::vector<int>({HeadX(), HeadY()}), std::vector<int>({325, 240}));
  // One disc with its top-left corner at (325, 240): the corners of its box are cut off.
  EXPECT_EQ(BodyPixelsShown(), 120);
  EXPECT_EQ(FrontAt(328, 240), Play.BodyColour);
  EXPECT_EQ(FrontAt(327, 240), kBackground);
  int ticks = 1;
  while (PlayTick() == 1 && ticks < 100) ++ticks;
  // The fatal tick still presents its frame, with the head at its fatal place; a point lost every 20 ticks.
  EXPECT_EQ(std::vector<int>({ticks + 1, HeadX(), Play.Dead, Play.Score, Frames()}),
            std::vector<int>({60, 620, 1, 997, 60}));
  EXPECT_EQ(FrontAt(623, 240), Play.BodyColour);
}

TEST_F(PlayTickTest, StepsOfEveryHeadingTruncateAndTurnByAQuarterEveryEightAndTheRingOfSlotsWraps) {
  const int steps[9][2] = {{5, 0}, {4, 0}, {4, 1}, {4, 2}, {3, 3}, {2, 4}, {1, 4}, {0, 4}, {0, 5}};
  for (int h = 0; h < kHeadingCount; ++h) {
    StartAt(320, 240);
    Play.Heading = static_cast<uint8_t>(h);
    ASSERT_EQ(PlayTick(), 1) << h;
    std::pair<int, int> expected = {steps[h % 8][0], steps[h % 8][1]};
    for (int q = 0; q < h / 8; ++q) expected = {-expected.second, expected.first};
    EXPECT_EQ(std::make_pair(HeadX() - 320, HeadY() - 240), expected) << h;
  }
  // The ring of trail slots wraps, and the body is drawn across the wrap.
  StartAt(200, 200);
  Play.HeadIndex = 4998;
  Play.TrailX[4998] = Play.TrailY[4998] = 200;
  for (int tick = 0; tick < 2; ++tick) PlayTick();
  EXPECT_EQ(std::vector<int>({Play.HeadIndex, Play.TrailX[0]}), std::vector<int>({0, 210}));
  // Slots 4999 and 0, five pixels apart: each has a pixel of the top row to itself.
  for (int x : {210, 218}) EXPECT_EQ(FrontAt(x, 200), Play.BodyColour) << x;
}

TEST_F(PlayTickTest, TheFieldEndsTenPixelsInsideEveryEdgeAndARefusedLockSeesNoBody) {
  const int cases[][3] = {{618, 240, 0}, {619, 240, 1}, {300, 458, 0}, {300, 459, 1},
                          {10, 240, 0},  {9, 240, 1},   {300, 10, 0},  {300, 9, 1}};
  for (bool locked : {true, false}) {
    for (const auto& [x, y, dead] : cases) {
      StartAt(x, y);
      if (locked) LockCanvas();
      ProbeHead();
      UnlockCanvas();
      EXPECT_EQ(Play.Dead, dead) << x << "," << y << " locked " << locked;
    }
  }
  // A tick that eats on a body-coloured field with both its locks refused: no death, no body drawn.
  StartAt(395, 240, 405, 240);
  std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), Play.BodyColour);
  MemoryFailLocks(2);
  EXPECT_EQ(PlayTick(), 1);
  EXPECT_EQ(std::vector<int>({Play.EatenCount, BodyPixelsShown()}), std::vector<int>({1, 0}));
}

// The head's box reaches x + 12 and y + 12, the enemy's box x + 50 and y + 40, both edges included.
TEST_F(PlayTickTest, EatingTakesBothEdgesOfTheEnemysBoxAndNoPixelMore) {
  // The head steps from (395, 300) to (400, 300): its box spans 400..412 by 300..312.
  const int cases[][3] = {{412, 280, 1}, {413, 280, 0}, {350, 280, 1}, {349, 280, 0},
                          {380, 312, 1}, {380, 313, 0}, {380, 260, 1}, {380, 259, 0}};
  for (const auto& [enemyX, enemyY, eats] : cases) {
    StartAt(395, 300, enemyX, enemyY);
    PlayTick();
    EXPECT_EQ(Play.EatenCount, eats) << "enemy at " << enemyX << "," << enemyY;
  }
}

// What each stage does with its row: the wait after each frame, the ticks per point of decay, the points
// per enemy and the enemies that clear it.
TEST_F(PlayTickTest, EachStagesWaitDecayPointsAndClearingShowOnTheClockAndInTheScore) {
  const int rules[6][4] = {{30, 20, 100, 10}, {25, 15, 150, 20}, {20, 11, 225, 20},
                           {14, 8, 325, 20},  {8, 6, 450, 20},   {3, 5, 600, 20}};
  for (int stage = 0; stage < 6; ++stage) {
    const auto& [wait, decay, points, toClear] = rules[stage];
    SCOPED_TRACE("stage " + std::to_string(stage + 1));
    Play.StageIndex = static_cast<uint8_t>(stage);
    StartAt(100, 240);
    for (int tick = 1; tick < decay; ++tick) PlayTick();
    EXPECT_EQ(Play.Score, 1000);
    PlayTick();
    EXPECT_EQ(Play.Score, 999);
    const int64_t waited = MemoryClockNanoseconds() - MemoryPresentedFrames().back().timeNs;
    EXPECT_GT(waited, wait * 1'000'000LL);
    EXPECT_LE(waited, (wait + 1) * 1'000'000LL);
    StartAt(395, 240, 405, 240);
    Play.EatenCount = static_cast<uint8_t>(toClear - 2);
    EXPECT_EQ(PlayTick(), 1);
    EXPECT_EQ(Play.Score, 999 + points);
    StartAt(395, 240, 405, 240);
    Play.EatenCount = static_cast<uint8_t>(toClear - 1);
    EXPECT_EQ(PlayTick(), 0);
    Play.Score = 1000;
  }
}

TEST_F(PlayTickTest, TheLastEnemyEndsTheAttemptAndADeathInThatTickStillCounts) {
  StartAt(395, 290, 405, 290);
  Play.EatenCount = 9;
  EXPECT_EQ(PlayTick(), 0);
  EXPECT_EQ(std::vector<int>({Play.EatenCount, Play.Dead}), std::vector<int>({10, 0}));
  StartAt(614, 290, 579, 290);
  Play.EatenCount = 9;
  EXPECT_EQ(PlayTick(), 0);
  EXPECT_EQ(std::vector<int>({Play.EatenCount, Play.Dead}), std::vector<int>({10, 1}));
}

TEST_F(PlayTickTest, EachEnemyEatenGrowsTheSnakeMoreAndDrawsTheNextPlaceXThenYThenKind) {
  for (int eaten = 1; eaten <= 2; ++eaten) {
    StartAt(395, 300, 405, 300);
    Play.GrowthStep = static_cast<int16_t>(5 + 2 * (eaten - 1));
    Play.TargetLength = 10;
    const std::vector<int> expectedPlace = PlaceAfter(77, 0);
    PlayTick();
    EXPECT_EQ(std::vector<int>({Play.GrowthStep, Play.TargetLength}),
              std::vector<int>({5 + 2 * eaten, 10 + 5 + 2 * eaten}));
    EXPECT_EQ(Placed(), expectedPlace);
  }
  // The decay takes nothing from 0, and an enemy eaten in its tick adds all its points.
  StartAt(395, 100, 405, 100);
  Play.Score = 0;
  Play.DecayCounter = 19;
  PlayTick();
  EXPECT_EQ(std::vector<int>({Play.DecayCounter, Play.Score}), std::vector<int>({0, 100}));
}

TEST_F(PlayTickTest, ANewPlaceWhoseBoxShowsBodyColourEvenAtItsFarCornerIsDrawnAgain) {
  for (int corner = 0; corner < 2; ++corner) {
    StartAt(395, 240, 405, 240);  // the next step eats
    const std::vector<int> first = PlaceAfter(5, 0);
    const std::vector<int> second = PlaceAfter(5, 3);
    Canvas->pixels[(first[1] + 40 * corner) * kScreenWidth + first[0] + 50 * corner] = Play.BodyColour;
    PlayTick();
    EXPECT_EQ(Placed(), second) << "corner " << corner;
  }
}

TEST_F(PlayTickTest, WithNoFreePlaceTheLastOf10000DrawsStaysAndOneFreeBoxIsFoundByTheScan) {
  StartAt(395, 240, 405, 240);
  std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), Play.BodyColour);
  const std::vector<int> last = PlaceAfter(9, 3 * 9'999);
  PlayTick();
  EXPECT_EQ(Placed(), last);
  StartAt(395, 300, 405, 300);
  std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), Play.BodyColour);
  FillRect(Canvas, Rect{300, 200, 351, 241}, kBackground);
  PlayTick();
  EXPECT_EQ(std::vector<int>({Play.EnemyX, Play.EnemyY}), std::vector<int>({300, 200}));
}

// The probe points lie at (2, 2), (10, 2), (2, 10) and (10, 10) in the head's box.
TEST_F(PlayTickTest, BodyColourKillsOnlyUnderAllFourProbePointsAndNoneOfThemAlone) {
  const int probes[4][2] = {{2, 2}, {10, 2}, {2, 10}, {10, 10}};
  for (int set = 0; set < 16; ++set) {
    StartAt(300, 200);
    for (int p = 0; p < 4; ++p) {
      if ((set >> p & 1) != 0)
        Canvas->pixels[(200 + probes[p][1]) * kScreenWidth + 300 + probes[p][0]] = Play.BodyColour;
    }
    LockCanvas();
    ProbeHead();
    UnlockCanvas();
    EXPECT_EQ(Play.Dead, set == 15 ? 1 : 0) << "probe points set: " << set;
  }
}

TEST_F(PlayTickTest, RectHasColourIncludesBothEdgesAndClipsToTheCanvas) {
  LockCanvas();
  const int cases[][3] = {{100, 50, 1}, {120, 70, 1}, {99, 60, 0}, {121, 60, 0}, {110, 49, 0}, {110, 71, 0}};
  for (const auto& [x, y, found] : cases) {
    CanvasPixels[y * kScreenWidth + x] = 0x1234;
    EXPECT_EQ(RectHasColour(100, 50, 120, 70, 0x1234), found) << x << "," << y;
    CanvasPixels[y * kScreenWidth + x] = kBackground;
  }
  CanvasPixels[kScreenWidth * kScreenHeight - 1] = 0x1234;
  EXPECT_EQ(RectHasColour(600, 400, 700, 500, 0x1234), 1);
  EXPECT_EQ(RectHasColour(-50, -50, -1, 479, 0x1234), 0);
  UnlockCanvas();
}

TEST_F(PlayTickTest, AClosedCircleKillsOnlyASnakeLongEnoughToMeetItself) {
  // A turn key held runs a circle back to the start in 32 ticks: harmless at length 20, turning left ...
  MemoryHoldKeys(MemoryKeyTrigger::kRead, MemoryKeyboardReads(), {kKeyLeft});
  StartAt(320, 240);
  Play.TargetLength = 20;
  for (int tick = 1; tick <= 100; ++tick) ASSERT_EQ(PlayTick(), 1) << tick;
  EXPECT_EQ(Play.Length, 20);
  // ... and fatal at 32, turning right, as it closes: all four probe points on the round just run.
  MemoryHoldKeys(MemoryKeyTrigger::kRead, MemoryKeyboardReads(), {kKeyRight});
  StartAt(320, 240);
  Play.TargetLength = 32;
  int ticks = 1;
  while (PlayTick() == 1 && ticks < 200) ++ticks;
  EXPECT_EQ(std::vector<int>({ticks, Play.Dead, Play.Length, HeadX(), HeadY()}),
            std::vector<int>({32, 1, 32, 320, 240}));
}

TEST_F(PlayTickTest, TheLabelAndEightScoreDigitsAreDrawnFromTheirRectangles) {
  // Where each stage's label lies in the label sheet; a stage past the sixth shows the sixth's.
  const Rect labels[] = {{0, 0, 151, 22},   {0, 22, 79, 44}, {80, 22, 160, 44}, {0, 44, 80, 66},
                         {80, 44, 161, 66}, {0, 66, 80, 88}, {0, 66, 80, 88}};
  for (uint8_t stage = 0; stage <= 6; ++stage) {
    Play.StageIndex = stage;
    DrawStageLabel();
    const Rect r = labels[stage];
    // Its first pixel at (10, 10), its last column, and nothing right of it.
    EXPECT_EQ(CanvasAt(10, 10), 0x8000 + r.top * kStageLabelSheetWidth + r.left) << int{stage};
    EXPECT_EQ(CanvasAt(9 + r.right - r.left, 10), 0x8000 + r.top * kStageLabelSheetWidth + r.right - 1)
        << int{stage};
    EXPECT_EQ(CanvasAt(10 + r.right - r.left, 10), kBackground) << int{stage};
    std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), kBackground);
  }
  // The low eight digits of a longer score, from the right; a black pixel of a digit is transparent.
  DigitSprites[8]->pixels[kDigitSurfaceWidth + 1] = 0;
  Play.Score = 123456789;
  DrawScore();
  for (int k = 0; k < 9; ++k) EXPECT_EQ(CanvasAt(629 - 16 * k, 31), k < 8 ? 0x100 + 9 - k : kBackground) << k;
  EXPECT_EQ(CanvasAt(615 - 16 + 1, 11), kBackground);
  // Only the 15x22 glyph is drawn: the surface's last column and row stay out.
  EXPECT_EQ(std::make_pair(CanvasAt(629, 32), CanvasAt(630, 31)), std::make_pair(kBackground, kBackground));
}

// Each item of the frame covers the ones drawn before it: the label the background, the enemy the score,
// the body the enemy.
TEST_F(PlayTickTest, TheFrameIsBackgroundLabelScoreEnemyAndBodyEachOverTheOnesBefore) {
  StartAt(300, 240, 580, 10);  // the enemy over the score's digits 583 to 629
  Play.EnemyKind = 0;
  Play.HeadIndex = 1;
  Play.TrailX[1] = 300;
  Play.TrailY[1] = 240;
  Play.TrailX[0] = 590;  // a segment behind the head, over the enemy
  Play.TrailY[0] = 20;
  Play.Length = 2;
  Play.TargetLength = 3;
  ASSERT_EQ(PlayTick(), 1);
  ASSERT_EQ(Play.EatenCount, 0);
  EXPECT_EQ(std::vector<int>({CanvasAt(12, 12), CanvasAt(585, 12), CanvasAt(596, 26), CanvasAt(575, 15)}),
            std::vector<int>({0x8000 + 2 * kStageLabelSheetWidth + 2, 0xAAAA, Play.BodyColour, 0x101}));
}

TEST_F(PlayTickTest, TheHudShowsLivesAndCreaturesLeftUnderTheBodyAndNeverAddsOrCoversTheBodyColour) {
  // A wall pixel of the body colour under the lives digit, and a body-coloured pixel in the digit 0.
  StageBackground->pixels[13 * kScreenWidth + 179] = Play.BodyColour;
  DigitSprites[0]->pixels[5 * kDigitSurfaceWidth + 5] = Play.BodyColour;
  StartAt(176, 12);  // the first disc lands on the lives digit
  Play.Lives = 2;
  ShowHud(true);
  PlayTick();
  ShowHud(false);
  // Three lives with this one, and the first stage's ten creatures, right of the widest label.
  EXPECT_EQ(std::vector<int>({CanvasAt(176, 10), CanvasAt(208, 10), CanvasAt(224, 10), CanvasAt(191, 10)}),
            std::vector<int>({0x103, 0x101, 0x100, kBackground}));
  EXPECT_EQ(CanvasAt(179, 13), Play.BodyColour);
  EXPECT_EQ(CanvasAt(229, 15), kBackground);
  EXPECT_EQ(CanvasAt(186, 17), Play.BodyColour);
  PlayTick();
  EXPECT_EQ(CanvasAt(208, 10), kBackground);
}

TEST_F(PlayTickTest, ThePauseDialogShowsItsMarkerOffTheCanvasLetsRightWinAndQuitsWithAFadeAndNoStep) {
  // A Return held as the dialog opens ends it after one pass, with the quit marker on the screen only.
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyReturn});
  RunPauseDialog();
  EXPECT_EQ(Frames(), 1);
  EXPECT_EQ(FrontAt(kPauseBox.x, kPauseBox.y), kPauseBoxColour);
  EXPECT_EQ(FrontAt(kQuitMarker.x, kQuitMarker.y), kQuitColour);
  EXPECT_EQ(CanvasAt(kQuitMarker.x, kQuitMarker.y), kBackground);
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 1, {kKeyLeft, kKeyRight, kKeyReturn});  // Right wins over Left
  RunPauseDialog();
  EXPECT_EQ(Play.QuitChosen, 0);
  EXPECT_EQ(FrontAt(kGoOnMarker.x, kGoOnMarker.y), kGoOnColour);
  // A tick that goes on from the dialog takes its step; one that quits takes none, and fades to black.
  // Both turn keys held with Esc turn nothing.
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 2, {kKeyEscape, kKeyLeft, kKeyRight});
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 3, {kKeyRight, kKeyReturn});
  EXPECT_EQ(PlayTick(), 1);
  EXPECT_EQ(std::vector<int>({HeadX(), HeadY()}), std::vector<int>({325, 240}));
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 4, {kKeyEscape});
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 6, {kKeyReturn});
  EXPECT_EQ(PlayTick(), 0);
  EXPECT_EQ(HeadX(), 325);
  EXPECT_EQ(Frames(), 1 + 1 + 2 + 2 + 33);  // two passes before the fade
  EXPECT_TRUE(std::all_of(Canvas->pixels.begin(), Canvas->pixels.end(), [](uint16_t p) { return p == 0; }));
  // A lost focus opens the dialog with go on marked, so that Return alone goes on and the tick steps;
  // Esc held as well marks quit, as Esc alone does.
  StartAt(320, 240);
  RequestPause();
  MemoryHoldKeys(MemoryKeyTrigger::kRead, MemoryKeyboardReads() + 1, {kKeyReturn});
  EXPECT_EQ(PlayTick(), 1);
  EXPECT_EQ(std::vector<int>({Play.QuitChosen, HeadX()}), std::vector<int>({0, 325}));
  RequestPause();
  MemoryHoldKeys(MemoryKeyTrigger::kRead, MemoryKeyboardReads(), {kKeyEscape, kKeyReturn});
  EXPECT_EQ(PlayTick(), 0);
  EXPECT_EQ(std::vector<int>({Play.QuitChosen, HeadX()}), std::vector<int>({1, 325}));
  // In a window asked to close, the dialog quits at once and shows nothing more.
  MemoryRequestClose();
  Play.QuitChosen = 0;
  RunPauseDialog();
  EXPECT_EQ(Play.QuitChosen, 1);
  EXPECT_EQ(Frames(), 39 + 2 + 1 + 33);
}

}  // namespace
}  // namespace coilrun
