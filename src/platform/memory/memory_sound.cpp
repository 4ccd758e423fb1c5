// The in-memory sound device: one buffer in RAM and a log of what it played.
#include "platform/memory/memory_sound.h"

#include <set>

#include "devices/clock_device.h"
#include "devices/sound_device.h"
#include "platform/memory/memory_window.h"

namespace coilrun {

namespace {

// Refused steps, the buffer and whether it exists, where locks split, the log.
std::set<MemorySoundStep> refused;
std::vector<uint8_t> buffer;
bool bufferMade = false;
int liveBuffers = 0;
uint32_t lockSplit = 0;
std::vector<MemorySoundEvent> log;
// The level set, full at start.
int volume = kFullVolume;
bool muted = false;

bool Refused(MemorySoundStep step) { return refused.count(step) != 0; }

void Note(const char* what) {
  log.push_back(MemorySoundEvent{what, MemorySampleChecksum(buffer), static_cast<uint32_t>(buffer.size()),
                                 DeviceClockNanoseconds(), muted ? 0 : volume});
}

}  // namespace

void MemoryResetSound() {
  refused.clear();
  buffer.clear();
  bufferMade = false;
  liveBuffers = 0;
  lockSplit = 0;
  log.clear();
  volume = kFullVolume;
  muted = false;
}

void MemoryRefuseSoundStep(MemorySoundStep step, bool refuse) {
  if (refuse) {
    refused.insert(step);
  } else {
    refused.erase(step);
  }
}

void MemorySplitSoundLockAt(uint32_t offset) { lockSplit = offset; }
const std::vector<MemorySoundEvent>& MemorySoundLog() { return log; }
const std::vector<uint8_t>& MemorySoundBuffer() { return buffer; }
int MemoryLiveSoundBuffers() { return liveBuffers; }

uint64_t MemorySampleChecksum(const std::vector<uint8_t>& samples) {
  uint64_t hash = 1469598103934665603ull;
  for (uint8_t sample : samples) hash = (hash ^ sample) * 1099511628211ull;
  return hash;
}

bool DeviceCreateSoundObject() {
  if (Refused(MemorySoundStep::kSoundObject)) return false;
  MemoryNoteLifetime("sound");
  return true;
}
bool DeviceSetSoundCooperativeLevel() { return !Refused(MemorySoundStep::kCooperativeLevel); }

bool DeviceCreateSoundBuffer(uint32_t size) {
  if (Refused(MemorySoundStep::kCreateBuffer) || size == 0) return false;
  buffer.assign(size, 128);
  bufferMade = true;
  ++liveBuffers;
  Note("create");
  return true;
}

bool DeviceLockSoundBuffer(uint32_t offset, uint32_t size, uint8_t** first, uint32_t* firstSize,
                           uint8_t** second, uint32_t* secondSize) {
  if (Refused(MemorySoundStep::kLock) || !bufferMade || offset > buffer.size() || size > buffer.size() - offset) {
    return false;
  }
  const uint32_t split = lockSplit > 0 && lockSplit < size ? lockSplit : size;
  *first = buffer.data() + offset;
  *firstSize = split;
  *second = split < size ? buffer.data() + offset + split : nullptr;
  *secondSize = size - split;
  return true;
}

bool DeviceUnlockSoundBuffer(uint8_t*, uint32_t, uint8_t*, uint32_t) {
  return !Refused(MemorySoundStep::kUnlock);
}

bool DevicePlaySoundBuffer(bool loop) {
  if (Refused(MemorySoundStep::kPlay) || !bufferMade) return false;
  Note(loop ? "loop" : "play");
  return true;
}

void DeviceReleaseSoundBuffer() {
  if (!bufferMade) return;
  Note("release");
  buffer.clear();
  bufferMade = false;
  --liveBuffers;
}

void DeviceReleaseSoundObject() { MemoryNoteLifetime("-sound"); }
void DeviceSetSoundLevel(int newVolume, bool newMuted) {
  volume = newVolume;
  muted = newMuted;
}
void DeviceGetSoundLevel(int* currentVolume, bool* currentlyMuted) {
  *currentVolume = volume;
  *currentlyMuted = muted;
}

}  // namespace coilrun
