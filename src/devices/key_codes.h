// The keyboard's numbering, shared by the logic and the devices: one byte per key, by DirectInput scan code.
#pragma once

#include <cstdint>

namespace coilrun {

inline constexpr uint8_t kKeyEscape = 0x01;
inline constexpr uint8_t kKeyReturn = 0x1C;
inline constexpr uint8_t kKeyUp = 0xC8;
inline constexpr uint8_t kKeyLeft = 0xCB;
inline constexpr uint8_t kKeyRight = 0xCD;
inline constexpr uint8_t kKeyDown = 0xD0;
// The keys the device layers keep for the window (Alt+Enter, F11, F12) or leave to the browser (F1 to F10).
inline constexpr uint8_t kKeyLeftAlt = 0x38;
inline constexpr uint8_t kKeyRightAlt = 0xB8;
inline constexpr uint8_t kKeyKeypadEnter = 0x9C;
inline constexpr uint8_t kKeyF1 = 0x3B;
inline constexpr uint8_t kKeyF10 = 0x44;
inline constexpr uint8_t kKeyF11 = 0x57;
inline constexpr uint8_t kKeyF12 = 0x58;
// The byte a device writes for a held key; readers test for nonzero.
inline constexpr uint8_t kKeyHeld = 0x80;

}  // namespace coilrun
