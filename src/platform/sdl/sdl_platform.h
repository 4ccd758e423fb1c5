// What the SDL device layer's modules share among themselves: the one window and its renderer.
#pragma once

#include <SDL.h>

namespace coilrun {

// The main window, or null before it is made.
SDL_Window* SdlMainWindow();
// The renderer that presents frames, or null before the display mode is set.
SDL_Renderer* SdlRenderer();
// Shows the frame that the last flip handed over, if it is not on the screen yet. A flip only hands the
// frame over, as a display's flip is only queued until the retrace; the upload and the present run at the
// device layer's next wait, read or message, so that their cost hides inside the game's own waits.
void SdlPresentPendingFrame();

}  // namespace coilrun
