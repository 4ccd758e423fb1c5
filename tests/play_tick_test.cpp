// The play tick: steering, stepping, the field, eating, placing, collisions, score, drawing, pause dialog.
#include "game/play_tick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "app/assets.h"
#include "app/shared_sprites.h"
#include "devices/keyboard.h"
#include "game/play_state.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_keyboard.h"
#include "platform/memory/memory_window.h"
#include "test_support.h"

namespace coilrun {
namespace {

constexpr uint16_t kBackground = 0x2104;
constexpr uint16_t kQuitColour = 0xF800;
constexpr uint16_t kGoOnColour = 0x001F;

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
    FillRect(PlaySheet, kQuitMarker.source, kQuitColour);
    FillRect(PlaySheet, kGoOnMarker.source, kGoOnColour);
    Play = PlayState{};
    Play.Score = 1000;
    ShowHud(false);  // the design's frame, whatever a whole-program test left
    StartAt(320, 240);
  }
  void TearDown() override {
    ReleaseSharedSprites();
    ReleaseSurface(StageBackground);
    ReleaseSurface(PlaySheet);
    DisplayTest::TearDown();
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
  while (PlayTick() == 1) ++ticks;
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

TEST_F(PlayTickTest, EatingTouchesTheBoxEndsTheAttemptAtTheLastEnemyAndPlacesTheNextAwayFromTheBody) {
  // The head steps from (x, 300) five to the right. Its box reaches x + 12 and y + 12, the enemy's x + 50
  // and y + 40. Columns: head x, enemy x and y, eaten before; then the result, eaten after and dead.
  const int cases[][7] = {{395, 413, 312, 0, 1, 0, 0},  {395, 349, 260, 0, 1, 0, 0},
                          {395, 412, 312, 0, 1, 1, 0},  {395, 405, 290, 9, 0, 10, 0},
                          {614, 579, 290, 9, 0, 10, 1}, {395, 350, 260, 0, 1, 1, 0}};
  std::vector<int> expectedPlace;
  for (const auto& [x, enemyX, enemyY, before, result, eaten, dead] : cases) {
    StartAt(x, 300, enemyX, enemyY);
    Play.EatenCount = static_cast<uint8_t>(before);
    expectedPlace = PlaceAfter(77, 0);
    EXPECT_EQ(PlayTick(), result) << x << ": " << enemyX << "," << enemyY;
    EXPECT_EQ(std::vector<int>({Play.EatenCount, Play.Dead}), std::vector<int>({eaten, dead}));
  }
  // Four eaten at 100 points; the last grew the snake and drew the next place, x, then y, then kind.
  EXPECT_EQ(std::vector<int>({Play.Score, Play.GrowthStep, Play.TargetLength}),
            std::vector<int>({1400, 7, 17}));
  EXPECT_EQ(Placed(), expectedPlace);
  // The decay takes nothing from 0, and an enemy eaten in its tick adds all its points.
  StartAt(395, 100, 405, 100);
  Play.Score = 0;
  Play.DecayCounter = 19;
  PlayTick();
  EXPECT_EQ(std::vector<int>({Play.DecayCounter, Play.Score}), std::vector<int>({0, 100}));
  // Body colour at the first draw's box's bottom-right corner, which the box includes: a second draw.
  StartAt(395, 240, 405, 240);  // the next step eats
  const std::vector<int> first = PlaceAfter(5, 0);
  const std::vector<int> second = PlaceAfter(5, 3);
  Canvas->pixels[(first[1] + 40) * kScreenWidth + first[0] + 50] = Play.BodyColour;
  PlayTick();
  EXPECT_EQ(Placed(), second);
  // Body colour everywhere: 10,000 draws find no free place and the last one stays.
  StartAt(395, 240, 405, 240);
  std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), Play.BodyColour);
  const std::vector<int> last = PlaceAfter(9, 3 * 9'999);
  PlayTick();
  EXPECT_EQ(Placed(), last);
  // One free 51x41 box: the scan finds it.
  StartAt(395, 300, 405, 300);
  std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), Play.BodyColour);
  FillRect(Canvas, Rect{300, 200, 351, 241}, kBackground);
  PlayTick();
  EXPECT_EQ(std::vector<int>({Play.EnemyX, Play.EnemyY}), std::vector<int>({300, 200}));
}

TEST_F(PlayTickTest, BodyColourKillsOnlyUnderAllFourProbePointsAndAClosedCircleOnlyALongSnake) {
  // An area under all four probe points of the new head at (500, 300) kills; one that stops a pixel short of
  // the far probe column does not.
  for (int right : {515, 510}) {
    StartAt(495, 300);
    FillRect(Canvas, Rect{500, 302, right, 311}, Play.BodyColour);
    EXPECT_EQ(PlayTick(), right == 515 ? 0 : 1) << right;
  }
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
  for (uint8_t stage = 0; stage <= 6; ++stage) {
    Play.StageIndex = stage;
    DrawStageLabel();
    const Rect r = kStageLabels[std::min<int>(stage, 5)];
    // Its first pixel at (10, 10), and nothing right of its last column.
    EXPECT_EQ(CanvasAt(10, 10), 0x8000 + r.top * kStageLabelSheetWidth + r.left) << int{stage};
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
