// The in-memory keyboard: snapshots from a script of held keys, lost input on request.
#include "platform/memory/memory_keyboard.h"

#include <algorithm>
#include <array>
#include <set>
#include <string>

#include "devices/keyboard_device.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_window.h"

namespace coilrun {

namespace {

struct ScriptStep {
  MemoryKeyTrigger trigger;
  uint64_t index;
  std::vector<uint8_t> keys;
};

// The key script, in the order its steps were added, and the test's player that may stand in for it.
std::vector<ScriptStep> script;
std::function<std::vector<uint8_t>(uint64_t)> player;
// Refused steps and reads so far.
std::set<MemoryKeyboardStep> refused;
uint64_t reads = 0;
// The reads past which a run is taken to never end.
uint64_t readLimit = kMemoryReadLimit;
// What exists, whether the device is acquired, and whether the next read finds input lost.
bool inputObjectMade = false;
bool keyboardMade = false;
int misuses = 0;
bool acquired = false;
bool inputLostPending = false;
// The game's key each scripted key is reported as: the key settings handed down.
std::array<uint8_t, 256> keyMap = [] {
  std::array<uint8_t, 256> identity{};
  for (size_t code = 0; code < identity.size(); ++code) identity[code] = static_cast<uint8_t>(code);
  return identity;
}();

void MapKeysAsThemselves() {
  for (size_t code = 0; code < keyMap.size(); ++code) keyMap[code] = static_cast<uint8_t>(code);
}

bool Refused(MemoryKeyboardStep step) {
  return refused.count(step) != 0;
}

bool Reached(const ScriptStep& step, uint64_t readIndex) {
  if (step.trigger == MemoryKeyTrigger::kRead) return readIndex >= step.index;
  return MemoryPresentedFrames().size() >= step.index;
}

}  // namespace

void MemoryResetKeyboard() {
  script.clear();
  player = nullptr;
  refused.clear();
  reads = 0;
  readLimit = kMemoryReadLimit;
  inputObjectMade = false;
  keyboardMade = false;
  misuses = 0;
  acquired = false;
  inputLostPending = false;
  MapKeysAsThemselves();
}

void MemoryHoldKeys(MemoryKeyTrigger trigger, uint64_t index, std::initializer_list<uint8_t> keys) {
  script.push_back(ScriptStep{trigger, index, std::vector<uint8_t>(keys)});
}

void MemoryHoldKeys(MemoryKeyTrigger trigger, uint64_t index, const std::vector<uint8_t>& keys) {
  script.push_back(ScriptStep{trigger, index, keys});
}

void MemorySetKeyPlayer(std::function<std::vector<uint8_t>(uint64_t read)> keyPlayer) {
  player = std::move(keyPlayer);
}

void MemoryLoseKeyboardInput() {
  inputLostPending = true;
}

void MemoryRefuseKeyboardStep(MemoryKeyboardStep step, bool refuse) {
  if (refuse) {
    refused.insert(step);
  } else {
    refused.erase(step);
  }
}

uint64_t MemoryKeyboardReads() { return reads; }
void MemorySetReadLimit(uint64_t limit) { readLimit = limit; }
bool MemoryInputObjectMade() { return inputObjectMade; }
bool MemoryKeyboardDeviceMade() { return keyboardMade; }
bool MemoryKeyboardAcquired() { return acquired; }
int MemoryKeyboardMisuses() { return misuses; }

bool DeviceCreateInputObject() {
  if (inputObjectMade) ++misuses;
  inputObjectMade = !Refused(MemoryKeyboardStep::kInputObject);
  if (inputObjectMade) MemoryNoteLifetime("keyboard");
  return inputObjectMade;
}

bool DeviceCreateKeyboardDevice() {
  if (!inputObjectMade || keyboardMade) ++misuses;
  keyboardMade = !Refused(MemoryKeyboardStep::kKeyboardDevice);
  return keyboardMade;
}

bool DeviceSetKeyboardDataFormat() {
  return !Refused(MemoryKeyboardStep::kDataFormat);
}
bool DeviceSetKeyboardCooperativeLevel() {
  return !Refused(MemoryKeyboardStep::kCooperativeLevel);
}

bool DeviceAcquireKeyboard() {
  if (!keyboardMade) ++misuses;
  acquired = !Refused(MemoryKeyboardStep::kAcquire);
  return acquired;
}

KeyReadResult DeviceGetKeyboardState(uint8_t* state) {
  const uint64_t readIndex = reads++;
  if (reads > readLimit) {
    MemoryNoteRunaway("the run has read the keys more than " + std::to_string(readLimit) + " times",
                      reads / 2 > readLimit);
  }
  if (inputLostPending) {
    inputLostPending = false;
    acquired = false;
    return KeyReadResult::kInputLost;
  }
  if (!acquired) return KeyReadResult::kFailed;
  std::vector<uint8_t> played;
  const std::vector<uint8_t>* held = nullptr;
  if (player) {
    played = player(readIndex);
    held = &played;
  }
  for (const ScriptStep& step : script) {
    if (!player && Reached(step, readIndex)) held = &step.keys;
  }
  for (int i = 0; i < 256; ++i) state[i] = 0;
  if (held != nullptr) {
    for (uint8_t key : *held) {
      if (keyMap[key] != 0) state[keyMap[key]] = 0x80;
    }
  }
  return KeyReadResult::kOk;
}

void DeviceMapKeys(const uint8_t* map) { std::copy(map, map + keyMap.size(), keyMap.begin()); }

void DeviceUnacquireKeyboard() {
  if (!keyboardMade) ++misuses;
  acquired = false;
}

void DeviceReleaseInputObject() {
  if (!inputObjectMade) ++misuses;
  MemoryNoteLifetime("-keyboard");
  inputObjectMade = false;
  keyboardMade = false;
  acquired = false;
}

}  // namespace coilrun
