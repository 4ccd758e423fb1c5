// The logo screen and the main menu.
#include "app/title_screens.h"

#include "devices/delay.h"
#include "devices/keyboard.h"
#include "devices/sound.h"
#include "devices/window.h"
#include "display/display.h"
#include "display/fade.h"

namespace coilrun {

uint8_t ScreenMode = kModePlay;

namespace {

// One menu frame: steer, draw, present, wait. True when Return was held in this frame's keys.
bool RunMenuFrame(const Surface* background, const Surface* sheet) {
  PumpOneMessage();
  RestoreSurfaces();
  ReadKeyboard();
  if (KeyHeld(kKeyUp)) {
    ScreenMode = ScreenMode == 0 ? kModeExit : static_cast<uint8_t>(ScreenMode - 1);
    PlayEffect(0);
  }
  if (KeyHeld(kKeyDown)) {
    ScreenMode = ScreenMode == kModeExit ? 0 : static_cast<uint8_t>(ScreenMode + 1);
    PlayEffect(0);
  }
  BlitPlacementToCanvas(background, kFullScreen, false);
  BlitPlacementToCanvas(sheet, MenuEntries[ScreenMode].label, true);
  PresentFrame();
  DelayMs(kMenuFrameDelayMs);
  return KeyHeld(kKeyReturn);
}

}  // namespace

int RunLogoScreen() {
  Surface* logo = nullptr;
  if (!LoadAsset(kAssetLogo, &logo)) return 0;
  BlitPlacementToCanvas(logo, kFullScreen, false);
  PresentFrame();
  WaitForAnyKey();
  FadeScreen(0);
  ReleaseSurface(logo);
  return 1;
}

int RunMainMenu() {
  Surface* background = nullptr;
  if (!LoadAsset(kAssetMenu, &background)) return 0;
  Surface* sheet = nullptr;
  if (!LoadAsset(kAssetData, &sheet)) {
    ReleaseSurface(background);
    return 0;
  }
  SetSourceColorKey(sheet, PackColor(0, 0, 0));
  bool ok = SwapEffect(kAssetMenu1Wav);
  ScreenMode = kModePlay;
  // The keyboard is not read again after the frame's wait: Return confirms what that frame showed.
  while (ok && !QuitMessageSeen() && !ReplayInterrupted()) {
    if (RunMenuFrame(background, sheet)) {
      ok = SwapEffect(ScreenMode == kModeExit ? kAssetMenu3Wav : kAssetMenu2Wav);
      if (ok) PlayEffect(0);
      break;
    }
  }
  ReleaseSurface(sheet);
  ReleaseSurface(background);
  return ok ? 1 : 0;
}

void ResetTitleScreens() {
  ScreenMode = kModePlay;
}

}  // namespace coilrun
