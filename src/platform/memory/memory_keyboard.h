// Test controls of the in-memory keyboard: a key script, lost input, refused steps.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

namespace coilrun {

// Steps of the keyboard device that a test can make the device refuse.
enum class MemoryKeyboardStep { kInputObject, kKeyboardDevice, kDataFormat, kCooperativeLevel, kAcquire };

// What starts a step of the key script: a count of keyboard reads, or of presented frames.
enum class MemoryKeyTrigger { kRead, kFrame };

// Forgets the script, the switches and the counts.
void MemoryResetKeyboard();

// From the read (counted from 0) or the presented frame (counted from 0, the frames presented before it)
// given on, exactly `keys` are held, until a later step of the script takes over. Steps take over in the
// order they were added.
void MemoryHoldKeys(MemoryKeyTrigger trigger, uint64_t index, std::initializer_list<uint8_t> keys);

void MemoryHoldKeys(MemoryKeyTrigger trigger, uint64_t index, const std::vector<uint8_t>& keys);

// A player of the test's own: asked at every read (with the read's index) which keys are held. While set,
// it takes the place of the script.
void MemorySetKeyPlayer(std::function<std::vector<uint8_t>(uint64_t read)> player);

// The next read reports lost input; the device must be acquired again before it reads.
void MemoryLoseKeyboardInput();

void MemoryRefuseKeyboardStep(MemoryKeyboardStep step, bool refuse = true);

// Keyboard reads so far.
uint64_t MemoryKeyboardReads();

// The most keyboard reads a run may make since the reset: past it the run is taken to never end (see
// MemoryNoteRunaway). kMemoryReadLimit after a reset.
inline constexpr uint64_t kMemoryReadLimit = 1'000'000;

void MemorySetReadLimit(uint64_t reads);

// Whether the input object and the keyboard device exist, and whether the device is acquired.
bool MemoryInputObjectMade();

bool MemoryKeyboardDeviceMade();

bool MemoryKeyboardAcquired();

// Operations on what does not exist: releasing or unacquiring a device never made, or made twice over.
int MemoryKeyboardMisuses();

}  // namespace coilrun
