// The millisecond wait, the exact test of a spinning wait without burning a core, and the wait for the
// display's retrace before a flip.
#include "devices/delay.h"

#include <limits>

#include "devices/clock_device.h"
#include "devices/input_record.h"

namespace coilrun {

namespace {

constexpr int64_t kNanosecondsPerMillisecond = 1'000'000;
// When the device last took a flip, on the monotonic clock; none before the first.
constexpr int64_t kNoFlip = std::numeric_limits<int64_t>::min();
int64_t lastFlipTakenNs = kNoFlip;

// Sleeps until the monotonic clock reaches `endNs`.
void SleepUntil(int64_t endNs) {
  for (int64_t now = DeviceClockNanoseconds(); now < endNs; now = DeviceClockNanoseconds()) {
    DeviceSleepNanoseconds(endNs - now);
  }
}

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
  SleepUntil((startMs + int64_t{milliseconds} + 1) * kNanosecondsPerMillisecond);
}

int64_t NextRetraceAfter(int64_t afterNs) {
  return (afterNs / kRetracePeriodNs + 1) * kRetracePeriodNs;
}

void WaitForRetrace() {
  // The device could take a flip no sooner than the first retrace after it took the previous one.
  if (lastFlipTakenNs == kNoFlip || FastReplay()) return;
  SleepUntil(NextRetraceAfter(lastFlipTakenNs));
}

void NoteFlipTaken() {
  lastFlipTakenNs = DeviceClockNanoseconds();
}
void ResetFlipPacing() {
  lastFlipTakenNs = kNoFlip;
}

}  // namespace coilrun
