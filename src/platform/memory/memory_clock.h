// Test controls of the virtual clock: time passes only when the program waits.
#pragma once

#include <cstdint>
#include <string>

namespace coilrun {

// Sets the virtual time, in nanoseconds.
void MemorySetClockNanoseconds(int64_t now);

int64_t MemoryClockNanoseconds();

// Total virtual time spent in waits since the last reset.
int64_t MemorySleptNanoseconds();

void MemoryResetClock();

// The calendar time the device reports (the game's seed); 1 after a reset.
void MemorySetCalendarSeconds(uint32_t seconds);

// A run that would never end. Past the most virtual time a run may wait, or the most keyboard reads it may
// make, since the reset, the in-memory layer prints one line on stderr naming the limit and asks the window
// to close, which ends the program as the close button does; a run that goes on to twice the limit all the
// same throws std::runtime_error. A reset restores kMemoryWaitLimitNs.
inline constexpr int64_t kMemoryWaitLimitNs = int64_t{900} * 1'000'000'000;

void MemorySetWaitLimit(int64_t nanoseconds);

// Called by the in-memory devices when a run passes one of the limits; `what` says which.
void MemoryNoteRunaway(const std::string& what, bool twiceOver);

// The line of the first run past a limit since it was last taken, empty for none; resets keep it, so that a
// test sees it at its end.
std::string MemoryTakeRunaway();

}  // namespace coilrun
