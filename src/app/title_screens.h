// The logo screen and the main menu that every pass of the screen loop shows.
#pragma once

#include <array>
#include <cstdint>

#include "content/assets.h"

namespace coilrun {

// The menu's selection and the next screen: 0 play, 1 back to the logo, 2 high scores, 3 exit.
extern uint8_t ScreenMode;

inline constexpr uint8_t kModePlay = 0;
inline constexpr uint8_t kModeTitle = 1;
inline constexpr uint8_t kModeHighScores = 2;
inline constexpr uint8_t kModeExit = 3;
inline constexpr int kMenuEntryCount = 4;

// How long each menu frame waits after it is shown.
inline constexpr uint32_t kMenuFrameDelayMs = 50;

// One entry of the menu: its label in "DATA.DAT" and where it is drawn.
struct MenuEntry {
  Placement label;
};

inline constexpr std::array<MenuEntry, kMenuEntryCount> MenuEntries = {{
    {kMenuLabels[kModePlay]},
    {kMenuLabels[kModeTitle]},
    {kMenuLabels[kModeHighScores]},
    {kMenuLabels[kModeExit]},
}};

// Shows "LOGO.DAT" until a key is held, then fades it to black. 0 when the picture cannot be loaded.
int RunLogoScreen();

// Runs the menu until an entry is confirmed with Return or the quit message is seen; the selection is left
// in ScreenMode. 0 when one of its files cannot be loaded.
int RunMainMenu();

// The menu's selection as a fresh process has it.
void ResetTitleScreens();

}  // namespace coilrun
