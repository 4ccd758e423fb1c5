// Puts the in-memory device layer and the logic's own state back as a fresh process has them, between
// tests and before each run of the tools that play over the in-memory layer.
#pragma once

#include "app/logic_reset.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_keyboard.h"
#include "platform/memory/memory_sound.h"
#include "platform/memory/memory_window.h"

namespace coilrun {

inline void MemoryResetAll() {
  ResetLogicState();
  MemoryResetDisplay();
  MemoryResetClock();
  MemoryResetWindow();
  MemoryResetKeyboard();
  MemoryResetSound();
  MemoryResetFiles();
}

}  // namespace coilrun
