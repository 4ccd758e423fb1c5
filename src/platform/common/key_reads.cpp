// What every keyboard layer does around its own read of the keys.
#include "platform/common/key_reads.h"

#include <algorithm>

#include "devices/clock_device.h"

namespace coilrun {

void AcquireKeyboardHold(KeyboardHold* hold, bool focus) {
  hold->acquired = true;
  hold->hadFocus = focus;
}

KeyReadResult CheckKeyboardHold(KeyboardHold* hold, bool focus) {
  if (hold->hadFocus && !focus) {
    hold->hadFocus = false;
    hold->acquired = false;
    return KeyReadResult::kInputLost;
  }
  hold->hadFocus = focus;
  return hold->acquired ? KeyReadResult::kOk : KeyReadResult::kFailed;
}

bool ShouldNapBeforeRead(const IdlePoll& poll) {
  return poll.lastReadChangedNothing && DeviceClockNanoseconds() - poll.lastReadEndNs < kQuickPollNs;
}

KeyReadResult HandOutKeys(IdlePoll* poll, const std::array<uint8_t, 256>& keys, uint8_t* state) {
  std::copy(keys.begin(), keys.end(), state);
  poll->lastReadChangedNothing = keys == poll->lastSnapshot;
  poll->lastSnapshot = keys;
  poll->lastReadEndNs = DeviceClockNanoseconds();
  return KeyReadResult::kOk;
}

}  // namespace coilrun
