// The one sound effect: loaded from a wave file into memory and into the device's buffer, played once.
#include "devices/sound.h"

#include <cstring>

#include "devices/data_file.h"
#include "devices/sound_device.h"
#include "devices/wave_file.h"

namespace coilrun {

std::vector<uint8_t> EffectData;
uint32_t EffectSize = 0;

namespace {

// Whether the sound device and the effect's buffer exist.
bool soundObjectMade = false;
bool effectBufferMade = false;
// Wave files larger than this are not effects; refusing them bounds what a file can make the game read.
constexpr size_t kLargestWaveFile = size_t{64} * 1024 * 1024;

}  // namespace

bool InitSound() {
  if (!DeviceCreateSoundObject()) return false;
  soundObjectMade = true;
  return DeviceSetSoundCooperativeLevel();
}

void ReleaseSound() {
  if (effectBufferMade) {
    DeviceReleaseSoundBuffer();
    effectBufferMade = false;
  }
  if (soundObjectMade) {
    DeviceReleaseSoundObject();
    soundObjectMade = false;
  }
}

bool LoadEffect(const char* fileName) {
  std::vector<uint8_t> bytes;
  if (!ReadDataFile(fileName, kLargestWaveFile, &bytes)) return false;
  std::vector<uint8_t> samples;
  if (!ReadWaveSamples(bytes.data(), bytes.size(), &samples)) return false;
  EffectData = std::move(samples);
  EffectSize = static_cast<uint32_t>(EffectData.size());
  if (!CreateEffectBuffer()) return false;
  return FillEffectBuffer();
}

bool CreateEffectBuffer() {
  if (!soundObjectMade || !DeviceCreateSoundBuffer(EffectSize)) return false;
  effectBufferMade = true;
  return true;
}

bool FillEffectBuffer() {
  uint8_t* first = nullptr;
  uint8_t* second = nullptr;
  uint32_t firstSize = 0;
  uint32_t secondSize = 0;
  // A lock that fails leaves nothing to copy into: the load fails.
  if (!DeviceLockSoundBuffer(0, EffectSize, &first, &firstSize, &second, &secondSize)) return false;
  if (firstSize > EffectSize || secondSize > EffectSize - firstSize) firstSize = secondSize = 0;
  if (firstSize > 0) std::memcpy(first, EffectData.data(), firstSize);
  if (second != nullptr && secondSize > 0) std::memcpy(second, EffectData.data() + firstSize, secondSize);
  return DeviceUnlockSoundBuffer(first, firstSize, second, secondSize);
}

bool PlayEffect(int loop) {
  if (!effectBufferMade) return false;
  return DevicePlaySoundBuffer(loop == 1);
}

uint32_t EffectLengthMs() {
  return static_cast<uint32_t>((uint64_t{EffectSize} * 1000 + kEffectSamplesPerSecond - 1) /
                               kEffectSamplesPerSecond);
}

void FreeEffect() {
  if (effectBufferMade) {
    DeviceReleaseSoundBuffer();
    effectBufferMade = false;
  }
  EffectData.clear();
  EffectData.shrink_to_fit();
  EffectSize = 0;
}

void ResetSound() {
  FreeEffect();
  ReleaseSound();
}

}  // namespace coilrun
