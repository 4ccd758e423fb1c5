// The program's entry and lifetime: start-up, the screen loop, shut-down, the exit status.
#pragma once

namespace coilrun {

// Brings up the display, sound and keyboard, the direction tables and the shared sprites. False at the
// first step that fails, with the failure noted.
bool StartUp();

// Releases the shared sprites, the keyboard, the sound and the display; safe after a partial start-up.
void ShutDown();

// The whole program: start-up, the screens until Exit or a closed window, shut-down. Returns the exit
// status: the last window message's wParam, or 1 after printing the one line that says what failed, or 1
// when the score table could not be read or saved (its line printed then).
int RunCoilrun(int argc, char** argv);

}  // namespace coilrun
