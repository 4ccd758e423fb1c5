// The nap of a keyboard read that polls without pause: the key waits read the keys in a tight loop, and a
// layer lets the processor rest when a read comes right after one that changed nothing.
#pragma once

#include <array>
#include <cstdint>

namespace coilrun {

// What a layer remembers of its last keyboard read.
struct IdlePoll {
  std::array<uint8_t, 256> lastSnapshot{};  // the keys the last read handed out
  int64_t lastReadEndNs = 0;                // the clock when it ended
  bool lastReadChangedNothing = false;      // whether it matched the read before
};

// A read this soon after a read that changed nothing is a poll without pause. Play, the menu and the
// pause dialog read once a frame, at least 3 ms apart, and never nap.
inline constexpr int64_t kQuickPollNs = 2'000'000;

// True when the read about to be made should nap first.
bool ShouldNapBeforeRead(const IdlePoll& poll);

// Notes the keys a read hands out, at the clock's present time.
void NoteKeyRead(IdlePoll* poll, const std::array<uint8_t, 256>& keys);

}  // namespace coilrun
