// What the keyboard logic asks of a platform's input: the keyboard read as 256 key states, on request. Every
// device layer implements every operation.
#pragma once

#include <cstdint>

namespace coilrun {

// The result of asking the keyboard device for its state.
enum class KeyReadResult { kOk, kInputLost, kFailed };

// Opens the platform's input. False when refused.
bool DeviceCreateInputObject();

// Makes the keyboard device: nothing held, the window keys' latch clear. False when refused.
bool DeviceCreateKeyboardDevice();

// Sets the format of a read: 256 bytes by scan code in the DirectInput numbering (key_codes.h). False when
// refused.
bool DeviceSetKeyboardDataFormat();

// Ties the keyboard to the main window: it is read only while the window has the input focus. False when
// refused.
bool DeviceSetKeyboardCooperativeLevel();

// Starts reading. False when refused.
bool DeviceAcquireKeyboard();

// Writes the 256 key states (kKeyHeld held, 0 released) and returns kOk. Returns kInputLost, writing
// nothing, at the first read after the window lost the focus: the device must be acquired again; kFailed,
// writing nothing, while it is not acquired. A read may first show a frame handed over by the last flip,
// and may nap when the keys are polled without pause. The window's and the sound's own keys (key_codes.h)
// are left out and acted on: full screen, screenshot, mute and volume.
KeyReadResult DeviceGetKeyboardState(uint8_t* state);

// From the next read on, a held key whose code is i (the window's and the sound's keys taken out first) is
// reported as the key map[i], or not at all where that is 0; 256 entries, copied. Until called, every key is
// reported as itself. Replays never read the device, so a map changes none.
void DeviceMapKeys(const uint8_t* map);

// Stops reading; reads fail until the device is acquired again.
void DeviceUnacquireKeyboard();

// Releases the keyboard device and the platform's input.
void DeviceReleaseInputObject();

}  // namespace coilrun
