// The millisecond wait: the exact test of a spinning wait, without burning a core.
#include "devices/delay.h"

#include "devices/clock_device.h"
#include "devices/input_record.h"

namespace coilrun {

namespace {

constexpr int64_t kNanosecondsPerMillisecond = 1'000'000;
// How finely the last millisecond of a wait is polled.
constexpr int64_t kFinePollNs = 50'000;

}  // namespace

uint32_t ClockMilliseconds() {
  return static_cast<uint32_t>(DeviceClockNanoseconds() / kNanosecondsPerMillisecond);
}

void DelayMs(uint32_t milliseconds) {
  if (FastReplay()) return;
  const uint32_t start = ClockMilliseconds();
  for (;;) {
    // Unsigned difference: right when the clock wraps between the two readings.
    const uint32_t elapsed = ClockMilliseconds() - start;
    if (elapsed > milliseconds) return;
    const uint64_t ticksLeft = uint64_t{milliseconds} + 1 - elapsed;
    if (ticksLeft > 1) {
      DeviceSleepNanoseconds(static_cast<int64_t>(ticksLeft - 1) * kNanosecondsPerMillisecond);
    } else {
      DeviceSleepNanoseconds(kFinePollNs);
    }
  }
}

}  // namespace coilrun
