// The keyboard: snapshots of all 256 keys, the one recovery after lost input, and the any-key test.
#include "devices/keyboard.h"

#include <algorithm>

#include "devices/input_record.h"
#include "devices/keyboard_device.h"

namespace coilrun {

std::array<uint8_t, 256> KeyState{};

namespace {

// Whether the input object and the keyboard device exist.
bool inputObjectMade = false;
bool keyboardDeviceMade = false;

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

bool AnyKeyDown() {
  ReadKeyboard();
  return std::any_of(KeyState.begin(), KeyState.end(), [](uint8_t key) { return key != 0; });
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
}

}  // namespace coilrun
