// The Windows keyboard: the keys the window's messages report, by scan code, with XInput controllers acting
// as keys, the window's own keys taken out, and a nap for the waits that poll it without pause.
#include <algorithm>
#include <array>

#include "devices/clock_device.h"
#include "devices/key_codes.h"
#include "devices/keyboard_device.h"
#include "platform/common/key_reads.h"
#include "platform/common/window_hotkeys.h"
#include "platform/win32/win32_platform.h"

namespace coilrun {

namespace {

// XInput's state reader, from whichever of its DLLs the system has; null without one.
using GetStateFunction = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);
HMODULE xinputLibrary = nullptr;
GetStateFunction getControllerState = nullptr;
// XInput is loaded at the first read of the keys, after the first frame is on the screen: loading it and
// what it needs takes Wine a good part of a second.
bool xinputWanted = false;
// Which of the four controller slots answered at the last look, and when the empty ones were last asked:
// asking an empty slot is slow, so that is done at most once a second.
std::array<bool, XUSER_MAX_COUNT> controllerPresent{};
int64_t lastSlotScanNs = 0;
constexpr int64_t kSlotScanIntervalNs = 1'000'000'000;
// How far a stick must lean to count as an arrow.
constexpr SHORT kStickThreshold = 16000;
// Whether the keyboard is acquired, and whether the window had the keyboard at the last read.
KeyboardHold hold;
// The window's keys: what they did at the last read.
HotkeyLatch hotkeys;
// A poll without pause first waits for input to reach the window, or for the nap to pass: a key press
// ends the wait at once, a controller, which sends no message, is looked at again within the short nap.
constexpr int64_t kIdleNapNs = 100'000'000;
constexpr int64_t kControllerNapNs = 20'000'000;
// The last read, for the nap.
IdlePoll idlePoll;
// The code each key is reported as (0 for none): every key as itself until the player's map is given.
std::array<uint8_t, 256> keyMap = [] {
  std::array<uint8_t, 256> identity{};
  for (size_t code = 0; code < identity.size(); ++code) identity[code] = static_cast<uint8_t>(code);
  return identity;
}();

void LoadXInput() {
  for (const wchar_t* name : {L"xinput1_4.dll", L"xinput1_3.dll", L"xinput9_1_0.dll"}) {
    xinputLibrary = LoadLibraryW(name);
    if (xinputLibrary != nullptr) break;
  }
  if (xinputLibrary == nullptr) return;
  getControllerState = reinterpret_cast<GetStateFunction>(
      reinterpret_cast<void*>(GetProcAddress(xinputLibrary, "XInputGetState")));
}

bool AnyController() {
  return std::ranges::find(controllerPresent, true) != controllerPresent.end();
}

void HoldIf(bool held, uint8_t code, uint8_t* state) {
  if (held) state[code] = kKeyHeld;
}

// The D-pad and left stick are the arrows, A and Start are Return, B and Back are Esc.
void AddControllerKeys(uint8_t* state) {
  if (xinputWanted) {
    xinputWanted = false;
    LoadXInput();
  }
  if (getControllerState == nullptr) return;
  const int64_t now = DeviceClockNanoseconds();
  const bool scanSlots = now - lastSlotScanNs >= kSlotScanIntervalNs;
  if (scanSlots) lastSlotScanNs = now;
  for (DWORD slot = 0; slot < XUSER_MAX_COUNT; ++slot) {
    if (!controllerPresent[slot] && !scanSlots) continue;
    XINPUT_STATE controller{};
    controllerPresent[slot] = getControllerState(slot, &controller) == ERROR_SUCCESS;
    if (!controllerPresent[slot]) continue;
    const XINPUT_GAMEPAD& pad = controller.Gamepad;
    auto button = [&pad](WORD mask) { return (pad.wButtons & mask) != 0; };
    HoldIf(button(XINPUT_GAMEPAD_DPAD_UP) || pad.sThumbLY > kStickThreshold, kKeyUp, state);
    HoldIf(button(XINPUT_GAMEPAD_DPAD_DOWN) || pad.sThumbLY < -kStickThreshold, kKeyDown, state);
    HoldIf(button(XINPUT_GAMEPAD_DPAD_LEFT) || pad.sThumbLX < -kStickThreshold, kKeyLeft, state);
    HoldIf(button(XINPUT_GAMEPAD_DPAD_RIGHT) || pad.sThumbLX > kStickThreshold, kKeyRight, state);
    HoldIf(button(XINPUT_GAMEPAD_A) || button(XINPUT_GAMEPAD_START), kKeyReturn, state);
    HoldIf(button(XINPUT_GAMEPAD_B) || button(XINPUT_GAMEPAD_BACK), kKeyEscape, state);
  }
}

void NapIfPolledIdly() {
  if (ShouldNapBeforeRead(idlePoll)) Win32WaitForInput(AnyController() ? kControllerNapNs : kIdleNapNs);
}

void ActOnHotkeys(uint8_t* keys) {
  const HotkeyActions actions = FilterHotkeys(&hotkeys, keys);
  if (actions.toggleFullScreen) Win32ToggleFullScreen();
  if (actions.saveScreenshot) Win32SaveScreenshot();
  if (actions.toggleMute) Win32StepSoundLevel(0, true);
  if (actions.volumeDown) Win32StepSoundLevel(-1, false);
  if (actions.volumeUp) Win32StepSoundLevel(1, false);
}

void MapKeys(std::array<uint8_t, 256>* keys) {
  std::array<uint8_t, 256> mapped{};
  for (size_t code = 0; code < keys->size(); ++code) {
    if ((*keys)[code] != 0 && keyMap[code] != 0) mapped[keyMap[code]] = kKeyHeld;
  }
  *keys = mapped;
}

}  // namespace

