// The nap of a keyboard read that polls without pause.
#include "platform/common/idle_nap.h"

#include "devices/clock_device.h"

namespace coilrun {

bool ShouldNapBeforeRead(const IdlePoll& poll) {
  return poll.lastReadChangedNothing && DeviceClockNanoseconds() - poll.lastReadEndNs < kQuickPollNs;
}

void NoteKeyRead(IdlePoll* poll, const std::array<uint8_t, 256>& keys) {
  poll->lastReadChangedNothing = keys == poll->lastSnapshot;
  poll->lastSnapshot = keys;
  poll->lastReadEndNs = DeviceClockNanoseconds();
}

}  // namespace coilrun
