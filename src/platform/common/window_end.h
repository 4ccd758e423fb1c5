// What the window layers share: the window's end as the program sees it, the timing of a note shown
// after the window's title, and the size of a window on the desktop.
#pragma once

#include <cstdint>
#include <optional>

#include "devices/message.h"

namespace coilrun {

// The program's side of the window's end.
struct WindowEnd {
  bool quitPosted = false;  // a quit message posted by the program and not yet taken
  uint64_t quitExitCode = 0;
  bool windowGone = false;  // the window is destroyed in the program's eyes: only the quit message follows
  bool closeRequested = false;  // a request to close has arrived, before the program takes the message
};

// Notes a quit message for the program to take once the window is gone.
void PostQuitAfterWindow(WindowEnd* end, uint64_t exitCode);

// Once the window is gone, the peek's answer: the posted quit message once, then nothing. Empty while the
// window lives, for the layer to peek its own messages.
std::optional<bool> PeekAfterWindowGone(WindowEnd* end, Message* message);

// Starts a title note that lasts `lengthNs` from the clock's present time, ending any shown before.
void StartTitleNote(int64_t* noteEndsNs, int64_t lengthNs);

// True, once, when the note shown has run out at `nowNs`: the layer then shows the plain title again.
bool TitleNoteRanOut(int64_t* noteEndsNs, int64_t nowNs);

// A window's inner size in pixels.
struct WindowSize {
  int width = 0;
  int height = 0;
};

// The size a window is given on a desktop of `desktop` whose area free of panels is `area`: the size asked
// for (by the settings, or before a switch to full screen) where one was asked and it fits in that area,
// else the largest whole multiple of 640x480 that leaves a tenth of the desktop for the panels and the
// frame. A size kept from a larger screen would put the window's title bar and edges out of reach.
WindowSize WindowedSizeOn(WindowSize asked, WindowSize area, WindowSize desktop);

}  // namespace coilrun