bool DeviceCreateInputObject() {
  // Controllers are a convenience: the keyboard works without them.
  xinputWanted = true;
  return true;
}

bool DeviceCreateKeyboardDevice() {
  hotkeys = HotkeyLatch{};
  idlePoll = IdlePoll{};
  return true;
}

// The window's key messages carry the scan codes of the game's numbering already.
bool DeviceSetKeyboardDataFormat() {
  return true;
}

bool DeviceSetKeyboardCooperativeLevel() {
  return Win32MainWindow() != nullptr;
}

bool DeviceAcquireKeyboard() {
  AcquireKeyboardHold(&hold, Win32WindowHasFocus());
  return true;
}

KeyReadResult DeviceGetKeyboardState(uint8_t* state) {
  NapIfPolledIdly();
  Win32PresentPendingFrame();
  Win32PumpMessages();
  // Losing the window's focus takes the keyboard away; every key is released by then.
  const KeyReadResult holding = CheckKeyboardHold(&hold, Win32WindowHasFocus());
  // Keys let go while away are not presses: an Alt that began Alt+Tab is no key for the game.
  if (holding == KeyReadResult::kInputLost) hotkeys = HotkeyLatch{};
  if (holding != KeyReadResult::kOk) return holding;
  std::array<uint8_t, 256> keys{};
  std::copy_n(Win32HeldKeys(), keys.size(), keys.begin());
  ActOnHotkeys(keys.data());
  MapKeys(&keys);
  AddControllerKeys(keys.data());
  return HandOutKeys(&idlePoll, keys, state);
}

void DeviceMapKeys(const uint8_t* map) {
  std::copy(map, map + keyMap.size(), keyMap.begin());
}

void DeviceUnacquireKeyboard() {
  hold.acquired = false;
}

void DeviceReleaseInputObject() {
  xinputWanted = false;
  getControllerState = nullptr;
  controllerPresent.fill(false);
  if (xinputLibrary != nullptr) FreeLibrary(xinputLibrary);
  xinputLibrary = nullptr;
}

}  // namespace coilrun
