// What the sound layers share: the effect voice, the level, and the sound keys' steps.
#include "platform/common/sound_level.h"

#include "devices/sound_device.h"

namespace coilrun {

namespace {

// Samples over which a stopped effect glides to silence instead of clicking (about 3 ms).
constexpr int kFadeOutSamples = 32;

uint8_t SampleAtLevel(uint8_t sample, int volume, bool muted) {
  if (muted) return kSilentSample;
  return static_cast<uint8_t>(kSilentSample + (sample - kSilentSample) * volume / kFullVolume);
}

// One step of the level as the sound keys make it, with the note that says the level reached.
std::string StepSoundLevel(int steps, bool toggleMute) {
  int volume = kFullVolume;
  bool muted = false;
  DeviceGetSoundLevel(&volume, &muted);
  if (toggleMute) {
    DeviceSetSoundLevel(volume, !muted);
  } else {
    // Turning the sound up or down is meant to be heard: it unmutes.
    DeviceSetSoundLevel(volume + steps * kVolumeStep, false);
  }
  DeviceGetSoundLevel(&volume, &muted);
  return muted ? std::string("sound off") : "volume " + std::to_string(volume) + "%";
}

}  // namespace

int ClampVolume(int volume) {
  return volume < 0 ? 0 : (volume > kFullVolume ? kFullVolume : volume);
}

void MakeVoiceBuffer(SoundVoice* voice, uint32_t size) {
  voice->samples.assign(size, kSilentSample);
  voice->position = 0;
  voice->playing = false;
  voice->looping = false;
}

bool VoiceHoldsRange(const SoundVoice& voice, uint32_t offset, uint32_t size) {
  return offset <= voice.samples.size() && size <= voice.samples.size() - offset;
}

void MixVoice(SoundVoice* voice, int volume, bool muted, uint8_t* out, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    uint8_t sample = kSilentSample;
    if (voice->tailPosition < voice->tail.size()) {
      sample = voice->tail[voice->tailPosition++];
    } else if (voice->playing && !voice->samples.empty()) {
      sample = voice->samples[voice->position++];
      if (voice->position == voice->samples.size()) {
        // A single play ends here and leaves the position at the start for the next request.
        voice->position = 0;
        voice->playing = voice->looping;
      }
    }
    out[i] = SampleAtLevel(sample, volume, muted);
  }
}

void ReleaseVoiceBuffer(SoundVoice* voice) {
  voice->tail.clear();
  voice->tailPosition = 0;
  if (voice->playing && !voice->samples.empty()) {
    for (int i = 0; i < kFadeOutSamples; ++i) {
      const int sample = voice->samples[(voice->position + static_cast<size_t>(i)) % voice->samples.size()];
      const int faded = kSilentSample + (sample - kSilentSample) * (kFadeOutSamples - i) / kFadeOutSamples;
      voice->tail.push_back(static_cast<uint8_t>(faded));
    }
  }
  voice->samples.clear();
  voice->samples.shrink_to_fit();
  voice->position = 0;
  voice->playing = false;
}

std::string StepSoundLevelByHotkeys(const HotkeyActions& actions) {
  std::string note;
  if (actions.toggleMute) note = StepSoundLevel(0, true);
  if (actions.volumeDown) note = StepSoundLevel(-1, false);
  if (actions.volumeUp) note = StepSoundLevel(1, false);
  return note;
}

}  // namespace coilrun
