// The keyboard's numbering, shared by the logic and the devices: one byte per key, by DirectInput scan code.
#pragma once

#include <array>
#include <cstdint>

namespace coilrun {

inline constexpr uint8_t kKeyEscape = 0x01;
inline constexpr uint8_t kKeyReturn = 0x1C;
inline constexpr uint8_t kKeyUp = 0xC8;
inline constexpr uint8_t kKeyLeft = 0xCB;
inline constexpr uint8_t kKeyRight = 0xCD;
inline constexpr uint8_t kKeyDown = 0xD0;

// The byte a device writes for a held key; readers test for nonzero.
inline constexpr uint8_t kKeyHeld = 0x80;

// The window's own keys, which the keyboard devices act on and keep from the game: Alt+Enter and F11
// switch between full screen and a window, F12 saves a screenshot, F8 mutes and unmutes the sound, F9 and
// F10 turn it down and up. The browser keeps F1 to F7 for itself.
inline constexpr uint8_t kKeyF1 = 0x3B;
inline constexpr uint8_t kKeyLeftAlt = 0x38;
inline constexpr uint8_t kKeyRightAlt = 0xB8;
inline constexpr uint8_t kKeyKeypadEnter = 0x9C;
inline constexpr uint8_t kKeyF8 = 0x42;
inline constexpr uint8_t kKeyF9 = 0x43;
inline constexpr uint8_t kKeyF10 = 0x44;
inline constexpr uint8_t kKeyF11 = 0x57;
inline constexpr uint8_t kKeyF12 = 0x58;
inline constexpr std::array<uint8_t, 7> kWindowKeys = {kKeyLeftAlt, kKeyRightAlt, kKeyF8, kKeyF9,
                                                       kKeyF10,     kKeyF11,      kKeyF12};

}  // namespace coilrun
