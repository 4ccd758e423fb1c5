// The millisecond wait: the exact test of a spinning wait, without burning a core.
#include "devices/delay.h"

#include "devices/clock_device.h"
#include "devices/input_record.h"

namespace coilrun {

namespace {

constexpr int64_t kNanosecondsPerMillisecond = 1'000'000;

}  // namespace

uint32_t ClockMilliseconds() {
  return static_cast<uint32_t>(DeviceClockNanoseconds() / kNanosecondsPerMillisecond);
}

void DelayMs(uint32_t milliseconds) {
  if (FastReplay()) return;
  // The millisecond clock passes `milliseconds` at a moment of the monotonic clock known from the start:
  // the wait sleeps until then, rather than waking again and again through the last millisecond. Counted
  // in 64 bits, the moment is right across the 32-bit clock's wrap.
  const int64_t startMs = DeviceClockNanoseconds() / kNanosecondsPerMillisecond;
  const int64_t endNs = (startMs + int64_t{milliseconds} + 1) * kNanosecondsPerMillisecond;
  for (int64_t now = DeviceClockNanoseconds(); now < endNs; now = DeviceClockNanoseconds()) {
    DeviceSleepNanoseconds(endNs - now);
  }
}

}  // namespace coilrun
