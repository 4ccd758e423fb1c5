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
// The byte a device writes for a held key; readers test for nonzero.
inline constexpr uint8_t kKeyHeld = 0x80;

}  // namespace coilrun
