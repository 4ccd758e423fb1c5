// Test controls of the virtual clock: time passes only when the program waits.
#pragma once

#include <cstdint>

namespace coilrun {

// Sets the virtual time, in nanoseconds.
void MemorySetClockNanoseconds(int64_t now);

int64_t MemoryClockNanoseconds();

// Total virtual time spent in waits since the last reset.
int64_t MemorySleptNanoseconds();

void MemoryResetClock();

// The calendar time the device reports (the game's seed); 1 after a reset.
void MemorySetCalendarSeconds(uint32_t seconds);

}  // namespace coilrun
