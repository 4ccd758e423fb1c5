// The keyboard: snapshots of all 256 keys, the one recovery after lost input, and the watch for a new press.
#include "devices/keyboard.h"

#include "devices/input_record.h"
#include "devices/keyboard_device.h"

namespace coilrun {

std::array<uint8_t, 256> KeyState{};

namespace {

// Whether the input object and the keyboard device exist.
bool inputObjectMade = false;
bool keyboardDeviceMade = false;
// The keys held since before the watch for a new press began, and not let go since.
std::array<bool, 256> heldSinceWatch{};

// After lost input the device is acquired again, but this read brings no fresh snapshot.
void ReadKeyboardDevice(KeySnapshot* keys) {
  if (keyboardDeviceMade && DeviceGetKeyboardState(keys->data()) == KeyReadResult::kInputLost) {
    DeviceAcquireKeyboard();
  }
}

}  // namespace

bool InitKeyboard() {
  if (!DeviceCreateInputObject()) return false;
  inputObjectMade = true;
  if (!DeviceCreateKeyboardDevice()) return false;
  keyboardDeviceMade = true;
  if (!DeviceSetKeyboardDataFormat()) return false;
  if (!DeviceSetKeyboardCooperativeLevel()) return false;
  return DeviceAcquireKeyboard();
}

void ReadKeyboard() {
  TakeKeySnapshot(&KeyState, ReadKeyboardDevice);
}

void StartKeyPressWatch() {
  ReadKeyboard();
  for (size_t code = 0; code < KeyState.size(); ++code) heldSinceWatch[code] = KeyState[code] != 0;
}

bool NewKeyPressed() {
  ReadKeyboard();
  bool pressed = false;
  for (size_t code = 0; code < KeyState.size(); ++code) {
    if (KeyState[code] == 0) {
      heldSinceWatch[code] = false;
    } else if (!heldSinceWatch[code]) {
      pressed = true;
    }
  }
  return pressed;
}

void ReleaseKeyboard() {
  if (keyboardDeviceMade) {
    DeviceUnacquireKeyboard();
    keyboardDeviceMade = false;
  }
  // The keyboard device goes with the input object.
  if (inputObjectMade) {
    DeviceReleaseInputObject();
    inputObjectMade = false;
  }
}

void ResetKeyboard() {
  ReleaseKeyboard();
  KeyState.fill(0);
  heldSinceWatch.fill(false);
}

}  // namespace coilrun
