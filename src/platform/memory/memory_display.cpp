// The in-memory display: surfaces in RAM, a frame log, and switches that make the device refuse or lose.
#include "platform/memory/memory_display.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "devices/clock_device.h"
#include "display/display_device.h"
#include "platform/common/ram_display.h"
#include "platform/memory/memory_window.h"

namespace coilrun {

namespace {

// Steps the test asked the device to refuse.
std::set<MemoryDisplayStep> refusedSteps;
// Countdown to a refused surface creation; 0 when none is planned.
int surfaceRefusalCountdown = 0;
// The masks the device reports for its 16-bit pixel.
uint32_t redMask = kRed565Mask;
uint32_t greenMask = kGreen565Mask;
uint32_t blueMask = kBlue565Mask;
// Surfaces the device made and has not released, and those it reports lost.
std::set<const Surface*> liveSurfaces;
std::set<const Surface*> lostSurfaces;
// The flip chain, and the surface the device was told is the Canvas.
FlipChain chain;
const Surface* canvas = nullptr;
bool chainInVideoMemory = false;
// Locks still to fail.
int failingLocks = 0;
// Whether the display is open, and what was left live when it was closed.
bool displayOpen = false;
int liveAtClose = 0;
// The presented frames and the last frame shown.
std::vector<MemoryFrame> frames;
std::vector<uint16_t> frontPixels;
// Whether flips copy and log what they show.
bool recordFrames = true;

bool Refused(MemoryDisplayStep step) {
  return refusedSteps.count(step) != 0;
}

Surface* MakeSurface(int16_t width, int16_t height) {
  Surface* surface = MakeRamSurface(width, height);
  liveSurfaces.insert(surface);
  return surface;
}

void FreeSurface(Surface* surface) {
  if (surface == nullptr) return;
  lostSurfaces.erase(surface);
  if (liveSurfaces.erase(surface) != 0) FreeRamSurface(surface);
}

}  // namespace

void MemoryResetDisplay() {
  for (const Surface* surface : liveSurfaces) delete surface;
  liveSurfaces.clear();
  lostSurfaces.clear();
  refusedSteps.clear();
  surfaceRefusalCountdown = 0;
  redMask = kRed565Mask;
  greenMask = kGreen565Mask;
  blueMask = kBlue565Mask;
  chain = FlipChain{};
  canvas = nullptr;
  chainInVideoMemory = false;
  failingLocks = 0;
  displayOpen = false;
  liveAtClose = 0;
  frames.clear();
  frontPixels.clear();
  recordFrames = true;
}

void MemoryRefuseDisplayStep(MemoryDisplayStep step, bool refuse) {
  if (refuse) {
    refusedSteps.insert(step);
  } else {
    refusedSteps.erase(step);
  }
}

void MemoryRefuseSurfaceCreation(int nth) {
  surfaceRefusalCountdown = nth;
}

void MemorySetPixelMasks(uint32_t red, uint32_t green, uint32_t blue) {
  redMask = red;
  greenMask = green;
  blueMask = blue;
}

void MemorySetSurfaceLost(Surface* surface, bool lost) {
  if (lost) {
    lostSurfaces.insert(surface);
  } else {
    lostSurfaces.erase(surface);
  }
}

void MemoryFailLocks(int count) {
  failingLocks = count;
}
void MemoryRecordFrames(bool record) {
  recordFrames = record;
}
bool MemoryDisplayOpen() {
  return displayOpen;
}
int MemorySurfacesLiveAtClose() {
  return liveAtClose;
}
bool MemoryFlipChainInVideoMemory() {
  return chainInVideoMemory;
}
const std::vector<MemoryFrame>& MemoryPresentedFrames() {
  return frames;
}
const std::vector<uint16_t>& MemoryFrontPixels() {
  return frontPixels;
}
int MemoryLiveSurfaceCount() {
  return static_cast<int>(liveSurfaces.size());
}

uint64_t MemoryChecksum(const std::vector<uint16_t>& pixels) {
  // Four pixels a step: a frame is summed at every flip, and whole-game tests present thousands.
  uint64_t hash = 1469598103934665603ull;
  size_t i = 0;
  for (; i + 4 <= pixels.size(); i += 4) {
    uint64_t word = 0;
    std::memcpy(&word, &pixels[i], sizeof word);
    hash = (hash ^ word) * 1099511628211ull;
  }
  for (; i < pixels.size(); ++i) hash = (hash ^ pixels[i]) * 1099511628211ull;
  return hash;
}

bool DeviceOpenDisplay() {
  displayOpen = !Refused(MemoryDisplayStep::kCreateDisplayObject);
  if (displayOpen) MemoryNoteLifetime("display");
  return displayOpen;
}

bool DeviceTakeScreen() {
  return !Refused(MemoryDisplayStep::kCooperativeLevel);
}

bool DeviceSetDisplayMode(int16_t, int16_t, uint8_t) {
  return !Refused(MemoryDisplayStep::kDisplayMode);
}

bool DeviceCreateFlipChain(int16_t width, int16_t height, bool inVideoMemory, FlipChain* made) {
  *made = FlipChain{};
  if (Refused(MemoryDisplayStep::kFlipChain)) return false;
  if (inVideoMemory && Refused(MemoryDisplayStep::kFlipChainInVideoMemory)) return false;
  chain.front = MakeSurface(width, height);
  if (!Refused(MemoryDisplayStep::kBackBuffer)) chain.back = MakeSurface(width, height);
  chainInVideoMemory = inVideoMemory;
  *made = chain;
  return true;
}

void DeviceReleaseFlipChain() {
  FreeSurface(chain.front);
  FreeSurface(chain.back);
  chain = FlipChain{};
}

Surface* DeviceCreateSurface(int16_t width, int16_t height, SurfaceUse use) {
  if (Refused(MemoryDisplayStep::kCreateSurface)) return nullptr;
  if (surfaceRefusalCountdown > 0 && --surfaceRefusalCountdown == 0) return nullptr;
  Surface* surface = MakeSurface(width, height);
  if (use == SurfaceUse::kCanvas) canvas = surface;
  return surface;
}

void DeviceReleaseSurface(Surface* surface) {
  if (surface == canvas) canvas = nullptr;
  FreeSurface(surface);
}

bool DeviceGetPixelMasks(uint32_t* red, uint32_t* green, uint32_t* blue) {
  if (Refused(MemoryDisplayStep::kPixelFormat)) return false;
  *red = redMask;
  *green = greenMask;
  *blue = blueMask;
  return true;
}

bool DeviceIsSurfaceLost(const Surface* surface) {
  return lostSurfaces.count(surface) != 0;
}

void DeviceRestoreSurface(Surface* surface) {
  lostSurfaces.erase(surface);
  // The memory comes back, its content does not; the Canvas lives in system memory and keeps its own.
  if (surface != canvas) std::fill(surface->pixels.begin(), surface->pixels.end(), uint16_t{0x5AA5});
}

uint16_t* DeviceLockSurface(Surface* surface) {
  if (failingLocks > 0) {
    --failingLocks;
    return nullptr;
  }
  // A lost surface cannot be drawn on, as the device would refuse the lock.
  if (lostSurfaces.count(surface) != 0) return nullptr;
  return surface->pixels.data();
}

FlipResult DeviceFlip() {
  if (chain.front == nullptr || chain.back == nullptr) return FlipResult::kFailed;
  if (lostSurfaces.count(chain.front) != 0 || lostSurfaces.count(chain.back) != 0) {
    return FlipResult::kSurfaceLost;
  }
  if (!recordFrames) return FlipResult::kOk;
  // A lost Canvas drew nothing into the back frame: what it holds is shown.
  frontPixels = chain.back->pixels;
  chain.front->pixels = chain.back->pixels;
  frames.push_back(MemoryFrame{MemoryChecksum(frontPixels), DeviceClockNanoseconds()});
  return FlipResult::kOk;
}

void DeviceCloseDisplay() {
  liveAtClose = static_cast<int>(liveSurfaces.size());
  displayOpen = false;
  MemoryNoteLifetime("-display");
}

}  // namespace coilrun
