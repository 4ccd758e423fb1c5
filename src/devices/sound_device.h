// What the sound logic asks of a platform's audio: one buffer of unsigned 8-bit mono samples at 11025 Hz,
// played once or over and over. Every device layer implements every operation, and none waits for the
// sound.
#pragma once

#include <cstdint>

namespace coilrun {

// The sound's full volume in percent, and how far a sound key turns it up or down.
inline constexpr int kFullVolume = 100;
inline constexpr int kVolumeStep = 10;

// The rate every effect is played at, whatever its file says.
inline constexpr uint32_t kEffectSamplesPerSecond = 11025;

// Opens the default sound device, or a silent one where there is none. False when even that is refused.
bool DeviceCreateSoundObject();

// Attaches the device to the game and starts it: it plays silence until an effect plays. False when
// refused.
bool DeviceSetSoundCooperativeLevel();

// Makes the one effect buffer of `size` bytes, silent, its play position at the start. False when refused.
bool DeviceCreateSoundBuffer(uint32_t size);

// Write access to a span of the buffer as one or two regions, which nothing else touches until the unlock;
// false, with nothing set, when refused.
bool DeviceLockSoundBuffer(uint32_t offset, uint32_t size, uint8_t** first, uint32_t* firstSize,
                           uint8_t** second, uint32_t* secondSize);

// Ends write access; false when refused.
bool DeviceUnlockSoundBuffer(uint8_t* first, uint32_t firstSize, uint8_t* second, uint32_t secondSize);

// Plays from the buffer's play position; a sound already playing goes on. False when refused.
bool DevicePlaySoundBuffer(bool loop);

// From now on every effect sounds at `volume` percent (0 to 100) of its samples' distance from silence, or
// silent while `muted`, an effect already sounding included. The samples are never changed. May be called
// before the device opens; the level outlives the device.
void DeviceSetSoundLevel(int volume, bool muted);

// The level now: as last set, or as the player has changed it since with the sound keys.
void DeviceGetSoundLevel(int* volume, bool* muted);

// Silences the buffer at once, without a click, and releases it; does nothing without one.
void DeviceReleaseSoundBuffer();

// Closes the device.
void DeviceReleaseSoundObject();

}  // namespace coilrun
