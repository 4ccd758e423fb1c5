// The play tick: steering and stepping, the field's edges, eating and placing enemies, collisions read
// from the last frame, the score, the pause dialog, and drawing without a lock.
#include "game/play_tick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "app/assets.h"
#include "app/shared_sprites.h"
#include "devices/keyboard.h"
#include "devices/sound.h"
#include "game/play_state.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_keyboard.h"
#include "platform/memory/memory_sound.h"
#include "platform/memory/memory_window.h"
#include "test_support.h"

namespace coilrun {
namespace {

constexpr uint16_t kBackground = 0x2104;
constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kBoxColour = 0x07E0;
constexpr uint16_t kQuitColour = 0xF800;
constexpr uint16_t kGoOnColour = 0x001F;

struct ReferenceRandom {
  uint32_t state;
  int16_t Next() {
    state = state * 214013u + 2531011u;
    return static_cast<int16_t>((state >> 16) & 0x7FFF);
  }
};

Surface* FilledSurface(int16_t width, int16_t height, uint16_t colour) {
  Surface* surface = CreateOffscreenSurface(width, height);
  std::fill(surface->pixels.begin(), surface->pixels.end(), colour);
  return surface;
}

void FillRect(Surface* surface, const Rect& r, uint16_t colour) {
  for (int y = r.top; y < r.bottom; ++y) {
    std::fill_n(surface->pixels.begin() + y * surface->width + r.left, r.right - r.left, colour);
  }
}

// The display, keyboard and sound up, the direction tables built, and every picture the tick draws made in
// memory: a plain background, digits and labels, white-keyed enemies and a sheet with the pause dialog.
class PlayTickTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    ASSERT_TRUE(InitKeyboard());
    ASSERT_TRUE(InitSound());
    BuildDirectionTables();
    EffectData = {128, 200, 128, 56};
    EffectSize = static_cast<uint32_t>(EffectData.size());
    ASSERT_TRUE(CreateEffectBuffer() && FillEffectBuffer());
    StageBackground = FilledSurface(kScreenWidth, kScreenHeight, kBackground);
    for (size_t d = 0; d < DigitSprites.size(); ++d) {
      DigitSprites[d] =
          FilledSurface(kDigitSurfaceWidth, kDigitSurfaceHeight, static_cast<uint16_t>(0x100 + d));
      SetSourceColorKey(DigitSprites[d], 0);
    }
    StageLabelSheet = FilledSurface(kStageLabelSheetWidth, kStageLabelSheetHeight, 0x0841);
    SetSourceColorKey(StageLabelSheet, 0);
    EnemySprite1 = FilledSurface(kEnemyWidth, kEnemyHeight, 0xAAAA);
    EnemySprite2 = FilledSurface(kEnemyWidth, kEnemyHeight, 0x5555);
    SetSourceColorKey(EnemySprite1, kWhite);
    SetSourceColorKey(EnemySprite2, kWhite);
    PlaySheet = FilledSurface(kScreenWidth, kScreenHeight, 0);
    FillRect(PlaySheet, kPauseBox.source, kBoxColour);
    FillRect(PlaySheet, kQuitMarker.source, kQuitColour);
    FillRect(PlaySheet, kGoOnMarker.source, kGoOnColour);
    SetSourceColorKey(PlaySheet, 0);
    Play = PlayState{};
    Play.StageIndex = 0;
    Play.Score = 1000;
    SeedRandom(1);
    StartStage();
    // Out of the way of the start position and the straight run to the right.
    Play.EnemyX = 100;
    Play.EnemyY = 400;
  }
  void TearDown() override {
    ReleaseSharedSprites();
    ReleaseSurface(StageBackground);
    ReleaseSurface(PlaySheet);
    DisplayTest::TearDown();
  }

  uint16_t CanvasAt(int x, int y) const { return Canvas->pixels[y * kScreenWidth + x]; }
  uint16_t FrontAt(int x, int y) const { return MemoryFrontPixels()[y * kScreenWidth + x]; }
  // Places the head so that the next step (heading h) starts from (x, y).
  void HeadAt(int x, int y, uint8_t heading = 0) {
    Play.TrailX[Play.HeadIndex] = static_cast<int16_t>(x);
    Play.TrailY[Play.HeadIndex] = static_cast<int16_t>(y);
    Play.Heading = heading;
  }
  int16_t HeadX() const { return Play.TrailX[Play.HeadIndex]; }
  int16_t HeadY() const { return Play.TrailY[Play.HeadIndex]; }
  int Plays() const {
    return static_cast<int>(std::count_if(MemorySoundLog().begin(), MemorySoundLog().end(),
                                          [](const MemorySoundEvent& e) { return e.what == "play"; }));
  }
};

