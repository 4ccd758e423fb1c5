// What the logic asks of a platform's clock: monotonic time, a way to let it pass, and the calendar.
#pragma once

#include <cstdint>

namespace coilrun {

int64_t DeviceClockNanoseconds();
// Monotonic time in nanoseconds since an arbitrary start; never goes back.
void DeviceSleepNanoseconds(int64_t duration);
// Lets about `duration` pass, giving the processor back (the in-memory clock just moves on by it, at least
// a microsecond). SDL first shows a frame handed over by the last flip and not yet shown.
uint32_t DeviceCalendarSeconds();
// The calendar time in whole seconds, as the game's random seed.

}  // namespace coilrun
