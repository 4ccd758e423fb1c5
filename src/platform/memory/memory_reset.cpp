// Resets every in-memory device and the display's state between tests.
#include "platform/memory/memory_reset.h"

#include "app/window.h"
#include "devices/keyboard.h"
#include "devices/sound.h"
#include "display/display.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_keyboard.h"
#include "platform/memory/memory_sound.h"
#include "platform/memory/memory_window.h"

namespace coilrun {

void MemoryResetAll() {
  ReleaseDisplay();
  ResetFlipPacing();
  MemoryResetDisplay();
  MemoryResetClock();
  MemoryResetWindow();
  ReleaseKeyboard();
  FreeEffect();
  ReleaseSound();
  KeyState.fill(0);
  MemoryResetKeyboard();
  MemoryResetSound();
  MemoryResetFiles();
}

}  // namespace coilrun