TEST_F(PlayTickTest, FirstTickStepsRightAndDrawsOneDiscAndTheStraightRunDiesAtTick60) {
  ASSERT_EQ(PlayTick(), 1);
  EXPECT_EQ(Play.HeadIndex, 1);
  EXPECT_EQ(Play.TrailX[1], 325);
  EXPECT_EQ(Play.TrailY[1], 240);
  EXPECT_EQ(Play.Length, 1);
  // One disc, its top-left corner at (325, 240): the corners of its box are cut off.
  const auto& front = MemoryFrontPixels();
  EXPECT_EQ(std::count(front.begin(), front.end(), Play.BodyColour), 120);
  EXPECT_EQ(FrontAt(325 + 3, 240), Play.BodyColour);
  EXPECT_EQ(FrontAt(325 + 8, 240), Play.BodyColour);
  EXPECT_EQ(FrontAt(325 + 2, 240), kBackground);
  EXPECT_EQ(FrontAt(325, 240 + 3), Play.BodyColour);
  EXPECT_EQ(FrontAt(325 + 11, 240 + 8), Play.BodyColour);
  EXPECT_EQ(FrontAt(325 + 11, 240 + 9), kBackground);

  int ticks = 1;
  while (PlayTick() == 1) ++ticks;
  EXPECT_EQ(ticks + 1, 60);
  EXPECT_EQ(HeadX(), 620);
  EXPECT_EQ(Play.Dead, 1);
  // The fatal tick still presents its frame, with the head at its fatal place.
  EXPECT_EQ(MemoryPresentedFrames().size(), 60u);
  EXPECT_EQ(FrontAt(620 + 3, 240), Play.BodyColour);
}

TEST_F(PlayTickTest, StepsOfEveryHeadingTruncateAndTurnByAQuarterEveryEightHeadings) {
  const std::pair<int, int> firstEight[9] = {{5, 0}, {4, 0}, {4, 1}, {4, 2}, {3, 3},
                                             {2, 4}, {1, 4}, {0, 4}, {0, 5}};
  for (int h = 0; h < kHeadingCount; ++h) {
    StartStage();
    Play.EnemyX = 500;
    Play.EnemyY = 10;
    Play.Heading = static_cast<uint8_t>(h);
    ASSERT_EQ(PlayTick(), 1) << h;
    std::pair<int, int> expected = firstEight[h % 8];
    for (int q = 0; q < h / 8; ++q) expected = {-expected.second, expected.first};
    EXPECT_EQ(std::make_pair(HeadX() - 320, HeadY() - 240), expected) << h;
  }
  // Both turn keys together turn nothing; one turn from 31 wraps to 0.
  MemoryHoldKeys(MemoryKeyTrigger::kRead, MemoryKeyboardReads(), {kKeyLeft, kKeyRight});
  PlayTick();
  EXPECT_EQ(Play.Heading, 31);
  MemoryHoldKeys(MemoryKeyTrigger::kRead, MemoryKeyboardReads(), {kKeyRight});
  PlayTick();
  EXPECT_EQ(Play.Heading, 0);
}

TEST_F(PlayTickTest, TheRingOfTrailSlotsWrapsAndTheBodyIsDrawnAcrossTheWrap) {
  Play.HeadIndex = 4998;
  HeadAt(200, 200);
  Play.Length = 1;
  Play.TargetLength = 3;
  PlayTick();
  PlayTick();
  EXPECT_EQ(Play.HeadIndex, 0);
  EXPECT_EQ(Play.TrailX[0], 210);
  EXPECT_EQ(Play.Length, 3);
  // Slots 0, 4999 and 4998, five pixels apart: 120 pixels per disc less the overlaps, all drawn.
  EXPECT_EQ(FrontAt(200 + 3, 200), Play.BodyColour);
  EXPECT_EQ(FrontAt(210 + 8, 200), Play.BodyColour);
}

