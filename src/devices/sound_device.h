// What the sound logic asks of a platform's audio: one buffer of unsigned 8-bit mono samples at 11025 Hz,
// played once or over and over. The SDL layer, the in-memory layer and the browser's layer each implement
// every operation; none of them waits for the sound.
#pragma once

#include <cstdint>

namespace coilrun {

// The rate every effect is played at, whatever its file says.
inline constexpr uint32_t kEffectSamplesPerSecond = 11025;

bool DeviceCreateSoundObject();
// Opens the default sound device. SDL, finding none, says so in one line on stderr and opens a silent one
// instead. False when even that is refused.
bool DeviceSetSoundCooperativeLevel();
// Attaches the device to the game and starts it: it plays silence until an effect plays. False when
// refused.
bool DeviceCreateSoundBuffer(uint32_t size);
// Makes the one effect buffer of `size` bytes, silent, its play position at the start. False when refused.
bool DeviceLockSoundBuffer(uint32_t offset, uint32_t size, uint8_t** first, uint32_t* firstSize,
                           uint8_t** second, uint32_t* secondSize);
// Write access to a span of the buffer as one or two regions; false, with nothing set, when refused. SDL
// holds its audio thread off the buffer until the unlock.
bool DeviceUnlockSoundBuffer(uint8_t* first, uint32_t firstSize, uint8_t* second, uint32_t secondSize);
// Ends write access; false when refused.
bool DevicePlaySoundBuffer(bool loop);
// Plays from the buffer's play position; a sound already playing goes on. False when refused.
void DeviceReleaseSoundBuffer();
// Silences the buffer at once, without a click, and releases it; does nothing without one.
void DeviceReleaseSoundObject();
// Closes the device.

}  // namespace coilrun
