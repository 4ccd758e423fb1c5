// What the logic needs of a platform's clock: monotonic time and a way to let it pass.
#pragma once

#include <cstdint>

namespace coilrun {

int64_t DeviceClockNanoseconds();
// Monotonic time in nanoseconds since an arbitrary start; never goes back.
void DeviceSleepNanoseconds(int64_t duration);
// Gives up the processor for about `duration` (at least the time passes on a virtual clock).
uint32_t DeviceCalendarSeconds();
// The calendar time in whole seconds, as the game's random seed.

}  // namespace coilrun
