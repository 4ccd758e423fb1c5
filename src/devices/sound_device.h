// What the sound logic needs of a platform's audio: one buffer of 8-bit mono samples at 11025 Hz.
#pragma once

#include <cstdint>

namespace coilrun {

bool DeviceCreateSoundObject();
// Opens the default sound device; false when there is none to be had.
bool DeviceSetSoundCooperativeLevel();
// Attaches the device to the game's window; false when refused.
bool DeviceCreateSoundBuffer(uint32_t size);
// Makes the one effect buffer of `size` bytes: unsigned 8-bit mono at 11025 Hz; false when refused.
bool DeviceLockSoundBuffer(uint32_t offset, uint32_t size, uint8_t** first, uint32_t* firstSize,
                           uint8_t** second, uint32_t* secondSize);
// Write access to a span of the buffer as one or two regions; false, with nothing set, when refused.
bool DeviceUnlockSoundBuffer(uint8_t* first, uint32_t firstSize, uint8_t* second, uint32_t secondSize);
// Ends write access; false when refused.
bool DevicePlaySoundBuffer(bool loop);
// Plays from the buffer's play position; a sound already playing goes on. Never waits.
void DeviceReleaseSoundBuffer();
// Silences the buffer at once, without a click, and releases it; does nothing without one.
void DeviceReleaseSoundObject();
// Closes the device.

}  // namespace coilrun
