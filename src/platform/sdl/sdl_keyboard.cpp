// The SDL keyboard: SDL's key state in the game's numbering, with game controllers acting as keys, the
// window's own keys taken out, and a nap for the waits that poll it without pause.
#include <SDL.h>

#include <algorithm>
#include <array>
#include <vector>

#include "devices/key_codes.h"
#include "devices/keyboard_device.h"
#include "platform/common/key_names.h"
#include "platform/common/key_reads.h"
#include "platform/common/window_hotkeys.h"
#include "platform/sdl/sdl_keymap.h"
#include "platform/sdl/sdl_platform.h"

namespace coilrun {

namespace {

// The game's code of every SDL scancode, 0 for keys the game's numbering has no code for.
std::array<uint8_t, SDL_NUM_SCANCODES> codeOfScancode{};
// Whether the keyboard is acquired, and whether the window had the keyboard at the last read.
KeyboardHold hold;
// Whether the controller subsystem is up, and the controllers opened, reopened when their count changes.
bool controllersReady = false;
std::vector<SDL_GameController*> controllers;
int joystickCount = -1;
// How far a stick must lean to count as an arrow.
constexpr Sint16 kStickThreshold = 16000;
// The window's keys: what they did at the last read.
HotkeyLatch hotkeys;
// The game's key that each key is reported as (0: none): the player's key settings.
std::array<uint8_t, 256> keyMap = [] {
  std::array<uint8_t, 256> identity{};
  for (size_t code = 0; code < identity.size(); ++code) identity[code] = static_cast<uint8_t>(code);
  return identity;
}();
// A poll without pause first waits for the window system to bring input, or for the nap to pass: a key
// press ends the wait at once, a controller, which the window system does not announce, is looked at again
// within the short nap.
constexpr int64_t kIdleNapNs = 100'000'000;
constexpr int64_t kControllerNapNs = 20'000'000;
// The last read, for the nap.
IdlePoll idlePoll;

void CloseControllers() {
  for (SDL_GameController* controller : controllers) SDL_GameControllerClose(controller);
  controllers.clear();
}

// Controllers plugged in before or during play are picked up on the next read.
void RefreshControllers() {
  if (!controllersReady) return;
  const int count = SDL_NumJoysticks();
  if (count == joystickCount) return;
  joystickCount = count;
  CloseControllers();
  for (int i = 0; i < count; ++i) {
    if (!SDL_IsGameController(i)) continue;
    if (SDL_GameController* controller = SDL_GameControllerOpen(i)) controllers.push_back(controller);
  }
}

void HoldIf(bool held, uint8_t code, uint8_t* state) {
  if (held) state[code] = kKeyHeld;
}

// The D-pad and left stick are the arrows, A and Start are Return, B and Back are Esc.
void AddControllerKeys(uint8_t* state) {
  for (SDL_GameController* c : controllers) {
    auto button = [c](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(c, b) != 0; };
    const Sint16 x = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX);
    const Sint16 y = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY);
    HoldIf(button(SDL_CONTROLLER_BUTTON_DPAD_UP) || y < -kStickThreshold, kKeyUp, state);
    HoldIf(button(SDL_CONTROLLER_BUTTON_DPAD_DOWN) || y > kStickThreshold, kKeyDown, state);
    HoldIf(button(SDL_CONTROLLER_BUTTON_DPAD_LEFT) || x < -kStickThreshold, kKeyLeft, state);
    HoldIf(button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) || x > kStickThreshold, kKeyRight, state);
    HoldIf(button(SDL_CONTROLLER_BUTTON_A) || button(SDL_CONTROLLER_BUTTON_START), kKeyReturn, state);
    HoldIf(button(SDL_CONTROLLER_BUTTON_B) || button(SDL_CONTROLLER_BUTTON_BACK), kKeyEscape, state);
  }
}

bool WindowHasKeyboard() {
  SDL_Window* window = SdlMainWindow();
  return window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

}  // namespace

bool DeviceCreateInputObject() {
  // Controllers are a convenience: the keyboard works without them.
  controllersReady = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  return true;
}

bool DeviceCreateKeyboardDevice() {
  hotkeys = HotkeyLatch{};
  idlePoll = IdlePoll{};
  return true;
}

bool DeviceSetKeyboardDataFormat() {
  codeOfScancode.fill(0);
  for (const SdlKeyName& key : kSdlKeyMap) codeOfScancode[key.scancode] = KeyCodeNamed(key.name);
  return true;
}
bool DeviceSetKeyboardCooperativeLevel() {
  return SdlMainWindow() != nullptr;
}

bool DeviceAcquireKeyboard() {
  AcquireKeyboardHold(&hold, WindowHasKeyboard());
  return true;
}

namespace {

void NapIfPolledIdly() {
  if (ShouldNapBeforeRead(idlePoll)) SdlWaitForInput(controllers.empty() ? kIdleNapNs : kControllerNapNs);
}

void ActOnHotkeys(uint8_t* keys) {
  const HotkeyActions actions = FilterHotkeys(&hotkeys, keys);
  if (actions.toggleFullScreen) SdlToggleFullScreen();
  if (actions.saveScreenshot) SdlSaveScreenshot();
  if (actions.toggleMute) SdlStepSoundLevel(0, true);
  if (actions.volumeDown) SdlStepSoundLevel(-1, false);
  if (actions.volumeUp) SdlStepSoundLevel(1, false);
}

void MapKeys(std::array<uint8_t, 256>* keys) {
  std::array<uint8_t, 256> mapped{};
  for (size_t code = 0; code < keys->size(); ++code) {
    if ((*keys)[code] != 0 && keyMap[code] != 0) mapped[keyMap[code]] = kKeyHeld;
  }
  *keys = mapped;
}

}  // namespace

KeyReadResult DeviceGetKeyboardState(uint8_t* state) {
  NapIfPolledIdly();
  SdlPresentPendingFrame();
  SdlPumpEvents();
  // Losing the window's focus takes the keyboard away; SDL has released every key by then.
  const KeyReadResult holding = CheckKeyboardHold(&hold, WindowHasKeyboard());
  // Keys let go while away are not presses: an Alt that began Alt+Tab is no key for the game.
  if (holding == KeyReadResult::kInputLost) hotkeys = HotkeyLatch{};
  if (holding != KeyReadResult::kOk) return holding;
  int count = 0;
  const Uint8* held = SDL_GetKeyboardState(&count);
  std::array<uint8_t, 256> keys{};
  for (int scancode = 0; scancode < count && scancode < SDL_NUM_SCANCODES; ++scancode) {
    if (held[scancode] != 0 && codeOfScancode[static_cast<size_t>(scancode)] != 0) {
      keys[codeOfScancode[static_cast<size_t>(scancode)]] = kKeyHeld;
    }
  }
  ActOnHotkeys(keys.data());
  MapKeys(&keys);
  RefreshControllers();
  AddControllerKeys(keys.data());
  return HandOutKeys(&idlePoll, keys, state);
}

void DeviceMapKeys(const uint8_t* map) { std::copy(map, map + keyMap.size(), keyMap.begin()); }

void DeviceUnacquireKeyboard() {
  hold.acquired = false;
}

void DeviceReleaseInputObject() {
  CloseControllers();
  joystickCount = -1;
  if (controllersReady) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  controllersReady = false;
}

}  // namespace coilrun
