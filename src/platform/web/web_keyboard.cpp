// The browser's keyboard: key events in the game's numbering, the page's buttons (gamepads, touch controls)
// acting as keys, the page's own keys (full screen) taken out, and the game's keys kept from scrolling the page.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <array>

#include "devices/clock_device.h"
#include "devices/key_codes.h"
#include "devices/keyboard_device.h"
#include "platform/common/key_names.h"
#include "platform/common/key_reads.h"
#include "platform/common/window_hotkeys.h"
#include "platform/web/web_platform.h"

namespace coilrun {

namespace {

// Keys held, by the game's code, as the browser's key events left them.
std::array<uint8_t, 256> held{};
// Whether the page has the keyboard; whether the keyboard is acquired, and whether the page had it at the
// last read.
bool pageHasFocus = true;
KeyboardHold hold;
// The page's keys: what they did at the last read (the page itself acts on them).
HotkeyLatch hotkeys;
// The game's key that each key is reported as (0: none): the player's key settings.
std::array<uint8_t, 256> keyMap = [] {
  std::array<uint8_t, 256> identity{};
  for (size_t code = 0; code < identity.size(); ++code) identity[code] = static_cast<uint8_t>(code);
  return identity;
}();
// A poll without pause naps, short enough that a key press is seen at once.
constexpr int64_t kIdleNapNs = 8'000'000;
// The last read, for the nap.
IdlePoll idlePoll;

// The game's keys are the page's: none of them scrolls it or moves the focus. Function keys and chords
// with Ctrl or the system key stay the browser's (reloading, closing the tab, its own full screen), except
// the sound keys F8 to F10.
bool KeepFromBrowser(const EmscriptenKeyboardEvent* event, uint8_t scanCode) {
  if (event->ctrlKey || event->metaKey) return false;
  const bool functionKey =
      (scanCode >= kKeyF1 && scanCode < kKeyF8) || scanCode == kKeyF11 || scanCode == kKeyF12;
  return scanCode != 0 && !functionKey;
}

EM_BOOL NoteKey(int eventType, const EmscriptenKeyboardEvent* event, void*) {
  const uint8_t scanCode = KeyCodeNamed(event->code);
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

// Tells the page the game's code of a key by the browser's name of it, and the byte of a held key: the
// page's buttons hold keys by name.
EM_JS(void, PageLearnKey, (const char* code, int scanCode, int heldByte),
      { Module.coilrunLearnKey(UTF8ToString(code), scanCode, heldByte); });
// The keys that the page's buttons hold (gamepads in the standard layout, touch controls), added to `state`.
EM_JS(void, PageReadButtons, (uint8_t * state), { Module.coilrunReadButtons(state); });

}  // namespace

bool WebPageHasFocus() {
  return pageHasFocus;
}

bool DeviceCreateInputObject() {
  return true;
}

bool DeviceCreateKeyboardDevice() {
  for (const NamedKey& key : kNamedKeys) PageLearnKey(key.name, key.code, kKeyHeld);
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
  // The page switches full screen and has no screenshot; the sound keys are the game's to act on.
  const HotkeyActions actions = FilterHotkeys(&hotkeys, keys.data());
  if (actions.toggleMute) WebStepSoundLevel(0, true);
  if (actions.volumeDown) WebStepSoundLevel(-1, false);
  if (actions.volumeUp) WebStepSoundLevel(1, false);
  std::array<uint8_t, 256> mapped{};
  for (size_t code = 0; code < keys.size(); ++code) {
    if (keys[code] != 0 && keyMap[code] != 0) mapped[keyMap[code]] = kKeyHeld;
  }
  keys = mapped;
  if (pageHasFocus) PageReadButtons(keys.data());
  return HandOutKeys(&idlePoll, keys, state);
}

void DeviceMapKeys(const uint8_t* map) { std::copy(map, map + keyMap.size(), keyMap.begin()); }

void DeviceUnacquireKeyboard() {
  hold.acquired = false;
}

void DeviceReleaseInputObject() {
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, true, nullptr);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, true, nullptr);
  held.fill(0);
}

}  // namespace coilrun
