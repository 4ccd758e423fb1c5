// What every keyboard layer does around its own read of the keys: the lost focus that takes the keyboard
// away, the nap of a read that polls without pause, and handing a snapshot out.
#pragma once

#include <array>
#include <cstdint>

#include "devices/keyboard_device.h"

namespace coilrun {

// Whether the keyboard is acquired, and whether the window had the keyboard at the last read.
struct KeyboardHold {
  bool acquired = false;
  bool hadFocus = true;
};

// What a layer remembers of its last read, for the nap.
struct IdlePoll {
  std::array<uint8_t, 256> lastSnapshot{};  // the keys the last read handed out
  int64_t lastReadEndNs = 0;                // the clock when it ended
  bool lastReadChangedNothing = false;      // whether it matched the read before
};

// A read this soon after a read that changed nothing is a poll without pause (the key waits). Play, the
// menu and the pause dialog read once a frame, at least 3 ms apart, and never nap.
inline constexpr int64_t kQuickPollNs = 2'000'000;

// Starts reading: acquired, with the window's focus as it is now.
void AcquireKeyboardHold(KeyboardHold* hold, bool focus);

// Before a read, with the window's focus now: kInputLost at the first read after the focus went (the
// keyboard is then no longer acquired), kFailed while not acquired, else kOk and the read goes on.
KeyReadResult CheckKeyboardHold(KeyboardHold* hold, bool focus);

// True when the read about to be made should nap first.
bool ShouldNapBeforeRead(const IdlePoll& poll);

// Writes the keys into the caller's 256 bytes and notes them, at the clock's present time, for the nap.
KeyReadResult HandOutKeys(IdlePoll* poll, const std::array<uint8_t, 256>& keys, uint8_t* state);

}  // namespace coilrun
