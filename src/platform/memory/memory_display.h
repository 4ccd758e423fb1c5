// Test controls of the in-memory display: refusals, lost surfaces, failed locks, and what was presented.
#pragma once

#include <cstdint>
#include <vector>

#include "display/surface.h"

namespace coilrun {

// Steps of the display device that a test can make the device refuse.
enum class MemoryDisplayStep {
  kCreateDisplayObject,
  kCooperativeLevel,
  kDisplayMode,
  kFlipChainInVideoMemory,
  kFlipChain,
  kBackBuffer,
  kCreateSurface,
  kPixelFormat,
};

// One presented frame: a checksum of the front surface's pixels and when it was shown.
struct MemoryFrame {
  uint64_t checksum;
  int64_t timeNs;
};

// Forgets everything: no surfaces, no refusals, 5-6-5, an empty log.
void MemoryResetDisplay();

void MemoryRefuseDisplayStep(MemoryDisplayStep step, bool refuse = true);

// Refuses the n-th surface creation from now (1 is the next one).
void MemoryRefuseSurfaceCreation(int nth);

void MemorySetPixelMasks(uint32_t red, uint32_t green, uint32_t blue);

// Marks a surface lost; restoring it clears its pixels unless it is the Canvas (system memory).
void MemorySetSurfaceLost(Surface* surface, bool lost = true);

// The next `count` locks fail.
void MemoryFailLocks(int count);

// Whether the display is open (from DeviceOpenDisplay to DeviceCloseDisplay), and how many surfaces and
// frames of the chain were still live when it was closed.
bool MemoryDisplayOpen();

int MemorySurfacesLiveAtClose();

// Whether a flip chain was made in video memory: false once the request for video memory was refused.
bool MemoryFlipChainInVideoMemory();

const std::vector<MemoryFrame>& MemoryPresentedFrames();

// The pixels the last flip showed (640x480), empty before the first.
const std::vector<uint16_t>& MemoryFrontPixels();

// Whether flips keep the shown pixels and log the frame; on after a reset. A benchmark turns it off to time
// the program's own work, since a real flip hands its buffer over without copying or summing it.
void MemoryRecordFrames(bool record);

// Surfaces made by the device and not yet released, the frames of the chain among them.
int MemoryLiveSurfaceCount();

// FNV-1a over the pixels four at a time (a 64-bit word a step): the checksum the frame log uses.
uint64_t MemoryChecksum(const std::vector<uint16_t>& pixels);

}  // namespace coilrun
