// The keyboard as 256 key states in the DirectInput numbering, polled on request.
#pragma once

#include <array>
#include <cstdint>

#include "devices/key_codes.h"

namespace coilrun {

// The last snapshot of every key, indexed by scan code; a key is held while its byte is nonzero.
extern std::array<uint8_t, 256> KeyState;

// Creates and acquires the keyboard device. True on success.
bool InitKeyboard();

// Refreshes KeyState. After lost input it re-acquires the device and leaves KeyState as it was.
void ReadKeyboard();

// Begins looking for a new press: reads the keyboard, and the keys held now count as pressed only once
// they have been let go and pressed again.
void StartKeyPressWatch();

// Reads the keyboard; true when a key is held that went down after StartKeyPressWatch.
bool NewKeyPressed();

// Releases what InitKeyboard made; safe after a failed InitKeyboard and when called twice.
void ReleaseKeyboard();

// True while the key's byte is nonzero.
inline bool KeyHeld(uint8_t scanCode) {
  return KeyState[scanCode] != 0;
}

// Releases the keyboard and forgets every key, as a fresh process has them.
void ResetKeyboard();

}  // namespace coilrun
