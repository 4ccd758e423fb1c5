// The SDL window: a borderless full-screen-desktop window that can become a resizable window and back, SDL
// events as the program's messages, and the pump and the wait for input that the other modules share.
#include <SDL.h>
#include <SDL_syswm.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string>

#include "devices/clock_device.h"
#include "devices/window_device.h"
#include "platform/common/window_end.h"
#include "platform/sdl/sdl_platform.h"

namespace coilrun {

namespace {

// The one window; it lives until the process ends.
SDL_Window* mainWindow = nullptr;
// The window's end as the program sees it; a request to close is noted as soon as it arrives in SDL's
// queue, before the pump takes it.
WindowEnd windowEnd;
// Whether the pointer is to be hidden over the window, which may not exist yet.
bool cursorHidden = false;
// Whether the window starts as a window rather than over the whole desktop.
bool startWindowed = false;
// The size the window has when it is not full screen; zero until first chosen.
int windowedWidth = 0;
int windowedHeight = 0;
// The window's own title, and when a note shown after it is to go (0: none shown).
std::string plainTitle;
int64_t titleNoteEndsNs = 0;
constexpr int64_t kTitleNoteNs = 3'000'000'000;
// When the events were last pumped, and how soon a pump is worth doing again.
int64_t lastPumpNs = 0;
bool pumpedOnce = false;
constexpr int64_t kPumpReuseNs = 1'000'000;
// Without a connection to wait on, a wait for input is a plain sleep of at most this long.
constexpr int64_t kBlindWaitNs = 5'000'000;

// Set by the hang-up signal; the next pump turns it into a request to close, as SDL does for SIGTERM.
volatile std::sig_atomic_t hangUp = 0;

void NoteHangUp(int) { hangUp = 1; }

// A closed terminal ends the game as SIGTERM does, with the score of a game under way recorded. A hang-up
// ignored from the start (nohup) stays ignored.
void HandleHangUp() {
  struct sigaction previous {};
  if (sigaction(SIGHUP, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) return;
  struct sigaction action {};
  action.sa_handler = NoteHangUp;
  sigemptyset(&action.sa_mask);
  sigaction(SIGHUP, &action, nullptr);
}

// Starts SDL's video with the complaints of the window-system libraries it tries held back: where no
// display answers, the game says so in one line of its own.
bool InitVideoQuietly() {
  std::fflush(stderr);
  const int savedStderr = dup(STDERR_FILENO);
  const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (savedStderr >= 0 && devNull >= 0) dup2(devNull, STDERR_FILENO);
  const bool started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  if (savedStderr >= 0) {
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
  }
  if (devNull >= 0) close(devNull);
  return started;
}

// Where no display answers, SDL falls back on a driver that shows nothing, and the game would wait unseen
// for ever. Such a driver is used only when the player names it in SDL_VIDEODRIVER. Null when the
// driver in use shows the game, else why it does not.
const char* UnseenDriverReason() {
  const char* named = SDL_getenv("SDL_VIDEODRIVER");
  const char* driver = SDL_GetCurrentVideoDriver();
  if ((named != nullptr && named[0] != '\0') || driver == nullptr) return nullptr;
  if (SDL_strcmp(driver, "offscreen") != 0 && SDL_strcmp(driver, "dummy") != 0) return nullptr;
  const char* display = SDL_getenv("DISPLAY");
  return display == nullptr || display[0] == '\0' ? "no display to show it on (DISPLAY is empty or not set)"
                                                  : "no display answers at the DISPLAY named";
}

int NoteCloseRequest(void*, SDL_Event* event) {
  if (event->type == SDL_QUIT) windowEnd.closeRequested = true;
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

// The window's size in a window on the display it is on: the one asked for or kept where it fits the
// display's area free of panels, else one made for the display.
void ChooseWindowedSize(const SDL_DisplayMode& desktop) {
  const int display = mainWindow != nullptr ? SDL_GetWindowDisplayIndex(mainWindow) : 0;
  SDL_Rect area{0, 0, desktop.w, desktop.h};
  if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &area) != 0) area = SDL_Rect{0, 0, desktop.w, desktop.h};
  const WindowSize size = WindowedSizeOn(WindowSize{windowedWidth, windowedHeight}, WindowSize{area.w, area.h},
                                         WindowSize{desktop.w, desktop.h});
  windowedWidth = size.width;
  windowedHeight = size.height;
}

SDL_DisplayMode DesktopMode() {
  SDL_DisplayMode desktop{};
  const int display = mainWindow != nullptr ? SDL_GetWindowDisplayIndex(mainWindow) : 0;
  if (SDL_GetDesktopDisplayMode(display < 0 ? 0 : display, &desktop) != 0) {
    desktop.w = 640;
    desktop.h = 480;
  }
  return desktop;
}

// The X server connection, readable as soon as any input or window event is on its way; -1 elsewhere.
int WindowSystemFd() {
  if (mainWindow == nullptr) return -1;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(mainWindow, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return -1;
  return ConnectionNumber(info.info.x11.display);
}

}  // namespace

SDL_Window* SdlMainWindow() { return mainWindow; }

void SdlWaitForInput(int64_t timeoutNs) {
  SdlPresentPendingFrame();
  const int fd = WindowSystemFd();
  if (fd < 0) {
    DeviceSleepNanoseconds(timeoutNs < kBlindWaitNs ? timeoutNs : kBlindWaitNs);
  } else {
    // Whatever the client library has already read is handled first; then only new data can wake the wait.
    SDL_PumpEvents();
    pollfd connection{fd, POLLIN, 0};
    poll(&connection, 1, static_cast<int>(timeoutNs / 1'000'000));
  }
  pumpedOnce = false;
}

void SdlPumpEvents() {
  if (hangUp != 0) {
    hangUp = 0;
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
  }
  const int64_t now = DeviceClockNanoseconds();
  if (mainWindow != nullptr && TitleNoteRanOut(&titleNoteEndsNs, now)) {
    SDL_SetWindowTitle(mainWindow, plainTitle.c_str());
  }
  if (pumpedOnce && now - lastPumpNs < kPumpReuseNs) return;
  SDL_PumpEvents();
  pumpedOnce = true;
  lastPumpNs = now;
}

void SdlShowTitleNote(const std::string& note) {
  if (mainWindow == nullptr) return;
  SDL_SetWindowTitle(mainWindow, (plainTitle + " - " + note).c_str());
  StartTitleNote(&titleNoteEndsNs, kTitleNoteNs);
}

void SdlToggleFullScreen() {
  if (mainWindow == nullptr) return;
  if ((SDL_GetWindowFlags(mainWindow) & SDL_WINDOW_FULLSCREEN) == 0) {
    SDL_GetWindowSize(mainWindow, &windowedWidth, &windowedHeight);
    // As at start, the window covers its display by its own size too, for a desktop without a window
    // manager to carry out the request for full screen.
    SDL_Rect bounds{0, 0, 0, 0};
    const int display = SDL_GetWindowDisplayIndex(mainWindow);
    if (SDL_GetDisplayBounds(display < 0 ? 0 : display, &bounds) == 0) {
      SDL_SetWindowPosition(mainWindow, bounds.x, bounds.y);
      SDL_SetWindowSize(mainWindow, bounds.w, bounds.h);
    }
    SDL_SetWindowFullscreen(mainWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);
    return;
  }
  ChooseWindowedSize(DesktopMode());
  SDL_SetWindowFullscreen(mainWindow, 0);
  SDL_SetWindowBordered(mainWindow, SDL_TRUE);
  SDL_SetWindowResizable(mainWindow, SDL_TRUE);
  SDL_SetWindowSize(mainWindow, windowedWidth, windowedHeight);
  SDL_SetWindowPosition(mainWindow, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

// Starts SDL's video.
bool DeviceRegisterWindowClass(const char*) {
  // The game reads its keys only while its window is in front; no mode switch on a desktop.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  if (!InitVideoQuietly()) return false;
  if (const char* unseen = UnseenDriverReason()) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_SetError("%s", unseen);
    return false;
  }
  HandleHangUp();
  return true;
}

void DeviceCreateWindow(const char*, const char* title) {
  plainTitle = title;
  // The window covers the desktop by its own size too, so that it does so without a window manager.
  const SDL_DisplayMode desktop = DesktopMode();
  if (startWindowed) {
    ChooseWindowedSize(desktop);
    mainWindow = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowedWidth,
                                  windowedHeight, SDL_WINDOW_RESIZABLE);
  } else {
    mainWindow = SDL_CreateWindow(title, 0, 0, desktop.w, desktop.h,
                                  SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS);
  }
  IgnoreInputEvents();
  SDL_AddEventWatch(NoteCloseRequest, nullptr);
  if (mainWindow != nullptr) SDL_ShowWindow(mainWindow);
  if (cursorHidden) SDL_ShowCursor(SDL_DISABLE);
}

// The close button, Alt+F4, SIGINT and SIGTERM come as kMessageDestroy. A frame handed over by the last
// flip and not yet shown is shown first.
bool DevicePeekMessage(Message* message) {
  if (const std::optional<bool> last = PeekAfterWindowGone(&windowEnd, message)) return *last;
  SdlPresentPendingFrame();
  SdlPumpEvents();
  SDL_Event event;
  if (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) != 1) return false;
  Message taken;
  if (event.type == SDL_QUIT) {
    // The close button, Alt+F4, SIGINT and SIGTERM all end the window.
    taken.code = kMessageDestroy;
    windowEnd.windowGone = true;
  } else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_FOCUS_LOST &&
             (SDL_GetWindowFlags(mainWindow) & SDL_WINDOW_INPUT_FOCUS) == 0) {
    // A focus lost while no message was taken (an intro, a banner) and found again since is no news: the
    // pause opens only while the window is still without the focus, as in the browser.
    taken.code = kMessageKillFocus;
  }
  *message = taken;
  return true;
}

