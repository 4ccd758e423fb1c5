// One frame of play: steering, the pause dialog, the score's decay, the step, eating and collisions from
// the last frame's pixels, growth, drawing and presenting, and the wait.
#include "game/play_tick.h"

#include <algorithm>
#include <array>
#include <vector>

#include "content/assets.h"
#include "content/shared_sprites.h"
#include "devices/delay.h"
#include "devices/keyboard.h"
#include "devices/sound.h"
#include "devices/window.h"
#include "display/fade.h"
#include "game/play_state.h"

namespace coilrun {

Surface* StageBackground = nullptr;
Surface* PlaySheet = nullptr;

namespace {

// Set when the next tick is to open the pause dialog without Esc.
bool pauseRequested = false;
// Whether frames show the lives and the creatures left.
bool hudShown = false;
// The pause dialog's first marked choice: Esc marks quit, a lost focus go on.
constexpr uint8_t kQuitFirst = 1;
constexpr uint8_t kGoOnFirst = 0;
// The HUD's digits: the lives, then a gap, then two digits of creatures left, right of the widest stage
// label, on the score's row.
constexpr int16_t kHudLivesX = 176;
constexpr int16_t kHudCreaturesX = 208;
constexpr int kHudCreatureDigits = 2;
// PlayEffect's argument for a single play.
constexpr int kPlayOnce = 0;
// The colour a quitting player's screen fades to.
constexpr uint16_t kFadeToBlack = 0;
// Every enemy eaten makes the next one lengthen the snake by this much more.
constexpr int16_t kGrowthStepIncrease = 2;
// The four probe points of a head lie this far into its 12x12 box, on both axes.
constexpr int kProbeNear = 2;
constexpr int kProbeFar = 10;
// Enemy places drawn before the search for a free one turns systematic. On a field with room, the
// draws find one within a handful of tries; only a field with no free place at all runs out.
constexpr int kMaxEnemyDraws = 10'000;

// The trail slot `back` places behind the newest.
int TrailSlotBehind(int back) {
  const int slot = Play.HeadIndex - back;
  return slot < 0 ? slot + kTrailSlots : slot;
}

void BlitKeyed(const Surface* source, const Rect& rect, int16_t x, int16_t y) {
  BlitToCanvasKeyed(source, x, y, static_cast<int16_t>(rect.left), static_cast<int16_t>(rect.top),
                    static_cast<int16_t>(rect.right), static_cast<int16_t>(rect.bottom));
}

void TurnSnake() {
  constexpr uint8_t kLastHeading = kHeadingCount - 1;
  if (KeyHeld(kKeyLeft)) {
    Play.Heading = Play.Heading == 0 ? kLastHeading : static_cast<uint8_t>(Play.Heading - 1);
  }
  if (KeyHeld(kKeyRight)) {
    Play.Heading = Play.Heading == kLastHeading ? 0 : static_cast<uint8_t>(Play.Heading + 1);
  }
}

void DecayScore() {
  ++Play.DecayCounter;
  if (Play.DecayCounter >= CurrentStageRow().DecayPeriod) {
    Play.Score = std::max(Play.Score - 1, 0);
    Play.DecayCounter = 0;
  }
}

// The table value times the speed is exact in single precision; the cast truncates toward zero.
int16_t StepAlong(float direction) {
  return static_cast<int16_t>(direction * Play.Speed);
}

void StepHead() {
  const int previous = Play.HeadIndex;
  Play.HeadIndex = static_cast<int16_t>((previous + 1) % kTrailSlots);
  Play.TrailX[Play.HeadIndex] =
      static_cast<int16_t>(Play.TrailX[previous] + StepAlong(CosTable[Play.Heading]));
  Play.TrailY[Play.HeadIndex] =
      static_cast<int16_t>(Play.TrailY[previous] + StepAlong(SinTable[Play.Heading]));
}

bool InEnemyBox(int x, int y) {
  return x >= Play.EnemyX && x <= Play.EnemyX + kEnemyBoxSpanX && y >= Play.EnemyY &&
         y <= Play.EnemyY + kEnemyBoxSpanY;
}

bool HeadEatsEnemy() {
  const int x = Play.TrailX[Play.HeadIndex];
  const int y = Play.TrailY[Play.HeadIndex];
  return InEnemyBox(x, y) || InEnemyBox(x + kSegmentSize, y) || InEnemyBox(x, y + kSegmentSize) ||
         InEnemyBox(x + kSegmentSize, y + kSegmentSize);
}

bool EnemyBoxHasBody() {
  return RectHasColour(Play.EnemyX, Play.EnemyY, static_cast<int16_t>(Play.EnemyX + kEnemyBoxSpanX),
                       static_cast<int16_t>(Play.EnemyY + kEnemyBoxSpanY), Play.BodyColour) != 0;
}

void DrawEnemyPlace() {
  Play.EnemyX = static_cast<int16_t>(NextRandom() % kEnemyRangeX + kEnemyPlaceMin);
  Play.EnemyY = static_cast<int16_t>(NextRandom() % kEnemyRangeY + kEnemyPlaceMin);
  Play.EnemyKind = static_cast<uint8_t>(NextRandom() % kEnemyKinds);
}

// The first place of the placement range, row by row from the top, whose box holds no body-coloured
// pixel, found through a table of body-pixel counts so that each box costs four reads. Keeps the last
// drawn place when there is none.
void FindFreeEnemyPlace() {
  if (CanvasPixels == nullptr) return;
  constexpr int kStride = kScreenWidth + 1;
  // counts[y * kStride + x]: body-coloured pixels above row y and left of column x.
  std::vector<uint32_t> counts(static_cast<size_t>(kStride) * (kScreenHeight + 1), 0);
  for (int y = 0; y < kScreenHeight; ++y) {
    uint32_t rowCount = 0;
    for (int x = 0; x < kScreenWidth; ++x) {
      rowCount += CanvasPixels[y * kScreenWidth + x] == Play.BodyColour ? 1 : 0;
      counts[(y + 1) * kStride + x + 1] = counts[y * kStride + x + 1] + rowCount;
    }
  }
  for (int y = kEnemyPlaceMin; y < kEnemyPlaceMin + kEnemyRangeY; ++y) {
    const int bottom = y + kEnemyBoxSpanY + 1;
    for (int x = kEnemyPlaceMin; x < kEnemyPlaceMin + kEnemyRangeX; ++x) {
      const int right = x + kEnemyBoxSpanX + 1;
      const uint32_t inBox = counts[bottom * kStride + right] - counts[y * kStride + right] -
                             counts[bottom * kStride + x] + counts[y * kStride + x];
      if (inBox == 0) {
        Play.EnemyX = static_cast<int16_t>(x);
        Play.EnemyY = static_cast<int16_t>(y);
        return;
      }
    }
  }
}

// Draws places until one whose box showed no body colour in the last frame turns up: the new enemy never
// appears on the body. The draws are bounded, since a field with no free place would never give one.
void PlaceNewEnemy() {
  for (int draw = 0; draw < kMaxEnemyDraws; ++draw) {
    DrawEnemyPlace();
    if (!EnemyBoxHasBody()) return;
  }
  FindFreeEnemyPlace();
}

void EatEnemy() {
  PlayEffect(kPlayOnce);
  Play.GrowthStep = static_cast<int16_t>(Play.GrowthStep + kGrowthStepIncrease);
  Play.TargetLength = static_cast<int16_t>(Play.TargetLength + Play.GrowthStep);
  ++Play.EatenCount;
  Play.Score += CurrentStageRow().PointsPerEnemy;
  PlaceNewEnemy();
}

// One HUD digit at (x, y), pixel by pixel into the locked Canvas: its key colour and the body colour are
// never drawn, and a body-coloured pixel beneath is never covered.
void PutHudDigit(int digit, int16_t x, int16_t y) {
  const Surface* sprite = DigitSprites[static_cast<size_t>(digit)];
  const int width = std::min<int>(kDigitRect.right, sprite->width);
  const int height = std::min<int>(kDigitRect.bottom, sprite->height);
  for (int r = 0; r < height; ++r) {
    uint16_t* row = CanvasPixels + (y + r) * kScreenWidth + x;
    for (int c = 0; c < width; ++c) {
      const uint16_t pixel = sprite->pixels[static_cast<size_t>(r * sprite->width + c)];
      const bool keyed = sprite->hasColorKey && pixel == sprite->colorKey;
      if (!keyed && pixel != Play.BodyColour && row[c] != Play.BodyColour) row[c] = pixel;
    }
  }
}

void DrawFrame() {
  BlitPlacementToCanvas(StageBackground, kFullScreen, false);
  DrawStageLabel();
  DrawScore();
  if (hudShown) {
    LockCanvas();
    DrawHud();
    UnlockCanvas();
  }
  BlitKeyed(Play.EnemyKind == 0 ? EnemySprite1 : EnemySprite2, kEnemyRect, Play.EnemyX, Play.EnemyY);
  LockCanvas();
  StampBody();
  UnlockCanvas();
}

bool OnCanvas(int x, int y) {
  return x >= 0 && y >= 0 && x < kScreenWidth && y < kScreenHeight;
}

bool OnBody(int x, int y) {
  return OnCanvas(x, y) && CanvasPixels[y * kScreenWidth + x] == Play.BodyColour;
}

// One disc with its top-left pixel at (x, y). `keep` is all ones where the disc has no pixel, `fill` the
// body colour where it has one, so that a row is one branch-free blend.
void StampDisc(int x, int y, const std::array<uint16_t, kSegmentSize * kSegmentSize>& keep,
               const std::array<uint16_t, kSegmentSize * kSegmentSize>& fill) {
  if (x >= 0 && y >= 0 && x + kSegmentSize <= kScreenWidth && y + kSegmentSize <= kScreenHeight) {
    for (int r = 0; r < kSegmentSize; ++r) {
      uint16_t* row = CanvasPixels + (y + r) * kScreenWidth + x;
      for (int c = 0; c < kSegmentSize; ++c) {
        row[c] = static_cast<uint16_t>((row[c] & keep[r * kSegmentSize + c]) | fill[r * kSegmentSize + c]);
      }
    }
    return;
  }
  // A disc reaching past the Canvas loses what lies outside it.
  for (int r = 0; r < kSegmentSize; ++r) {
    for (int c = 0; c < kSegmentSize; ++c) {
      if (DiscMask[r * kSegmentSize + c] != 0 && OnCanvas(x + c, y + r)) {
        CanvasPixels[(y + r) * kScreenWidth + x + c] = Play.BodyColour;
      }
    }
  }
}

}  // namespace

int RectHasColour(int16_t x0, int16_t y0, int16_t x1, int16_t y1, uint16_t colour) {
  if (CanvasPixels == nullptr) return 0;
  // Only the part of the rectangle on the Canvas can hold a pixel.
  const int left = std::max<int>(x0, 0);
  const int right = std::min<int>(x1, kScreenWidth - 1);
  const int top = std::max<int>(y0, 0);
  const int bottom = std::min<int>(y1, kScreenHeight - 1);
  if (left > right) return 0;
  for (int y = top; y <= bottom; ++y) {
    const uint16_t* row = CanvasPixels + y * kScreenWidth;
    if (std::find(row + left, row + right + 1, colour) != row + right + 1) return 1;
  }
  return 0;
}

void ProbeHead() {
  const int x = Play.TrailX[Play.HeadIndex];
  const int y = Play.TrailY[Play.HeadIndex];
  if (CanvasPixels != nullptr && OnBody(x + kProbeNear, y + kProbeNear) &&
      OnBody(x + kProbeFar, y + kProbeNear) && OnBody(x + kProbeNear, y + kProbeFar) &&
      OnBody(x + kProbeFar, y + kProbeFar)) {
    Play.Dead = 1;
  }
  if (x < kFieldLeft || y < kFieldTop || x + kSegmentSize > kFieldRight || y + kSegmentSize > kFieldBottom) {
    Play.Dead = 1;
  }
}

void StampBody() {
  if (CanvasPixels == nullptr) return;
  std::array<uint16_t, kSegmentSize * kSegmentSize> keep{};
  std::array<uint16_t, kSegmentSize * kSegmentSize> fill{};
  for (size_t i = 0; i < DiscMask.size(); ++i) {
    keep[i] = DiscMask[i] != 0 ? 0 : 0xFFFF;
    fill[i] = DiscMask[i] != 0 ? Play.BodyColour : 0;
  }
  const int length = std::min<int>(Play.Length, kTrailSlots);
  for (int i = 0; i < length; ++i) {
    const int slot = TrailSlotBehind(i);
    StampDisc(Play.TrailX[slot], Play.TrailY[slot], keep, fill);
  }
}

void DrawStageLabel() {
  const size_t label = std::min<size_t>(Play.StageIndex, kStageLabels.size() - 1);
  BlitKeyed(StageLabelSheet, kStageLabels[label], kStageLabelX, kStageLabelY);
}

void DrawScore() {
  // The score is never negative; eight digits with leading zeros, the low ones when it has more.
  DrawDigits(static_cast<uint32_t>(Play.Score), kScoreDigitCount, kScoreDigitsRightX, kScoreDigitsY,
             BlitDigit);
}

void ShowHud(bool shown) { hudShown = shown; }

void DrawHud() {
  if (CanvasPixels == nullptr) return;
  // Lives counts the spare attempts, -1 only after the game's last death.
  const int lives = std::clamp(Play.Lives + 1, 0, 9);
  DrawDigits(static_cast<uint32_t>(lives), 1, kHudLivesX, kScoreDigitsY, PutHudDigit);
  const int left = std::clamp(CurrentStageRow().EnemiesToClear - Play.EatenCount, 0, 99);
  DrawDigits(static_cast<uint32_t>(left), kHudCreatureDigits,
             static_cast<int16_t>(kHudCreaturesX + kDigitStride * (kHudCreatureDigits - 1)), kScoreDigitsY,
             PutHudDigit);
}

void RunPauseDialog(uint8_t firstChoice) {
  Play.QuitChosen = firstChoice;
  do {
    // A window asked to close takes the dialog's quit at once, whatever the keys say.
    if (CloseRequested()) {
      Play.QuitChosen = 1;
      return;
    }
    RestoreSurfaces();
    ReadKeyboard();
    BlitPlacementToCanvas(PlaySheet, kPauseBox, true);
    CopyCanvasToBack();
    if (KeyHeld(kKeyLeft)) Play.QuitChosen = 1;
    if (KeyHeld(kKeyRight)) Play.QuitChosen = 0;
    // The marker goes to the back buffer only, so the Canvas, and with it the next tick's tests, never
    // hold it.
    const Placement& marker = Play.QuitChosen != 0 ? kQuitMarker : kGoOnMarker;
    const Rect& r = marker.source;
    BlitToBackKeyed(PlaySheet, marker.x, marker.y, static_cast<int16_t>(r.left), static_cast<int16_t>(r.top),
                    static_cast<int16_t>(r.right), static_cast<int16_t>(r.bottom));
    FlipScreen();
  } while (!KeyHeld(kKeyReturn));
}

void RequestPause() { pauseRequested = true; }

int PlayTick() {
  // 1. Recover lost surfaces, read the keys.
  RestoreSurfaces();
  ReadKeyboard();
  // 2. Turn one heading per held key; both together cancel out.
  TurnSnake();
  // 3. Esc opens the pause dialog, as does a lost focus; quitting there fades out and ends the attempt
  // without a step.
  if (KeyHeld(kKeyEscape) || pauseRequested) {
    const uint8_t firstChoice = KeyHeld(kKeyEscape) ? kQuitFirst : kGoOnFirst;
    pauseRequested = false;
    RunPauseDialog(firstChoice);
    if (Play.QuitChosen != 0) {
      FadeScreen(kFadeToBlack);
      return 0;
    }
  }
  // 4. The score decays.
  DecayScore();
  // 5. The head steps on.
  StepHead();
  // 6. The tests that follow read the frame shown last.
  LockCanvas();
  // 7, 8. Eating: the numbers decide it, the last frame's pixels where the next enemy goes.
  if (HeadEatsEnemy()) EatEnemy();
  // 9. Growth, one segment a tick.
  if (Play.TargetLength > Play.Length) ++Play.Length;
  // 10. Collision with the body colour and the field's border.
  ProbeHead();
  // 11. The tests are done.
  UnlockCanvas();
  // 12. The new frame: background, label, score, enemy, and the body over them all.
  DrawFrame();
  // 13. Show it, and wait the stage's delay: the pace of play.
  PresentFrame();
  DelayMs(Play.FrameDelay);
  // 14. A death ends the attempt even in the tick that eats the last enemy.
  if (Play.Dead != 0) return 0;
  return Play.EatenCount < CurrentStageRow().EnemiesToClear ? 1 : 0;
}

void ResetPlayTick() {
  ReleaseSurface(StageBackground);
  ReleaseSurface(PlaySheet);
  pauseRequested = false;
  hudShown = false;
}

}  // namespace coilrun
