// The game flow: each stage attempt from its intro picture to its banner, and the game's end.
#include "game/game_flow.h"

#include "content/assets.h"
#include "content/shared_sprites.h"
#include "devices/sound.h"
#include "devices/window.h"
#include "display/display.h"
#include "display/fade.h"
#include "game/play_state.h"
#include "game/play_tick.h"
#include "game/score_table.h"

namespace coilrun {

namespace {

// Ticks run since the program started.
uint64_t ticksPlayed = 0;
// The stage (1 to 6) every game starts at in practice, or 0 for real games.
int practiceStage = 0;

// How an attempt's tick loop ended, or that a file failed on the way.
enum class AttemptEnd { kQuit, kDied, kCleared, kClosed, kFailed };

// A picture of the asset table; null, with the failure noted, when it cannot be loaded.
Surface* LoadPicture(AssetIndex asset) {
  Surface* picture = nullptr;
  LoadAsset(asset, &picture);
  return picture;
}

// Shows the stage's intro picture until a key is pressed, then fades to black.
bool ShowIntro() {
  Surface* intro = LoadPicture(static_cast<AssetIndex>(kAssetStage00 + Play.StageIndex));
  if (intro == nullptr) return false;
  BlitPlacementToCanvas(intro, kFullScreen, false);
  ReleaseSurface(intro);
  PresentFrame();
  WaitForAnyKey();
  FadeScreen(0);
  return true;
}

// The loop of ticks; a quit message taken by the pump is seen at the top of the next pass.
void RunTicks() {
  for (;;) {
    if (QuitMessageSeen() || CloseRequested()) return;
    if (PumpOneMessage() && LastMessage.code == kMessageKillFocus) RequestPause();
    ++ticksPlayed;
    if (PlayTick() == 0) return;
  }
}

// One attempt at the current stage, up to the end of its tick loop. StageBackground and PlaySheet are
// released on every path but a finished attempt's, whose sheet still holds the banner.
AttemptEnd RunAttempt() {
  StageBackground = LoadPicture(static_cast<AssetIndex>(kAssetBg00 + Play.StageIndex));
  if (StageBackground == nullptr) return AttemptEnd::kFailed;
  if (!ShowIntro() || !SwapEffect(kAssetEatWav)) {
    ReleaseSurface(StageBackground);
    return AttemptEnd::kFailed;
  }
  const uint16_t white = PackColor(255, 255, 255);
  SetSourceColorKey(EnemySprite1, white);
  SetSourceColorKey(EnemySprite2, white);
  StartStage();
  PlaySheet = LoadPicture(kAssetData);
  if (PlaySheet == nullptr) {
    ReleaseSurface(StageBackground);
    return AttemptEnd::kFailed;
  }
  SetSourceColorKey(PlaySheet, PackColor(0, 0, 0));
  if (!CloseRequested()) RunTicks();
  ReleaseSurface(StageBackground);
  AttemptEnd end = AttemptEnd::kCleared;
  if (Play.QuitChosen != 0) {
    end = AttemptEnd::kQuit;
  } else if (CloseRequested()) {
    end = AttemptEnd::kClosed;
  } else if (Play.Dead != 0) {
    end = AttemptEnd::kDied;
  }
  if (end == AttemptEnd::kQuit || end == AttemptEnd::kClosed) ReleaseSurface(PlaySheet);
  return end;
}

// The death or clear banner over the attempt's last frame, its sound, and the wait for a key.
bool ShowBanner(AttemptEnd end) {
  const bool died = end == AttemptEnd::kDied;
  if (!SwapEffect(died ? kAssetDieWav : kAssetClearWav)) {
    ReleaseSurface(PlaySheet);
    return false;
  }
  if (died) {
    Play.Lives = static_cast<int8_t>(Play.Lives - 1);
  } else {
    Play.StageIndex = static_cast<uint8_t>(Play.StageIndex + 1);
  }
  PlayEffect(0);
  BlitPlacementToCanvas(PlaySheet, died ? kDeathBanner : kClearBanner, true);
  ReleaseSurface(PlaySheet);
  PresentFrame();
  WaitForAnyKey();
  FadeScreen(0);
  return true;
}

// Offers the game's score to the table, unless it is a practice game: the table is for games played from
// the first stage.
void RecordUnlessPractice() {
  if (practiceStage == 0) RecordScore(Play.Score);
}

// A game cut short by a data file that cannot be loaded: its score is offered to the table first, as a
// closed window's is.
int EndCutShort() {
  RecordUnlessPractice();
  return 0;
}

}  // namespace

uint64_t TicksPlayed() {
  return ticksPlayed;
}

void SetPracticeStage(int stage) { practiceStage = stage >= 1 && stage <= kStageCount ? stage : 0; }

int PlayGame() {
  StartGame();
  if (practiceStage != 0) Play.StageIndex = static_cast<uint8_t>(practiceStage - 1);
  for (;;) {
    const AttemptEnd end = RunAttempt();
    if (end == AttemptEnd::kFailed) return EndCutShort();
    // The player's quit, and a window closed mid-game, end the game at once with the score recorded.
    if (end == AttemptEnd::kQuit || end == AttemptEnd::kClosed) break;
    if (!ShowBanner(end)) return EndCutShort();
    if (CloseRequested() || Play.Lives < 0 || Play.StageIndex >= kStageCount) break;
  }
  RecordUnlessPractice();
  if (CloseRequested()) return 1;
  return RunHighScoreScreen();
}

void ResetGameFlow() {
  ticksPlayed = 0;
  practiceStage = 0;
}

}  // namespace coilrun