TEST_F(PlayTickTest, TheFieldEndsTenPixelsInsideEveryEdgeEvenWithoutTheLock) {
  struct Case {
    int x;
    int y;
    bool dead;
  };
  const Case cases[] = {{618, 240, false}, {619, 240, true}, {300, 458, false}, {300, 459, true},
                        {10, 240, false},  {9, 240, true},   {300, 10, false},  {300, 9, true}};
  for (bool locked : {true, false}) {
    for (const Case& c : cases) {
      HeadAt(c.x, c.y);
      Play.Dead = 0;
      if (locked) LockCanvas();
      ProbeHead();
      UnlockCanvas();
      EXPECT_EQ(Play.Dead, c.dead ? 1 : 0) << c.x << "," << c.y << " locked " << locked;
    }
  }
  // The same through whole ticks: a step from 613 lands on 618, from 614 on 619.
  Play.Dead = 0;
  HeadAt(613, 240);
  EXPECT_EQ(PlayTick(), 1);
  StartStage();
  Play.EnemyX = 100;
  Play.EnemyY = 400;
  HeadAt(614, 240);
  EXPECT_EQ(PlayTick(), 0);
  EXPECT_EQ(Play.Dead, 1);
}

TEST_F(PlayTickTest, TouchingTheEnemyBoxEatsAndTheNextPlaceIsDrawnXThenYThenKind) {
  // The head steps to (400, 240); its box's right edge x + 12 = 412 touches an enemy at x 412.
  HeadAt(395, 240);
  Play.EnemyX = 413;
  Play.EnemyY = 240;
  ASSERT_EQ(PlayTick(), 1);
  EXPECT_EQ(Play.EatenCount, 0);  // one pixel apart: not eaten

  StartStage();
  std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), kBackground);
  HeadAt(395, 300);
  Play.EnemyX = 412;
  Play.EnemyY = 312;  // the head's bottom edge y + 12 touches too
  const int score = Play.Score;
  SeedRandom(77);
  ReferenceRandom ref{77};
  ASSERT_EQ(PlayTick(), 1);
  EXPECT_EQ(Play.EatenCount, 1);
  EXPECT_EQ(Play.Score, score + 100);
  EXPECT_EQ(Play.GrowthStep, 7);
  EXPECT_EQ(Play.TargetLength, 17);
  EXPECT_EQ(Plays(), 1);
  EXPECT_EQ(Play.EnemyX, ref.Next() % 570 + 10);
  EXPECT_EQ(Play.EnemyY, ref.Next() % 420 + 10);
  EXPECT_EQ(Play.EnemyKind, ref.Next() % 2);
  EXPECT_EQ(NextRandom(), ref.Next());
}

TEST_F(PlayTickTest, ANewPlaceIsRedrawnWhileTheLastFrameShowsBodyColourInItsBox) {
  // Predict the first two draws and show body colour in the first one's box only.
  ReferenceRandom ref{5};
  const int x1 = ref.Next() % 570 + 10;
  const int y1 = ref.Next() % 420 + 10;
  ref.Next();
  const int x2 = ref.Next() % 570 + 10;
  const int y2 = ref.Next() % 420 + 10;
  const int k2 = ref.Next() % 2;
  const int px = x1 + 50;  // the box is inclusive: its last column counts
  const int py = y1 + 40;
  ASSERT_FALSE(px >= x2 && px <= x2 + 50 && py >= y2 && py <= y2 + 40);
  Canvas->pixels[py * kScreenWidth + px] = Play.BodyColour;
  SeedRandom(5);
  HeadAt(395, 240);
  Play.EnemyX = 405;
  Play.EnemyY = 240;
  PlayTick();
  EXPECT_EQ(Play.EnemyX, x2);
  EXPECT_EQ(Play.EnemyY, y2);
  EXPECT_EQ(Play.EnemyKind, k2);
  EXPECT_EQ(NextRandom(), ref.Next());
}

