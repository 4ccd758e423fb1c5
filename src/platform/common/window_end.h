// What the window layers share: the window's end as the program sees it, and the timing of a note shown
// after the window's title.
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

}  // namespace coilrun
