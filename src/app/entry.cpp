// The entry: start-up, the screen loop over logo, menu and the chosen screen, and shut-down.
#include "app/entry.h"

#include <cstdio>
#include <string>

#include "app/data_dir.h"
#include "app/options.h"
#include "app/settings.h"
#include "app/title_screens.h"
#include "content/shared_sprites.h"
#include "devices/clock_device.h"
#include "devices/delay.h"
#include "devices/failure.h"
#include "devices/input_record.h"
#include "devices/keyboard.h"
#include "devices/sound.h"
#include "devices/version.h"
#include "devices/window.h"
#include "devices/window_device.h"
#include "display/display.h"
#include "game/game_flow.h"
#include "game/play_state.h"
#include "game/play_tick.h"
#include "game/score_table.h"

namespace coilrun {

namespace {

// Prints the failure, gives back what start-up made, and gives the status for a failed run.
int EndWithFailure() {
  ReportFailure(FailureMessage());
  ShutDown();
  return 1;
}

// The screen chosen in the menu. False when the program must end on a failure.
bool RunChosenScreen() {
  if (ScreenMode == kModePlay) return PlayGame() != 0;
  if (ScreenMode == kModeHighScores && RunHighScoreScreen() == 0) {
    // Chosen from the menu, a high-score screen that cannot show goes back to the logo.
    ReportFailure(FailureMessage() + "; back to the logo");
    ClearFailure();
  }
  return true;
}

}  // namespace

bool StartUp() {
  if (!InitDisplay()) {
    NoteFailure("cannot set up the display", DevicePlatformError());
    return false;
  }
  if (!InitSound()) {
    NoteFailure("cannot open the sound device", DevicePlatformError());
    return false;
  }
  if (!InitKeyboard()) {
    NoteFailure("cannot read the keyboard", DevicePlatformError());
    return false;
  }
  BuildDirectionTables();
  if (!LoadSharedSprites()) {
    NoteFailure("cannot make the shared sprites", "a picture or surface could not be had");
    return false;
  }
  return true;
}

void ShutDown() {
  ReleaseSharedSprites();
  ReleaseKeyboard();
  FreeEffect();
  ReleaseSound();
  ReleaseDisplay();
}

namespace {

// Exit's sound plays out before shut-down silences it: its length in steps of this many milliseconds, and
// a few steps more for the audio device's own buffer. A request to close ends the wait at once.
constexpr uint32_t kPlayOutStepMs = 10;
constexpr uint32_t kPlayOutSlackSteps = 5;

void LetEffectPlayOut() {
  const uint32_t steps = (EffectLengthMs() + kPlayOutStepMs - 1) / kPlayOutStepMs + kPlayOutSlackSteps;
  for (uint32_t step = 0; step < steps && !CloseRequested(); ++step) DelayMs(kPlayOutStepMs);
}

// The screen loop over a started game. A closed window ends it from any screen, as Exit does.
int RunScreens() {
  // What the player changes on a screen (the window, the sound) is kept as soon as that screen ends.
  for (;;) {
    if (CloseRequested()) break;
    if (RunLogoScreen() == 0) return EndWithFailure();
    SaveSettings();
    if (CloseRequested()) break;
    if (RunMainMenu() == 0) return EndWithFailure();
    SaveSettings();
    if (CloseRequested()) break;
    if (!RunChosenScreen()) return EndWithFailure();
    SaveSettings();
    if (ScreenMode == kModeExit) {
      LetEffectPlayOut();
      break;
    }
  }
  ShutDown();
  return CloseRequested() ? 0 : static_cast<int>(LastMessage.wParam);
}

// Sets up recording or replaying as the options ask; false, with the reason printed, when it cannot.
bool StartInputLog(const Options& options) {
  if (!options.replay.empty()) {
    std::string error;
    if (StartReplay(options.replay, options.timedemo, &error)) return true;
    ReportFailure("cannot replay", error);
    return false;
  }
  std::string why;
  if (!options.record.empty() && !StartRecording(options.record, &why)) {
    ReportFailure("cannot record to " + options.record, why);
    return false;
  }
  return true;
}

void ReportReplay(int64_t startNs) {
  const double seconds = static_cast<double>(DeviceClockNanoseconds() - startNs) / 1e9;
  const uint64_t ticks = TicksPlayed();
  std::printf("replay: %llu ticks in %.2f s (%.0f ticks per second)\n",
              static_cast<unsigned long long>(ticks), seconds,
              seconds > 0 ? static_cast<double>(ticks) / seconds : 0.0);
  std::printf("final: stage %d lives %d score %d\n", Play.StageIndex, Play.Lives, Play.Score);
  // The table the game would have saved: a replay leaves SCORE.DAT as it found it.
  std::printf("table:");
  for (int place = 0; place < kScoreTablePlaces; ++place) std::printf(" %d", TopScore(place));
  std::printf("\n");
}

// Ends recording or replaying. A recording that could not be written, and a replay whose recording ran out
// before its game ended, make a run that went well a failure, with one line that says so.
int FinishInputLog(const Options& options, int status, int64_t startNs) {
  const bool replayed = Replaying();
  const bool ranOut = ReplayFinished();
  const std::string writeError = FinishRecordingOrReplay();
  if (replayed) ReportReplay(startNs);
  if (!writeError.empty()) {
    ReportFailure("cannot write the recording " + options.record, writeError);
    return 1;
  }
  if (ranOut && status == 0) {
    ReportFailure("the recording " + options.replay + " ran out before its game ended");
    return 1;
  }
  return status;
}

}  // namespace

int RunCoilrun(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  if (!options.error.empty()) {
    ReportFailure(options.error + " (coilrun --help lists the options)");
    return 2;
  }
  if (options.help) {
    std::fputs(UsageText(), stdout);
    return 0;
  }
  if (options.version) {
    std::puts("coilrun " COILRUN_VERSION);
    return 0;
  }
  if (!StartInputLog(options)) return 1;
  std::string dataError;
  if (!ChooseDataDirectory(&dataError)) {
    ReportFailure("cannot set up the data folder", dataError);
    FinishRecordingOrReplay();
    return 1;
  }
  LoadSettings(options);
  SetPracticeStage(options.stage);
  const int64_t startNs = DeviceClockNanoseconds();
  ClearFailure();
  ForgetScoreFileFailure();
  DeviceHideCursor();
  int status = StartUp() ? RunScreens() : EndWithFailure();
  // A score that could not be kept ends the run as a failure, its line printed when it happened.
  if (ScoreFileFailed()) status = 1;
  SaveSettings();
  return FinishInputLog(options, status, startNs);
}

}  // namespace coilrun
