// Test controls of the in-memory sound device: what was loaded and played and when, refused steps.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace coilrun {

enum class MemorySoundStep { kSoundObject, kCooperativeLevel, kCreateBuffer, kLock, kUnlock, kPlay };

// One thing the sound device did: "create", "play", "loop" or "release", with the buffer's samples'
// checksum (FNV-1a over the bytes) and size, the virtual time, and the level the effect sounds at
// (the volume, 0 while muted).
struct MemorySoundEvent {
  std::string what;
  uint64_t checksum;
  uint32_t size;
  int64_t timeNs;
  int level = 100;
};

void MemoryResetSound();

void MemoryRefuseSoundStep(MemorySoundStep step, bool refuse = true);

// Locks hand out the buffer in two regions, split at this offset (0: one region).
void MemorySplitSoundLockAt(uint32_t offset);

const std::vector<MemorySoundEvent>& MemorySoundLog();

// The samples in the device's buffer, empty without one.
const std::vector<uint8_t>& MemorySoundBuffer();

// Checksum of a run of samples, as the log gives it.
uint64_t MemorySampleChecksum(const std::vector<uint8_t>& samples);

// Buffers made and not yet released.
int MemoryLiveSoundBuffers();

}  // namespace coilrun
