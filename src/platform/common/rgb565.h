// The 16-bit 5-6-5 pixel widened to 8 bits a channel as the screen shows it: white stays full white.
#pragma once

#include <cstdint>

namespace coilrun {

// Each channel's top bits repeat into its new low bits, so 0 maps to 0 and the channel's maximum to 255.
inline constexpr uint8_t Widen5(uint32_t value) {
  return static_cast<uint8_t>((value << 3) | (value >> 2));
}
inline constexpr uint8_t Widen6(uint32_t value) {
  return static_cast<uint8_t>((value << 2) | (value >> 4));
}

inline constexpr uint8_t Red565(uint16_t pixel) {
  return Widen5(uint32_t{pixel} >> 11);
}
inline constexpr uint8_t Green565(uint16_t pixel) {
  return Widen6((uint32_t{pixel} >> 5) & 0x3F);
}
inline constexpr uint8_t Blue565(uint16_t pixel) {
  return Widen5(uint32_t{pixel} & 0x1F);
}

// The pixel as 0x00RRGGBB.
inline constexpr uint32_t Rgb565ToRgb888(uint16_t pixel) {
  return (uint32_t{Red565(pixel)} << 16) | (uint32_t{Green565(pixel)} << 8) | Blue565(pixel);
}

}  // namespace coilrun
