// What the sound layers share: the one effect voice that a layer's audio thread plays, the level every
// sample is played at, and the sound keys' steps of that level.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/common/window_hotkeys.h"

namespace coilrun {

// The sample value of silence in unsigned 8-bit sound.
inline constexpr uint8_t kSilentSample = 128;

// The effect as a layer's audio thread plays it; the layer guards it with its own lock.
struct SoundVoice {
  std::vector<uint8_t> samples;  // the effect buffer
  size_t position = 0;           // the play position
  bool playing = false;
  bool looping = false;
  std::vector<uint8_t> tail;  // the glide to silence of an effect just released
  size_t tailPosition = 0;
};

// A volume in percent brought within 0 to kFullVolume.
int ClampVolume(int volume);

// Makes the effect buffer `size` samples of silence, stopped, played from the start.
void MakeVoiceBuffer(SoundVoice* voice, uint32_t size);

// True when the `size` samples from `offset` lie within the effect buffer.
bool VoiceHoldsRange(const SoundVoice& voice, uint32_t offset, uint32_t size);

// Fills `length` samples of output: the glide of a released effect first, then the effect (a single play
// ends at its last sample with the position back at the start), else silence; each brought towards
// silence by the level, the buffer's own samples staying as they are.
void MixVoice(SoundVoice* voice, int volume, bool muted, uint8_t* out, size_t length);

// Drops the effect buffer; an effect still playing glides to silence over a few milliseconds.
void ReleaseVoiceBuffer(SoundVoice* voice);

// Acts on the sound keys of one read (mute toggles; turning the sound up or down unmutes) through the
// sound device's level, and returns the note that says the level now, empty when no sound key was pressed.
std::string StepSoundLevelByHotkeys(const HotkeyActions& actions);

}  // namespace coilrun
