// What the SDL device layer's modules share among themselves: the one window and its renderer, the event
// pump, and what the window's own keys do.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

namespace coilrun {

// The main window, or null before it is made.
SDL_Window* SdlMainWindow();

// Shows the frame that the last flip handed over, if it is not on the screen yet, and draws the window
// again where it was uncovered or resized. A flip only hands the frame over, as a display's flip is only
// queued until the retrace; the drawing runs at the device layer's next wait, read or message, so that its
// cost falls inside the game's own waits rather than lengthening its frames.
void SdlPresentPendingFrame();

// Gathers the window system's events into SDL's queue and key state, unless that was done within the last
// millisecond: the waits that read the keys and ask about a close in turn then pump once per pass.
void SdlPumpEvents();

// Waits until window-system input arrives or `timeoutNs` passes, presenting a pending frame first. Where
// there is no connection to wait on, sleeps a few milliseconds at most. The next pump is never skipped.
void SdlWaitForInput(int64_t timeoutNs);

// Switches between the borderless full-screen window and a resizable window; the frame keeps its shape.
void SdlToggleFullScreen();

// Shows `note` in the window's title after the game's name for about 3 s, then the plain title again; a
// new note takes the place of one still shown. The frame is never touched.
void SdlShowTitleNote(const std::string& note);

// The sound keys: turns the volume up (`steps` 1) or down (-1) by a step, unmuting, or mutes or unmutes,
// and shows the new level in the window's title.
void SdlStepSoundLevel(int steps, bool toggleMute);

// Saves the frame on the screen as coilrun-YYYYMMDD-HHMMSS.png in the working directory, never replacing
// a file, and says on the standard output (or error) what came of it.
void SdlSaveScreenshot();

}  // namespace coilrun