TEST_F(PlayTickTest, AFieldWithoutAFreePlaceEndsTheDrawsAndScansForOneOrKeepsTheLastDraw) {
  // Body colour everywhere: 10,000 draws, no free place, the last draw stays.
  std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), Play.BodyColour);
  SeedRandom(9);
  ReferenceRandom ref{9};
  int16_t x = 0;
  int16_t y = 0;
  int16_t kind = 0;
  for (int draw = 0; draw < 10'000; ++draw) {
    x = static_cast<int16_t>(ref.Next() % 570 + 10);
    y = static_cast<int16_t>(ref.Next() % 420 + 10);
    kind = static_cast<int16_t>(ref.Next() % 2);
  }
  HeadAt(395, 240);
  Play.EnemyX = 405;
  Play.EnemyY = 240;
  PlayTick();
  EXPECT_EQ(Play.EatenCount, 1);
  EXPECT_EQ(Play.EnemyX, x);
  EXPECT_EQ(Play.EnemyY, y);
  EXPECT_EQ(Play.EnemyKind, kind);
  EXPECT_EQ(NextRandom(), ref.Next());

  // One free 51x41 box left: the scan finds exactly it.
  StartStage();
  std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), Play.BodyColour);
  for (int row = 200; row <= 240; ++row) {
    std::fill_n(Canvas->pixels.begin() + row * kScreenWidth + 300, 51, kBackground);
  }
  HeadAt(395, 300);
  Play.EnemyX = 405;
  Play.EnemyY = 300;
  PlayTick();
  EXPECT_EQ(Play.EatenCount, 1);
  EXPECT_EQ(Play.EnemyX, 300);
  EXPECT_EQ(Play.EnemyY, 200);
}

TEST_F(PlayTickTest, TheLastEnemyEndsTheAttemptAliveOrDeadAndCountsEitherWay) {
  // The stage's last enemy, once eaten inside the field and once in a step to x 619, out of it.
  for (int x : {395, 614}) {
    StartStage();
    Play.EatenCount = 9;
    HeadAt(x, 240);
    Play.EnemyX = static_cast<int16_t>(std::min(x + 10, 579));
    Play.EnemyY = 230;
    const int score = Play.Score;
    const size_t frames = MemoryPresentedFrames().size();
    EXPECT_EQ(PlayTick(), 0);
    EXPECT_EQ(Play.Dead, x == 614 ? 1 : 0);
    EXPECT_EQ(Play.EatenCount, 10);
    EXPECT_EQ(Play.Score, score + 100);
    EXPECT_EQ(MemoryPresentedFrames().size(), frames + 1);
  }
  EXPECT_EQ(Plays(), 2);
}

TEST_F(PlayTickTest, OneTurnKeyRunsAClosedCircleThatKillsALongSnakeOnly) {
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyLeft});
  Play.TargetLength = 20;
  for (int tick = 1; tick <= 32; ++tick) ASSERT_EQ(PlayTick(), 1) << tick;
  EXPECT_EQ(HeadX(), 320);  // closed: back at the start after 32 ticks
  EXPECT_EQ(HeadY(), 240);
  for (int tick = 33; tick <= 100; ++tick) ASSERT_EQ(PlayTick(), 1) << tick;

  StartStage();
  std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), kBackground);
  Play.EnemyX = 100;
  Play.EnemyY = 400;
  Play.TargetLength = 32;
  int ticks = 1;
  while (PlayTick() == 1 && ticks < 200) ++ticks;
  EXPECT_EQ(Play.Dead, 1);
  EXPECT_EQ(Play.Length, 32);
  // It dies as the circle closes: back at the start, all four probe points on the round just run.
  EXPECT_EQ(ticks, 32);
  EXPECT_EQ(HeadX(), 320);
  EXPECT_EQ(HeadY(), 240);
}

TEST_F(PlayTickTest, BodyColourKillsOnlyUnderAllFourProbePoints) {
  const uint16_t body = Play.BodyColour;
  // A 3x3 spot on the run at y 240: at most one probe point at a time lies on it.
  FillRect(StageBackground, Rect{400, 241, 403, 244}, body);
  for (int tick = 0; tick < 30; ++tick) ASSERT_EQ(PlayTick(), 1) << tick;
  EXPECT_GT(HeadX(), 410);
  // An area shown under all four probe points of the new head kills; under three it does not.
  for (int right : {515, 509}) {
    StartStage();
    Play.EnemyX = 100;
    Play.EnemyY = 400;
    std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), kBackground);
    FillRect(Canvas, Rect{500, 302, right, 311}, body);
    HeadAt(495, 300);
    EXPECT_EQ(PlayTick(), right == 515 ? 0 : 1) << right;
    EXPECT_EQ(HeadX(), 500);
    EXPECT_EQ(Play.Dead, right == 515 ? 1 : 0) << right;
  }
}

