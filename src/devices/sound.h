// One sound effect at a time, read from an uncompressed wave file, played as 8-bit mono at 11025 Hz.
#pragma once

#include <cstdint>
#include <vector>

namespace coilrun {

// Opens the sound device. True on success.
bool InitSound();

// Releases the effect's buffer and the device; the effect's data is left to FreeEffect.
void ReleaseSound();

// Loads a wave file's samples as the one effect. False when the file cannot be read as one.
// The effect loaded before must have been freed.
bool LoadEffect(const char* fileName);

// Silences and frees the effect; nothing happens when none is loaded.
void FreeEffect();

// Plays the loaded effect: over and over when `loop` is exactly 1, else once. False on failure.
bool PlayEffect(int loop);

// How long the loaded effect sounds when played once, in whole milliseconds rounded up; 0 with none.
uint32_t EffectLengthMs();

// The last two steps of LoadEffect: make the device's buffer for EffectData, and fill it.
bool CreateEffectBuffer();

bool FillEffectBuffer();

// The loaded effect's samples (unsigned 8-bit mono) and their count in bytes.
extern std::vector<uint8_t> EffectData;
extern uint32_t EffectSize;

// Frees the effect and releases the device, as a fresh process has neither.
void ResetSound();

}  // namespace coilrun
