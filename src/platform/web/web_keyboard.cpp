// The browser's keyboard: key events in the game's numbering, gamepads through the Gamepad API acting as
// keys, the page's own keys (full screen) taken out, and the keys the game uses kept from scrolling the page.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "devices/clock_device.h"
#include "devices/key_codes.h"
#include "devices/keyboard_device.h"
#include "platform/common/key_reads.h"
#include "platform/common/window_hotkeys.h"
#include "platform/web/web_platform.h"

namespace coilrun {

namespace {

struct WebKeyCode {
  const char* code;  // the browser's name of the key's place on the keyboard
  uint8_t scanCode;
};

constexpr std::array<WebKeyCode, 115> kWebKeyMap = {{
    {"Escape", 0x01},
    {"Digit1", 0x02},
    {"Digit2", 0x03},
    {"Digit3", 0x04},
    {"Digit4", 0x05},
    {"Digit5", 0x06},
    {"Digit6", 0x07},
    {"Digit7", 0x08},
    {"Digit8", 0x09},
    {"Digit9", 0x0A},
    {"Digit0", 0x0B},
    {"Minus", 0x0C},
    {"Equal", 0x0D},
    {"Backspace", 0x0E},
    {"Tab", 0x0F},
    {"KeyQ", 0x10},
    {"KeyW", 0x11},
    {"KeyE", 0x12},
    {"KeyR", 0x13},
    {"KeyT", 0x14},
    {"KeyY", 0x15},
    {"KeyU", 0x16},
    {"KeyI", 0x17},
    {"KeyO", 0x18},
    {"KeyP", 0x19},
    {"BracketLeft", 0x1A},
    {"BracketRight", 0x1B},
    {"Enter", 0x1C},
    {"ControlLeft", 0x1D},
    {"KeyA", 0x1E},
    {"KeyS", 0x1F},
    {"KeyD", 0x20},
    {"KeyF", 0x21},
    {"KeyG", 0x22},
    {"KeyH", 0x23},
    {"KeyJ", 0x24},
    {"KeyK", 0x25},
    {"KeyL", 0x26},
    {"Semicolon", 0x27},
    {"Quote", 0x28},
    {"Backquote", 0x29},
    {"ShiftLeft", 0x2A},
    {"Backslash", 0x2B},
    {"KeyZ", 0x2C},
    {"KeyX", 0x2D},
    {"KeyC", 0x2E},
    {"KeyV", 0x2F},
    {"KeyB", 0x30},
    {"KeyN", 0x31},
    {"KeyM", 0x32},
    {"Comma", 0x33},
    {"Period", 0x34},
    {"Slash", 0x35},
    {"ShiftRight", 0x36},
    {"NumpadMultiply", 0x37},
    {"AltLeft", 0x38},
    {"Space", 0x39},
    {"CapsLock", 0x3A},
    {"F1", 0x3B},
    {"F2", 0x3C},
    {"F3", 0x3D},
    {"F4", 0x3E},
    {"F5", 0x3F},
    {"F6", 0x40},
    {"F7", 0x41},
    {"F8", 0x42},
    {"F9", 0x43},
    {"F10", 0x44},
    {"NumLock", 0x45},
    {"ScrollLock", 0x46},
    {"Numpad7", 0x47},
    {"Numpad8", 0x48},
    {"Numpad9", 0x49},
    {"NumpadSubtract", 0x4A},
    {"Numpad4", 0x4B},
    {"Numpad5", 0x4C},
    {"Numpad6", 0x4D},
    {"NumpadAdd", 0x4E},
    {"Numpad1", 0x4F},
    {"Numpad2", 0x50},
    {"Numpad3", 0x51},
    {"Numpad0", 0x52},
    {"NumpadDecimal", 0x53},
    {"IntlBackslash", 0x56},
    {"F11", 0x57},
    {"F12", 0x58},
    {"F13", 0x64},
    {"F14", 0x65},
    {"F15", 0x66},
    {"KanaMode", 0x70},
    {"IntlRo", 0x73},
    {"Convert", 0x79},
    {"NonConvert", 0x7B},
    {"IntlYen", 0x7D},
    {"NumpadComma", 0x7E},
    {"NumpadEqual", 0x8D},
    {"NumpadEnter", 0x9C},
    {"ControlRight", 0x9D},
    {"NumpadDivide", 0xB5},
    {"PrintScreen", 0xB7},
    {"AltRight", 0xB8},
    {"Pause", 0xC5},
    {"Home", 0xC7},
    {"ArrowUp", 0xC8},
    {"PageUp", 0xC9},
    {"ArrowLeft", 0xCB},
    {"ArrowRight", 0xCD},
    {"End", 0xCF},
    {"ArrowDown", 0xD0},
    {"PageDown", 0xD1},
    {"Insert", 0xD2},
    {"Delete", 0xD3},
    {"MetaLeft", 0xDB},
    {"MetaRight", 0xDC},
    {"ContextMenu", 0xDD},
}};

// Keys held, by the game's code, as the browser's key events left them.
std::array<uint8_t, 256> held{};
// Whether the page has the keyboard; whether the keyboard is acquired, and whether the page had it at the
// last read.
bool pageHasFocus = true;
KeyboardHold hold;
// The page's keys: what they did at the last read (the page itself acts on them).
HotkeyLatch hotkeys;
// A poll without pause naps, short enough that a key press is seen at once.
constexpr int64_t kIdleNapNs = 8'000'000;
// The last read, for the nap.
IdlePoll idlePoll;

uint8_t ScanCodeOf(const char* code) {
  for (const WebKeyCode& key : kWebKeyMap) {
    if (std::strcmp(key.code, code) == 0) return key.scanCode;
  }
  return 0;
}

// The game's keys are the page's: none of them scrolls it or moves the focus. Function keys and chords
// with Ctrl or the system key stay the browser's (reloading, closing the tab, its own full screen).
bool KeepFromBrowser(const EmscriptenKeyboardEvent* event, uint8_t scanCode) {
  if (event->ctrlKey || event->metaKey) return false;
  const bool functionKey =
      (scanCode >= kKeyF1 && scanCode <= kKeyF10) || scanCode == kKeyF11 || scanCode == kKeyF12;
  return scanCode != 0 && !functionKey;
}

EM_BOOL NoteKey(int eventType, const EmscriptenKeyboardEvent* event, void*) {
  const uint8_t scanCode = ScanCodeOf(event->code);
  if (scanCode != 0) held[scanCode] = eventType == EMSCRIPTEN_EVENT_KEYDOWN ? kKeyHeld : 0;
  return KeepFromBrowser(event, scanCode);
}

// A page that loses the keyboard gets no key releases: every key counts as released.
void NoteFocus(bool focus) {
  pageHasFocus = focus;
  if (!focus) held.fill(0);
}

EM_BOOL NoteFocusEvent(int eventType, const EmscriptenFocusEvent*, void*) {
  NoteFocus(eventType == EMSCRIPTEN_EVENT_FOCUS);
  return false;
}

EM_BOOL NoteVisibility(int, const EmscriptenVisibilityChangeEvent* event, void*) {
  NoteFocus(!event->hidden);
  return false;
}

// The gamepads' buttons and sticks in the standard layout, as the game's keys.
EM_JS(void, PageReadGamepads, (uint8_t * state), { Module.coilrunReadGamepads(state); });

}  // namespace

bool WebPageHasFocus() {
  return pageHasFocus;
}

bool DeviceCreateInputObject() {
  return true;
}

bool DeviceCreateKeyboardDevice() {
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, true, NoteKey);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, true, NoteKey);
  emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, true, NoteFocusEvent);
  emscripten_set_focus_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, true, NoteFocusEvent);
  emscripten_set_visibilitychange_callback(nullptr, true, NoteVisibility);
  return true;
}

bool DeviceSetKeyboardDataFormat() {
  return true;
}
bool DeviceSetKeyboardCooperativeLevel() {
  return true;
}

bool DeviceAcquireKeyboard() {
  AcquireKeyboardHold(&hold, pageHasFocus);
  return true;
}

KeyReadResult DeviceGetKeyboardState(uint8_t* state) {
  // Each read lets the browser bring its events.
  if (ShouldNapBeforeRead(idlePoll)) {
    DeviceSleepNanoseconds(kIdleNapNs);
  } else {
    WebYield();
  }
  if (const KeyReadResult holding = CheckKeyboardHold(&hold, pageHasFocus); holding != KeyReadResult::kOk) {
    return holding;
  }
  std::array<uint8_t, 256> keys = held;
  FilterHotkeys(&hotkeys, keys.data());
  if (pageHasFocus) PageReadGamepads(keys.data());
  return HandOutKeys(&idlePoll, keys, state);
}

void DeviceUnacquireKeyboard() {
  hold.acquired = false;
}

void DeviceReleaseInputObject() {
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, true, nullptr);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, true, nullptr);
  held.fill(0);
}

}  // namespace coilrun