void DevicePostQuitMessage(uint64_t exitCode) {
  PostQuitAfterWindow(&windowEnd, exitCode);
}

void DeviceHideCursor() {
  cursorHidden = true;
  if (mainWindow != nullptr) SDL_ShowCursor(SDL_DISABLE);
}

const char* DevicePlatformError() { return SDL_GetError(); }
void DeviceRequestWindowed() { startWindowed = true; }

void DeviceSetWindowedSize(int width, int height) {
  if (width <= 0 || height <= 0) return;
  windowedWidth = width;
  windowedHeight = height;
  if (mainWindow != nullptr && (SDL_GetWindowFlags(mainWindow) & SDL_WINDOW_FULLSCREEN) == 0) {
    SDL_SetWindowSize(mainWindow, width, height);
  }
}

void DeviceGetWindowPlacement(bool* fullScreen, int* width, int* height) {
  *fullScreen = mainWindow != nullptr ? (SDL_GetWindowFlags(mainWindow) & SDL_WINDOW_FULLSCREEN) != 0 : !startWindowed;
  *width = windowedWidth;
  *height = windowedHeight;
  if (mainWindow != nullptr && !*fullScreen) SDL_GetWindowSize(mainWindow, width, height);
}

// Gathers the window system's events to answer, at most once a millisecond.
bool DeviceCloseRequested() {
  // The waits that ask this read no keys, so the events are gathered here.
  if (!windowEnd.closeRequested) SdlPumpEvents();
  return windowEnd.closeRequested;
}

}  // namespace coilrun
