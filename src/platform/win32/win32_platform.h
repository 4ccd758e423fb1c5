// What the Windows device layer's modules share among themselves: the one window, its message pump, the
// keys it has seen, the wait for input, and what the window's own keys do.
#pragma once

#include "platform/common/win32_text.h"
// After windows.h, which they build on: the wave-out device and the timer period, the controllers.
#include <mmsystem.h>
#include <xinput.h>

#include <cstdint>
#include <string>

namespace coilrun {

// The main window, or null before it is made.
HWND Win32MainWindow();
// Hands the window's queued messages to its handler, unless that was done within the last millisecond:
// the waits that read the keys and ask about a close in turn then pump once per pass.
void Win32PumpMessages();
// Waits until input reaches the thread's queue or `timeoutNs` passes, presenting a pending frame first.
// The next pump is never skipped.
void Win32WaitForInput(int64_t timeoutNs);
// Whether the window has the keyboard focus.
bool Win32WindowHasFocus();
// The keys held as the window's key messages tell them, 256 bytes by scan code (kKeyHeld or 0); all
// released while the window is without the focus.
const uint8_t* Win32HeldKeys();
// Switches between the borderless window over the whole screen and a window with a frame; the frame keeps
// its shape.
void Win32ToggleFullScreen();

// Shows `note` after the window's title for a few seconds (the sound level after a sound key).
void Win32ShowTitleNote(const std::string& note);

// Shows the frame that the last flip handed over, if it is not on the screen yet, and draws the window
// again where it was uncovered or resized. The drawing runs at the layer's next wait, read or message, so
// that its cost falls inside the game's own waits.
void Win32PresentPendingFrame();
// The window changed its size or was uncovered: the next present draws it whole.
void Win32NoteWindowExposed();
// Saves the frame on the screen as coilrun-YYYYMMDD-HHMMSS.png in the working folder, never replacing a
// file, and says on the standard output (or error) what came of it.
void Win32SaveScreenshot();
// Writes 5-6-5 pixels, rows without gap, as a PNG file named coilrun-YYYYMMDD-HHMMSS.png for the local time,
// or -N.png after it where that is taken, never replacing a file. `saved` receives the name written.
bool Win32SavePng(const uint16_t* pixels, int width, int height, std::string* saved, std::string* error);

// Notes the last failure of a platform call, with its error, for DevicePlatformError.
void Win32NoteError(const char* call, DWORD error);

}  // namespace coilrun
