// What the logic asks of a platform's clock: monotonic time, a way to let it pass, and the calendar.
#pragma once

#include <cstdint>

namespace coilrun {

// Monotonic time in nanoseconds since an arbitrary start; never goes back.
int64_t DeviceClockNanoseconds();

// Lets about `duration` pass, giving the processor back; may first show a frame handed over by the last
// flip.
void DeviceSleepNanoseconds(int64_t duration);

// The calendar time in whole seconds, as the game's random seed.
uint32_t DeviceCalendarSeconds();

}  // namespace coilrun
