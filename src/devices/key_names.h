// The keyboard's keys by name, as players write them in the settings and as SDL names them.
#pragma once

#include <cstdint>
#include <string_view>

namespace coilrun {

// The key's name ("Left", "A", "Keypad 4", "Space"), or null for a code no key has.
const char* KeyName(uint8_t code);
// The code of the key named `name`, letter case aside; 0 for no such key.
uint8_t KeyCodeByName(std::string_view name);

}  // namespace coilrun
