// The entry: start-up, the screen loop over logo, menu and the chosen screen, and shut-down.
#include "app/entry.h"

#include <cstdio>

#include "app/failure.h"
#include "app/score_table.h"
#include "app/shared_sprites.h"
#include "app/title_screens.h"
#include "app/window.h"
#include "app/window_device.h"
#include "devices/keyboard.h"
#include "devices/sound.h"
#include "display/display.h"
#include "game/game_flow.h"
#include "game/play_state.h"

namespace coilrun {

namespace {

// Prints the failure, gives back what start-up made, and gives the status for a failed run.
int EndWithFailure() {
  std::fprintf(stderr, "coilrun: %s\n", FailureMessage().c_str());
  ShutDown();
  return 1;
}

// The screen chosen in the menu. False when the program must end on a failure.
bool RunChosenScreen() {
  if (ScreenMode == kModePlay) return PlayGame() != 0;
  if (ScreenMode == kModeHighScores && RunHighScoreScreen() == 0) {
    // Chosen from the menu, a high-score screen that cannot show goes back to the logo.
    std::fprintf(stderr, "coilrun: %s; back to the logo\n", FailureMessage().c_str());
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

int RunCoilrun(int, char**) {
  ClearFailure();
  DeviceHideCursor();
  if (!StartUp()) return EndWithFailure();
  // The screen loop. A closed window ends it from any screen, as Exit does.
  for (;;) {
    if (CloseRequested()) break;
    if (RunLogoScreen() == 0) return EndWithFailure();
    if (CloseRequested()) break;
    if (RunMainMenu() == 0) return EndWithFailure();
    if (CloseRequested()) break;
    if (!RunChosenScreen()) return EndWithFailure();
    if (ScreenMode == kModeExit) break;
  }
  ShutDown();
  return CloseRequested() ? 0 : static_cast<int>(LastMessage.wParam);
}

}  // namespace coilrun
