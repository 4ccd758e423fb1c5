// What the keyboard logic asks of a platform's input: the keyboard read as 256 key states, on request. The
// SDL layer, the in-memory layer and the browser's layer each implement every operation.
#pragma once

#include <cstdint>

namespace coilrun {

// The result of asking the keyboard device for its state.
enum class KeyReadResult { kOk, kInputLost, kFailed };

bool DeviceCreateInputObject();
// Opens the platform's input: SDL also opens the game controllers, which then act as keys (a missing
// controller system is no failure). False when refused.
bool DeviceCreateKeyboardDevice();
// Makes the keyboard device: nothing held, the window keys' latch clear. False when refused.
bool DeviceSetKeyboardDataFormat();
// Sets the format of a read: 256 bytes by scan code in the DirectInput numbering (key_codes.h). SDL and
// the browser build their table from their own key codes here. False when refused.
bool DeviceSetKeyboardCooperativeLevel();
// Ties the keyboard to the main window: it is read only while the window has the input focus. False when
// refused (SDL: when there is no window).
bool DeviceAcquireKeyboard();
// Starts reading. False when refused.
KeyReadResult DeviceGetKeyboardState(uint8_t* state);
// Writes the 256 key states (kKeyHeld held, 0 released) and returns kOk. Returns kInputLost, writing
// nothing, at the first read after the window lost the focus: the device must be acquired again; kFailed,
// writing nothing, while it is not acquired. Besides the keys, a read on SDL (and in the browser):
// - first shows a frame handed over by the last flip and not yet shown;
// - naps when it comes within 2 ms of a read that changed nothing (the key waits poll without pause):
//   until input arrives or 100 ms pass (20 ms with a controller plugged in);
// - takes the window's own keys out of the state and acts on them when pressed: Alt+Enter and F11 switch
//   between full screen and a window, F12 saves the frame on the screen as a PNG file and prints its name.
//   An Alt key is held back while it is down, since it may begin Alt+Enter; let go without Enter, it is
//   reported held at the next read, once. The keys of the chord stay out until each is let go.
// - adds game controllers' buttons and stick as keys.
//   Each sound key acts on the sound's level (DeviceSetSoundLevel) and shows the new level for about 3 s in
//   the window's title where the platform has one: F8 mutes and unmutes, F9 and F10 turn the volume down
//   and up by 10, from 0 to 100, unmuting.
// - reports each other held key as the game's key the key map gives it (DeviceMapKeys).
void DeviceMapKeys(const uint8_t* map);
// From the next read on, a held key whose code is i (the window's keys taken out first) is reported as the
// key map[i], or not at all where that is 0; 256 entries, copied. Several keys may report one key. Until
// called, every key is reported as itself. Replays never read the device, so a map changes none.
void DeviceUnacquireKeyboard();
// Stops reading; reads fail until the device is acquired again.
void DeviceReleaseInputObject();
// Releases the keyboard device and the platform's input (SDL closes the controllers).

}  // namespace coilrun
