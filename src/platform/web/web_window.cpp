// The browser's window: the page itself. Losing the keyboard (another tab, another window) is the one
// message; a page has no close button of its own, so the game simply stops when the page is left.
#include <emscripten.h>

#include <string>

#include "devices/window_device.h"
#include "platform/web/web_platform.h"

namespace coilrun {

namespace {

// A quit message posted by the window handler and not yet taken.
bool quitPosted = false;
uint64_t quitExitCode = 0;
// Whether the page had the keyboard when the last message was looked for.
bool hadFocus = true;
// Whether the game was asked to start in a window; the page itself is never switched by the game.
bool windowed = false;
// The title a note is shown after.
std::string plainTitle;

EM_JS(void, PageSetTitle, (const char* title), { document.title = UTF8ToString(title); });
EM_JS(void, PageHideCursor, (), { Module.canvas.style.cursor = 'none'; });
EM_JS(void, PageShowTitleNote, (const char* title, const char* note),
      { Module.coilrunTitleNote(UTF8ToString(title), UTF8ToString(note)); });

}  // namespace

bool DeviceRegisterWindowClass(const char*) {
  return true;
}

void DeviceCreateWindow(const char*, const char* title) {
  plainTitle = title;
  PageSetTitle(title);
  hadFocus = WebPageHasFocus();
}

bool DevicePeekMessage(Message* message) {
  if (quitPosted) {
    quitPosted = false;
    *message = Message{kMessageQuit, quitExitCode, 0};
    return true;
  }
  const bool focus = WebPageHasFocus();
  const bool lost = hadFocus && !focus;
  hadFocus = focus;
  if (!lost) return false;
  *message = Message{kMessageKillFocus, 0, 0};
  return true;
}

void DevicePostQuitMessage(uint64_t exitCode) {
  quitPosted = true;
  quitExitCode = exitCode;
}

void DeviceHideCursor() {
  PageHideCursor();
}

bool DeviceCloseRequested() {
  return false;
}

const char* DevicePlatformError() {
  return "the browser refused";
}

void DeviceRequestWindowed() { windowed = true; }

// The page's full screen is the browser's, asked for by the player; the game never sees it change, and
// never stores it.
void DeviceSetWindowedSize(int, int) {}
void DeviceGetWindowPlacement(bool* fullScreen, int* width, int* height) {
  *fullScreen = !windowed;
  *width = 0;
  *height = 0;
}

void WebShowTitleNote(const std::string& note) { PageShowTitleNote(plainTitle.c_str(), note.c_str()); }

}  // namespace coilrun
