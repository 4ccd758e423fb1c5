// The millisecond wait that paces the menu, the fade and play.
#pragma once

#include <cstdint>

namespace coilrun {

// The monotonic millisecond clock, wrapping to 0 after about 49.7 days.
uint32_t ClockMilliseconds();
// Returns once strictly more than `milliseconds` have passed on the millisecond clock, right across its
// wrap. Sleeps until the moment that happens, in one sleep where the clock allows.
void DelayMs(uint32_t milliseconds);

}  // namespace coilrun
