// What the window layers share: the window's end and the title note's timing.
#include "platform/common/window_end.h"

#include "devices/clock_device.h"

namespace coilrun {

void PostQuitAfterWindow(WindowEnd* end, uint64_t exitCode) {
  end->quitPosted = true;
  end->quitExitCode = exitCode;
}

std::optional<bool> PeekAfterWindowGone(WindowEnd* end, Message* message) {
  if (!end->windowGone) return std::nullopt;
  if (!end->quitPosted) return false;
  end->quitPosted = false;
  *message = Message{kMessageQuit, end->quitExitCode, 0};
  return true;
}

void StartTitleNote(int64_t* noteEndsNs, int64_t lengthNs) {
  *noteEndsNs = DeviceClockNanoseconds() + lengthNs;
  // 0 stands for no note shown.
  if (*noteEndsNs == 0) *noteEndsNs = 1;
}

bool TitleNoteRanOut(int64_t* noteEndsNs, int64_t nowNs) {
  if (*noteEndsNs == 0 || nowNs < *noteEndsNs) return false;
  *noteEndsNs = 0;
  return true;
}

WindowSize WindowedSizeOn(WindowSize asked, WindowSize area, WindowSize desktop) {
  if (asked.width > 0 && asked.height > 0 && asked.width <= area.width && asked.height <= area.height) {
    return asked;
  }
  int scale = 1;
  while (640 * (scale + 1) * 10 <= desktop.width * 9 && 480 * (scale + 1) * 10 <= desktop.height * 9) ++scale;
  return WindowSize{640 * scale, 480 * scale};
}

}  // namespace coilrun