TEST_F(PlayTickTest, ScoreDecaysEveryPeriodToZeroAndNotBelowWhileTheBonusAddsInFull) {
  for (int tick = 1; tick < 20; ++tick) PlayTick();
  EXPECT_EQ(Play.Score, 1000);
  PlayTick();
  EXPECT_EQ(Play.Score, 999);
  // At 0 the decay takes nothing, and an enemy eaten in the same tick adds all its points.
  Play.Score = 0;
  Play.DecayCounter = 19;
  HeadAt(Play.TrailX[Play.HeadIndex], 100);
  Play.EnemyX = static_cast<int16_t>(HeadX() + 10);
  Play.EnemyY = 100;
  PlayTick();
  EXPECT_EQ(Play.DecayCounter, 0);
  EXPECT_EQ(Play.Score, 100);
  Play.Score = 0;
  Play.EnemyX = 100;
  Play.EnemyY = 400;
  for (int tick = 0; tick < 30; ++tick) PlayTick();
  EXPECT_EQ(Play.Score, 0);
}

TEST_F(PlayTickTest, LabelAndEightScoreDigitsAreDrawnFromTheirRectangles) {
  // Each pixel of the label sheet says where it came from.
  for (int y = 0; y < kStageLabelSheetHeight; ++y) {
    for (int x = 0; x < kStageLabelSheetWidth; ++x) {
      StageLabelSheet->pixels[y * kStageLabelSheetWidth + x] = static_cast<uint16_t>(1 + y * 200 + x);
    }
  }
  for (uint8_t stage = 0; stage <= 6; ++stage) {
    Play.StageIndex = stage;
    BlitToCanvas(StageBackground, 0, 0, 0, 0, kScreenWidth, kScreenHeight);
    DrawStageLabel();
    const Rect r = kStageLabels[std::min<int>(stage, 5)];
    EXPECT_EQ(CanvasAt(10, 10), 1 + r.top * 200 + r.left) << int{stage};
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    EXPECT_EQ(CanvasAt(10 + w - 1, 10 + h - 1), 1 + (r.bottom - 1) * 200 + r.right - 1) << int{stage};
    EXPECT_EQ(CanvasAt(10 + w, 10), kBackground) << int{stage};
    EXPECT_EQ(CanvasAt(10, 10 + h), kBackground) << int{stage};
  }
  // A black pixel of a digit is transparent.
  DigitSprites[8]->pixels[kDigitSurfaceWidth + 1] = 0;
  for (int32_t score : {12345678, 100000007}) {
    Play.Score = score;
    BlitToCanvas(StageBackground, 0, 0, 0, 0, kScreenWidth, kScreenHeight);
    DrawScore();
    int32_t v = score;
    for (int k = 0; k < 8; ++k) {
      const int x = 615 - 16 * k;
      EXPECT_EQ(CanvasAt(x + 14, 10 + 21), 0x100 + v % 10) << score << " digit " << k;
      if (v % 10 == 8) {
        EXPECT_EQ(CanvasAt(x + 1, 11), kBackground);
      }
      // Only the 15x22 glyph is drawn: the surface's last column and row stay out.
      EXPECT_EQ(CanvasAt(x + 14, 10 + 22), kBackground);
      v /= 10;
    }
    EXPECT_EQ(CanvasAt(615 - 16 * 7 - 1, 10), kBackground);
  }
}

TEST_F(PlayTickTest, EscThenReturnQuitsAndFadesWithoutAStep) {
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyEscape});
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 2, {kKeyReturn});
  EXPECT_EQ(PlayTick(), 0);
  EXPECT_EQ(Play.QuitChosen, 1);
  EXPECT_EQ(Play.HeadIndex, 0);
  EXPECT_EQ(Play.DecayCounter, 0);
  // Two passes of the dialog, then the fade's 33 steps.
  EXPECT_EQ(MemoryPresentedFrames().size(), 2u + 33u);
  EXPECT_TRUE(std::all_of(Canvas->pixels.begin(), Canvas->pixels.end(), [](uint16_t p) { return p == 0; }));
}

TEST_F(PlayTickTest, RightWinsInTheDialogAndTheTickGoesOnFromTheDecay) {
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyEscape});
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 1, {kKeyLeft, kKeyRight});
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 2, {kKeyLeft, kKeyRight, kKeyReturn});
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 3, {});
  EXPECT_EQ(PlayTick(), 1);
  EXPECT_EQ(Play.QuitChosen, 0);
  EXPECT_EQ(Play.HeadIndex, 1);
  EXPECT_EQ(Play.DecayCounter, 1);
  EXPECT_EQ(MemoryPresentedFrames().size(), 3u);
  // The box was on the Canvas for this tick's tests; the new frame's background covers it.
  EXPECT_EQ(FrontAt(kPauseBox.x, kPauseBox.y), kBackground);
}

