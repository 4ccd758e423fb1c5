// The virtual clock: reading it takes no time, and a wait advances it by exactly what was asked.
#include "platform/memory/memory_clock.h"

#include "devices/clock_device.h"

namespace coilrun {

namespace {

// Virtual time now, and the total time waited since the last reset.
int64_t virtualNow = 0;
int64_t totalSlept = 0;
// The calendar time reported as the game's seed.
uint32_t calendarSeconds = 1;
// The least a wait can take, so that a wait of nothing still lets time move on.
constexpr int64_t kShortestSleepNs = 1'000;

}  // namespace

void MemorySetClockNanoseconds(int64_t now) { virtualNow = now; }
int64_t MemoryClockNanoseconds() { return virtualNow; }
int64_t MemorySleptNanoseconds() { return totalSlept; }

void MemoryResetClock() {
  virtualNow = 0;
  totalSlept = 0;
  calendarSeconds = 1;
}

void MemorySetCalendarSeconds(uint32_t seconds) { calendarSeconds = seconds; }
uint32_t DeviceCalendarSeconds() { return calendarSeconds; }

int64_t DeviceClockNanoseconds() { return virtualNow; }

void DeviceSleepNanoseconds(int64_t duration) {
  const int64_t step = duration < kShortestSleepNs ? kShortestSleepNs : duration;
  virtualNow += step;
  totalSlept += step;
}

}  // namespace coilrun
