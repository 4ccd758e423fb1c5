// What every keyboard layer does around its own read of the keys.
#include "platform/common/key_reads.h"

#include <algorithm>

#include "devices/clock_device.h"
#include "devices/key_codes.h"
#include "platform/common/sound_level.h"

namespace coilrun {

std::array<uint8_t, 256> IdentityKeyMap() {
  std::array<uint8_t, 256> identity{};
  for (size_t code = 0; code < identity.size(); ++code) identity[code] = static_cast<uint8_t>(code);
  return identity;
}

void ApplyKeyMap(const std::array<uint8_t, 256>& keyMap, std::array<uint8_t, 256>* keys) {
  std::array<uint8_t, 256> mapped{};
  for (size_t code = 0; code < keys->size(); ++code) {
    if ((*keys)[code] != 0 && keyMap[code] != 0) mapped[keyMap[code]] = kKeyHeld;
  }
  *keys = mapped;
}

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

void ForgetKeyReads(HotkeyLatch* hotkeys, IdlePoll* poll) {
  *hotkeys = HotkeyLatch{};
  *poll = IdlePoll{};
}

KeyReadResult CheckWindowKeyboardHold(KeyboardHold* hold, HotkeyLatch* hotkeys, bool focus) {
  const KeyReadResult holding = CheckKeyboardHold(hold, focus);
  if (holding == KeyReadResult::kInputLost) *hotkeys = HotkeyLatch{};
  return holding;
}

void ActOnWindowKeys(HotkeyLatch* hotkeys, uint8_t* keys, const WindowKeyActions& actions) {
  const HotkeyActions asked = FilterHotkeys(hotkeys, keys);
  if (asked.toggleFullScreen && actions.toggleFullScreen != nullptr) actions.toggleFullScreen();
  if (asked.saveScreenshot && actions.saveScreenshot != nullptr) actions.saveScreenshot();
  if (const std::string note = StepSoundLevelByHotkeys(asked); !note.empty()) actions.showTitleNote(note);
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
