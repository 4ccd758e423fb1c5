// What the keyboard logic needs of a platform's input: a keyboard device read as 256 key states.
#pragma once

#include <cstdint>

namespace coilrun {

// The result of asking the keyboard device for its state.
enum class KeyReadResult { kOk, kInputLost, kFailed };

bool DeviceCreateInputObject();
// Creates the input system's object; false when refused.
bool DeviceCreateKeyboardDevice();
// Creates the keyboard device on it; false when refused.
bool DeviceSetKeyboardDataFormat();
// Gives the device the standard format: 256 one-byte keys by scan code; false when refused.
bool DeviceSetKeyboardCooperativeLevel();
// Reads the keyboard only while the window is in front, sharing it with other programs.
bool DeviceAcquireKeyboard();
// Acquires the device; false when refused (for instance while the window is not in front).
KeyReadResult DeviceGetKeyboardState(uint8_t* state);
// Writes 256 bytes (0x80 held, 0 released) on success; writes nothing on any failure.
void DeviceUnacquireKeyboard();
// Gives the device up.
void DeviceReleaseKeyboardDevice();
// Releases the keyboard device.
void DeviceReleaseInputObject();
// Releases the input system's object.

}  // namespace coilrun
