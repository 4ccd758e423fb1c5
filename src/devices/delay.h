// The millisecond wait that paces the menu, the fade and play.
#pragma once

#include <cstdint>

namespace coilrun {

// The monotonic millisecond clock, wrapping to 0 after about 49.7 days.
uint32_t ClockMilliseconds();

// Returns once strictly more than `milliseconds` have passed on the millisecond clock, right across its
// wrap. Sleeps until the moment that happens, in one sleep where the clock allows.
void DelayMs(uint32_t milliseconds);

// The modelled display refresh: one retrace every 1/60 s on the program's monotonic clock.
inline constexpr int64_t kRetracePeriodNs = 1'000'000'000 / 60;

// The moment of the first retrace after `afterNs`, on the same clock.
int64_t NextRetraceAfter(int64_t afterNs);

// Waits until the display could take another flip: the first retrace after it took the previous one. At
// once for the first flip and in a replay that skips the waits.
void WaitForRetrace();

// Notes that the device has just taken a flip.
void NoteFlipTaken();

// Forgets the previous flip, so that the next one is taken at once (a new display, or a test).
void ResetFlipPacing();

}  // namespace coilrun
