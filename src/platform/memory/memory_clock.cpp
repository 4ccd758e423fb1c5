// The virtual clock: reading it takes no time, and a wait advances it by exactly what was asked.
#include "platform/memory/memory_clock.h"

#include <cstdio>
#include <stdexcept>

#include "devices/clock_device.h"
#include "platform/memory/memory_window.h"

namespace coilrun {

namespace {

// Virtual time now, and the total time waited since the last reset.
int64_t virtualNow = 0;
int64_t totalSlept = 0;
// The calendar time reported as the game's seed.
uint32_t calendarSeconds = 1;
// The virtual time waited past which a run is taken to never end; whether this run was asked to end for
// passing a limit; the line that said so, kept until taken.
int64_t waitLimit = kMemoryWaitLimitNs;
bool runawayClosed = false;
std::string runaway;
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
  waitLimit = kMemoryWaitLimitNs;
  runawayClosed = false;
}

void MemorySetWaitLimit(int64_t nanoseconds) {
  waitLimit = nanoseconds;
}

void MemoryNoteRunaway(const std::string& what, bool twiceOver) {
  const std::string line = "in-memory layer: " + what + " since the reset, so the run would never end";
  if (twiceOver) throw std::runtime_error(line + "; it went on to twice that though asked to close");
  if (runawayClosed) return;
  runawayClosed = true;
  if (runaway.empty()) runaway = line;
  std::fprintf(stderr, "%s\n", line.c_str());
  MemoryRequestClose();
}

std::string MemoryTakeRunaway() {
  std::string taken;
  taken.swap(runaway);
  return taken;
}

void MemorySetCalendarSeconds(uint32_t seconds) { calendarSeconds = seconds; }
uint32_t DeviceCalendarSeconds() { return calendarSeconds; }

int64_t DeviceClockNanoseconds() { return virtualNow; }

void DeviceSleepNanoseconds(int64_t duration) {
  const int64_t step = duration < kShortestSleepNs ? kShortestSleepNs : duration;
  virtualNow += step;
  totalSlept += step;
  if (totalSlept > waitLimit) {
    MemoryNoteRunaway(
        "the run has waited more than " + std::to_string(waitLimit / 1'000'000) + " ms of virtual time",
        totalSlept / 2 > waitLimit);
  }
}

}  // namespace coilrun
