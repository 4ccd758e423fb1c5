// The browser's sound: the one effect buffer of unsigned 8-bit mono samples at 11025 Hz, handed to the
// page, which plays it through WebAudio.
#include <emscripten.h>

#include <string>
#include <vector>

#include "devices/sound_device.h"
#include "platform/web/web_platform.h"

namespace coilrun {

namespace {

constexpr uint8_t kSilence = 128;

// Whether the page has its audio, and the effect buffer, empty when none is made.
bool deviceOpen = false;
std::vector<uint8_t> samples;
// The level the page plays effects at.
int volume = kFullVolume;
bool muted = false;

// The page's side: its audio context (started by the player's first key, as browsers want), the effect
// as the page holds it, and its playing. Each returns false where the browser has no audio.
EM_JS(bool, PageOpenAudio, (), { return Module.coilrunOpenAudio(); });
EM_JS(void, PageSetEffect, (const uint8_t* bytes, int size), { Module.coilrunSetEffect(bytes, size); });
EM_JS(void, PagePlayEffect, (bool loop), { Module.coilrunPlayEffect(loop); });
EM_JS(void, PageStopEffect, (), { Module.coilrunStopEffect(); });
EM_JS(void, PageSetLevel, (int level, bool mute), { Module.coilrunSetLevel(level, mute); });

}  // namespace

void DeviceSetSoundLevel(int newVolume, bool newMuted) {
  volume = newVolume < 0 ? 0 : (newVolume > kFullVolume ? kFullVolume : newVolume);
  muted = newMuted;
  PageSetLevel(volume, muted);
}

void DeviceGetSoundLevel(int* currentVolume, bool* currentlyMuted) {
  *currentVolume = volume;
  *currentlyMuted = muted;
}

void WebStepSoundLevel(int steps, bool toggleMute) {
  if (toggleMute) {
    DeviceSetSoundLevel(volume, !muted);
  } else {
    // Turning the sound up or down is meant to be heard: it unmutes.
    DeviceSetSoundLevel(volume + steps * kVolumeStep, false);
  }
  WebShowTitleNote(muted ? std::string("sound off") : "volume " + std::to_string(volume) + "%");
}

bool DeviceCreateSoundObject() {
  deviceOpen = PageOpenAudio();
  return deviceOpen;
}

bool DeviceSetSoundCooperativeLevel() {
  return deviceOpen;
}

bool DeviceCreateSoundBuffer(uint32_t size) {
  if (!deviceOpen || size == 0) return false;
  samples.assign(size, kSilence);
  return true;
}

bool DeviceLockSoundBuffer(uint32_t offset, uint32_t size, uint8_t** first, uint32_t* firstSize,
                           uint8_t** second, uint32_t* secondSize) {
  if (!deviceOpen || offset > samples.size() || size > samples.size() - offset) return false;
  *first = samples.data() + offset;
  *firstSize = size;
  *second = nullptr;
  *secondSize = 0;
  return true;
}

bool DeviceUnlockSoundBuffer(uint8_t*, uint32_t, uint8_t*, uint32_t) {
  PageSetEffect(samples.data(), static_cast<int>(samples.size()));
  return true;
}

bool DevicePlaySoundBuffer(bool loop) {
  if (!deviceOpen || samples.empty()) return false;
  PagePlayEffect(loop);
  return true;
}

void DeviceReleaseSoundBuffer() {
  if (samples.empty()) return;
  PageStopEffect();
  samples.clear();
  samples.shrink_to_fit();
}

void DeviceReleaseSoundObject() {
  DeviceReleaseSoundBuffer();
  deviceOpen = false;
}

}  // namespace coilrun
