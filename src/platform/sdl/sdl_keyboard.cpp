// The SDL keyboard: SDL's key state in the game's numbering, with game controllers acting as keys.
#include <SDL.h>

#include <algorithm>
#include <array>
#include <vector>

#include "devices/keyboard.h"
#include "devices/keyboard_device.h"
#include "platform/sdl/sdl_keymap.h"
#include "platform/sdl/sdl_platform.h"

namespace coilrun {

namespace {

// The game's code of every SDL scancode, 0 for keys the game's numbering has no code for.
std::array<uint8_t, SDL_NUM_SCANCODES> codeOfScancode{};
// Whether the keyboard is acquired, and whether the window had the keyboard at the last read.
bool acquired = false;
bool hadFocus = true;
// Whether the controller subsystem is up, and the controllers opened, reopened when their count changes.
bool controllersReady = false;
std::vector<SDL_GameController*> controllers;
int joystickCount = -1;
// How far a stick must lean to count as an arrow.
constexpr Sint16 kStickThreshold = 16000;

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
  codeOfScancode.fill(0);
  for (const SdlKeyCode& key : kSdlKeyMap) codeOfScancode[key.scancode] = key.code;
  return true;
}

bool DeviceSetKeyboardDataFormat() { return true; }
bool DeviceSetKeyboardCooperativeLevel() { return SdlMainWindow() != nullptr; }

bool DeviceAcquireKeyboard() {
  acquired = true;
  hadFocus = WindowHasKeyboard();
  return true;
}

KeyReadResult DeviceGetKeyboardState(uint8_t* state) {
  SdlPresentPendingFrame();
  SDL_PumpEvents();
  // Losing the window's focus takes the keyboard away; SDL has released every key by then.
  const bool focus = WindowHasKeyboard();
  if (hadFocus && !focus) {
    hadFocus = false;
    acquired = false;
    return KeyReadResult::kInputLost;
  }
  hadFocus = focus;
  if (!acquired) return KeyReadResult::kFailed;
  int count = 0;
  const Uint8* keys = SDL_GetKeyboardState(&count);
  std::fill(state, state + 256, uint8_t{0});
  for (int scancode = 0; scancode < count && scancode < SDL_NUM_SCANCODES; ++scancode) {
    if (keys[scancode] != 0 && codeOfScancode[static_cast<size_t>(scancode)] != 0) {
      state[codeOfScancode[static_cast<size_t>(scancode)]] = kKeyHeld;
    }
  }
  RefreshControllers();
  AddControllerKeys(state);
  return KeyReadResult::kOk;
}

void DeviceUnacquireKeyboard() { acquired = false; }

void DeviceReleaseKeyboardDevice() {}

void DeviceReleaseInputObject() {
  CloseControllers();
  joystickCount = -1;
  if (controllersReady) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  controllersReady = false;
}

}  // namespace coilrun