TEST_F(PlayTickTest, AReturnHeldAsTheDialogOpensEndsItAfterOnePass) {
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyEscape, kKeyReturn, kKeyRight});
  EXPECT_EQ(PlayTick(), 1);
  EXPECT_EQ(Play.QuitChosen, 0);
  EXPECT_EQ(MemoryPresentedFrames().size(), 2u);  // one dialog pass, then the tick's frame
}

TEST_F(PlayTickTest, TheMarkerReachesTheScreenButNeverTheCanvas) {
  BlitToCanvas(StageBackground, 0, 0, 0, 0, kScreenWidth, kScreenHeight);
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyReturn});
  RunPauseDialog();
  EXPECT_EQ(Play.QuitChosen, 1);
  EXPECT_EQ(FrontAt(kQuitMarker.x, kQuitMarker.y), kQuitColour);
  EXPECT_EQ(FrontAt(kGoOnMarker.x, kGoOnMarker.y), kBackground);  // the other marker is not drawn
  EXPECT_EQ(CanvasAt(kQuitMarker.x, kQuitMarker.y), kBackground);
  EXPECT_EQ(CanvasAt(kPauseBox.x, kPauseBox.y), kBoxColour);

  MemoryHoldKeys(MemoryKeyTrigger::kRead, 1, {kKeyReturn, kKeyRight});
  RunPauseDialog();
  EXPECT_EQ(Play.QuitChosen, 0);
  EXPECT_EQ(FrontAt(kGoOnMarker.x, kGoOnMarker.y), kGoOnColour);
  EXPECT_EQ(FrontAt(kQuitMarker.x, kQuitMarker.y), kBackground);
  EXPECT_EQ(CanvasAt(kGoOnMarker.x, kGoOnMarker.y), kBackground);
}

TEST_F(PlayTickTest, AClosedWindowQuitsTheDialogAtOnce) {
  MemoryRequestClose();
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyRight});
  Play.QuitChosen = 0;
  RunPauseDialog();
  EXPECT_EQ(Play.QuitChosen, 1);
  EXPECT_TRUE(MemoryPresentedFrames().empty());
}

TEST_F(PlayTickTest, RefusedLocksFindNothingAndStampNothingButTheBorderStillKills) {
  std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), Play.BodyColour);
  MemoryFailLocks(1);
  EXPECT_FALSE(LockCanvas());
  EXPECT_EQ(RectHasColour(0, 0, 639, 479, Play.BodyColour), 0);
  EXPECT_EQ(CanvasPixels, nullptr);
  // A whole tick on a body-coloured field with both its locks refused: no death, no body drawn.
  MemoryFailLocks(2);
  EXPECT_EQ(PlayTick(), 1);
  const auto& front = MemoryFrontPixels();
  EXPECT_EQ(std::count(front.begin(), front.end(), Play.BodyColour), 0);
  HeadAt(614, 240);
  MemoryFailLocks(2);
  EXPECT_EQ(PlayTick(), 0);
  EXPECT_EQ(Play.Dead, 1);
}

TEST_F(PlayTickTest, RectHasColourScansTheInclusiveBoxAndNothingOutsideTheCanvas) {
  Canvas->pixels[100 * kScreenWidth + 150] = 0x1234;
  ASSERT_TRUE(LockCanvas());
  EXPECT_EQ(RectHasColour(100, 50, 150, 100, 0x1234), 1);
  EXPECT_EQ(RectHasColour(100, 50, 149, 100, 0x1234), 0);
  EXPECT_EQ(RectHasColour(100, 50, 150, 99, 0x1234), 0);
  EXPECT_EQ(RectHasColour(150, 101, 150, 100, 0x1234), 0);  // y0 > y1
  EXPECT_EQ(RectHasColour(151, 100, 150, 100, 0x1234), 0);  // x0 > x1
  EXPECT_EQ(RectHasColour(-5000, -5000, 5000, 5000, 0x1234), 1);
  UnlockCanvas();
}

}  // namespace
}  // namespace coilrun
