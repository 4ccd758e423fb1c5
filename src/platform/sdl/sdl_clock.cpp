// The real clock: the system's monotonic clock, and sleeps that give the processor back, each first showing
// a frame handed over by the last flip.
#include <time.h>

#include "devices/clock_device.h"
#include "platform/sdl/sdl_platform.h"

namespace coilrun {

int64_t DeviceClockNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

void DeviceSleepNanoseconds(int64_t duration) {
  const int64_t deadline = DeviceClockNanoseconds() + duration;
  // A waiting program is the display's chance to show the frame it was handed.
  SdlPresentPendingFrame();
  if (duration <= 0) return;
  timespec until{};
  until.tv_sec = static_cast<time_t>(deadline / 1'000'000'000);
  until.tv_nsec = static_cast<long>(deadline % 1'000'000'000);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) != 0) {
  }
}

}  // namespace coilrun

namespace coilrun {

uint32_t DeviceCalendarSeconds() { return static_cast<uint32_t>(time(nullptr)); }

}  // namespace coilrun
