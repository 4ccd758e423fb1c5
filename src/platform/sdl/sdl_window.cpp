// The SDL window: a borderless full-screen-desktop window, and SDL events as the program's messages.
#include <SDL.h>

#include <initializer_list>

#include "app/window_device.h"
#include "platform/sdl/sdl_platform.h"

namespace coilrun {

namespace {

// The one window; it lives until the process ends.
SDL_Window* mainWindow = nullptr;
// A quit message posted by the window handler and not yet taken.
bool quitPosted = false;
uint64_t quitExitCode = 0;
// Set once the window has been destroyed in the program's eyes: no message follows the quit message.
bool windowGone = false;
// Set as soon as a request to close arrives in SDL's queue, before the pump takes it.
bool closeRequested = false;
// Whether the pointer is to be hidden over the window, which may not exist yet.
bool cursorHidden = false;

int NoteCloseRequest(void*, SDL_Event* event) {
  if (event->type == SDL_QUIT) closeRequested = true;
  return 0;
}

// Events the game never reads from the queue: the keyboard and controllers are polled as states, the
// mouse is not used. Ignoring them keeps the queue to what the pump handles, one message per frame.
void IgnoreInputEvents() {
  for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP, SDL_TEXTEDITING, SDL_TEXTINPUT, SDL_KEYMAPCHANGED, SDL_MOUSEMOTION,
                      SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP, SDL_MOUSEWHEEL, SDL_FINGERDOWN, SDL_FINGERUP,
                      SDL_FINGERMOTION, SDL_JOYAXISMOTION, SDL_JOYBALLMOTION, SDL_JOYHATMOTION,
                      SDL_JOYBUTTONDOWN, SDL_JOYBUTTONUP, SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERBUTTONDOWN,
                      SDL_CONTROLLERBUTTONUP}) {
    SDL_EventState(type, SDL_IGNORE);
  }
}

}  // namespace

SDL_Window* SdlMainWindow() { return mainWindow; }

bool DeviceRegisterWindowClass(const char*) {
  // The game reads its keys only while its window is in front; no mode switch on a desktop.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

void DeviceCreateWindow(const char*, const char* title) {
  // The window covers the desktop by its own size too, so that it does so without a window manager.
  SDL_DisplayMode desktop{};
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
    desktop.w = 640;
    desktop.h = 480;
  }
  mainWindow = SDL_CreateWindow(title, 0, 0, desktop.w, desktop.h,
                                SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS);
  IgnoreInputEvents();
  SDL_AddEventWatch(NoteCloseRequest, nullptr);
  if (mainWindow != nullptr) SDL_ShowWindow(mainWindow);
  if (cursorHidden) SDL_ShowCursor(SDL_DISABLE);
}

bool DevicePeekMessage(Message* message) {
  if (windowGone) {
    if (!quitPosted) return false;
    quitPosted = false;
    *message = Message{kMessageQuit, quitExitCode, 0};
    return true;
  }
  SdlPresentPendingFrame();
  SDL_Event event;
  if (SDL_PollEvent(&event) == 0) return false;
  Message taken;
  if (event.type == SDL_QUIT) {
    // The close button, Alt+F4, SIGINT and SIGTERM all end the window.
    taken.code = kMessageDestroy;
    windowGone = true;
  } else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
    taken.code = kMessageKillFocus;
  }
  *message = taken;
  return true;
}

void DevicePostQuitMessage(uint64_t exitCode) {
  quitPosted = true;
  quitExitCode = exitCode;
}

void DeviceHideCursor() {
  cursorHidden = true;
  if (mainWindow != nullptr) SDL_ShowCursor(SDL_DISABLE);
}

const char* DevicePlatformError() { return SDL_GetError(); }

bool DeviceCloseRequested() {
  // The waits that ask this read no keys, so the events are gathered here.
  if (!closeRequested) SDL_PumpEvents();
  return closeRequested;
}

}  // namespace coilrun
