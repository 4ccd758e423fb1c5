// A window message as the program and the window devices pass it, and the codes the program reads.
#pragma once

#include <cstdint>

namespace coilrun {

// Only the code and wParam are ever read.
struct Message {
  uint32_t code = 0;
  uint64_t wParam = 0;
  int64_t lParam = 0;
};

inline constexpr uint32_t kMessageDestroy = 2;
inline constexpr uint32_t kMessageKillFocus = 8;
inline constexpr uint32_t kMessageQuit = 18;

}  // namespace coilrun
