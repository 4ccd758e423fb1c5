// The SDL sound device: one audio device fed unsigned 8-bit mono at 11025 Hz, SDL converting for the
// hardware, and one effect buffer that the audio callback plays.
#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "devices/sound_device.h"
#include "platform/sdl/sdl_platform.h"

namespace coilrun {

namespace {

constexpr int kSampleRate = 11025;
constexpr Uint8 kSilence = 128;
// Samples over which a stopped effect glides to silence instead of clicking (about 3 ms).
constexpr int kFadeOutSamples = 32;

// The open device, 0 when none.
SDL_AudioDeviceID device = 0;
// What the callback plays; guarded by the device's lock.
struct Voice {
  std::vector<Uint8> samples;  // the effect buffer
  size_t position = 0;         // the play position
  bool playing = false;
  bool looping = false;
  std::vector<Uint8> tail;  // the glide to silence of an effect just released
  size_t tailPosition = 0;
};
Voice voice;
// The level every sample is played at: volume in percent, and mute. Kept apart from the device, which
// the level outlives; read by the callback under the device's lock.
int volume = 100;
bool muted = false;

// A sample brought towards silence by the level; the buffer's own samples stay as they are.
Uint8 AtLevel(Uint8 sample) {
  if (muted) return kSilence;
  return static_cast<Uint8>(kSilence + (sample - kSilence) * volume / kFullVolume);
}

void FillAudio(void*, Uint8* stream, int length) {
  for (int i = 0; i < length; ++i) {
    Uint8 sample = kSilence;
    if (voice.tailPosition < voice.tail.size()) {
      sample = voice.tail[voice.tailPosition++];
    } else if (voice.playing && !voice.samples.empty()) {
      sample = voice.samples[voice.position++];
      if (voice.position == voice.samples.size()) {
        // A single play ends here and leaves the position at the start for the next request.
        voice.position = 0;
        voice.playing = voice.looping;
      }
    }
    stream[i] = AtLevel(sample);
  }
}

bool OpenDevice() {
  SDL_AudioSpec wanted{};
  wanted.freq = kSampleRate;
  wanted.format = AUDIO_U8;
  wanted.channels = 1;
  wanted.samples = 256;
  wanted.callback = FillAudio;
  device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
  return device != 0;
}

// Opens the system's sound device. The sound libraries SDL loads print their own complaints on stderr
// when there is no card; those are held back, and the game says it in one line of its own instead.
bool OpenSystemDevice() {
  std::fflush(stderr);
  const int savedStderr = dup(STDERR_FILENO);
  const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (savedStderr >= 0 && devNull >= 0) dup2(devNull, STDERR_FILENO);
  const bool opened = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && OpenDevice();
  if (savedStderr >= 0) {
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
  }
  if (devNull >= 0) close(devNull);
  return opened;
}

}  // namespace

// Without a sound device, says so in one line on stderr and opens SDL's silent one instead.
bool DeviceCreateSoundObject() {
  if (OpenSystemDevice()) return true;
  // Players expect a silent game rather than none: without a sound device the game goes on mute.
  std::fprintf(stderr, "coilrun: no sound device (%s); playing silently\n", SDL_GetError());
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
  return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && OpenDevice();
}

bool DeviceSetSoundCooperativeLevel() {
  if (device == 0) return false;
  SDL_PauseAudioDevice(device, 0);
  return true;
}

void DeviceSetSoundLevel(int newVolume, bool newMuted) {
  if (device != 0) SDL_LockAudioDevice(device);
  volume = newVolume < 0 ? 0 : (newVolume > kFullVolume ? kFullVolume : newVolume);
  muted = newMuted;
  if (device != 0) SDL_UnlockAudioDevice(device);
}

void DeviceGetSoundLevel(int* currentVolume, bool* currentlyMuted) {
  *currentVolume = volume;
  *currentlyMuted = muted;
}

void SdlStepSoundLevel(int steps, bool toggleMute) {
  if (toggleMute) {
    DeviceSetSoundLevel(volume, !muted);
  } else {
    // Turning the sound up or down is meant to be heard: it unmutes.
    DeviceSetSoundLevel(volume + steps * kVolumeStep, false);
  }
  SdlShowTitleNote(muted ? std::string("sound off") : "volume " + std::to_string(volume) + "%");
}

bool DeviceCreateSoundBuffer(uint32_t size) {
  if (device == 0 || size == 0) return false;
  SDL_LockAudioDevice(device);
  voice.samples.assign(size, kSilence);
  voice.position = 0;
  voice.playing = false;
  voice.looping = false;
  SDL_UnlockAudioDevice(device);
  return true;
}

// Holds the audio thread off the buffer until the unlock.
bool DeviceLockSoundBuffer(uint32_t offset, uint32_t size, uint8_t** first, uint32_t* firstSize,
                           uint8_t** second, uint32_t* secondSize) {
  if (device == 0 || offset > voice.samples.size() || size > voice.samples.size() - offset) return false;
  SDL_LockAudioDevice(device);
  *first = voice.samples.data() + offset;
  *firstSize = size;
  *second = nullptr;
  *secondSize = 0;
  return true;
}

bool DeviceUnlockSoundBuffer(uint8_t*, uint32_t, uint8_t*, uint32_t) {
  SDL_UnlockAudioDevice(device);
  return true;
}

bool DevicePlaySoundBuffer(bool loop) {
  if (device == 0 || voice.samples.empty()) return false;
  SDL_LockAudioDevice(device);
  voice.playing = true;
  voice.looping = loop;
  SDL_UnlockAudioDevice(device);
  return true;
}

void DeviceReleaseSoundBuffer() {
  if (device == 0) return;
  SDL_LockAudioDevice(device);
  voice.tail.clear();
  voice.tailPosition = 0;
  if (voice.playing && !voice.samples.empty()) {
    // Glide from where the effect is to silence over a few milliseconds.
    for (int i = 0; i < kFadeOutSamples; ++i) {
      const int sample = voice.samples[(voice.position + static_cast<size_t>(i)) % voice.samples.size()];
      const int faded = kSilence + (sample - kSilence) * (kFadeOutSamples - i) / kFadeOutSamples;
      voice.tail.push_back(static_cast<Uint8>(faded));
    }
  }
  voice.samples.clear();
  voice.samples.shrink_to_fit();
  voice.position = 0;
  voice.playing = false;
  SDL_UnlockAudioDevice(device);
}

void DeviceReleaseSoundObject() {
  if (device != 0) SDL_CloseAudioDevice(device);
  device = 0;
  voice = Voice{};
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace coilrun
