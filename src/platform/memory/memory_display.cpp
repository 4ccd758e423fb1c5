// The in-memory display: surfaces in RAM, a frame log, and switches that make the device refuse or lose.
#include "platform/memory/memory_display.h"

#include <cstring>
#include <set>

#include "display/display_device.h"
#include "devices/clock_device.h"

namespace coilrun {

namespace {

// Steps the test asked the device to refuse.
std::set<MemoryDisplayStep> refusedSteps;
// Countdown to a refused surface creation; 0 when none is planned.
int surfaceRefusalCountdown = 0;
// The masks the device reports for its 16-bit pixel.
uint32_t redMask = 0xF800;
uint32_t greenMask = 0x07E0;
uint32_t blueMask = 0x001F;
// Surfaces the device made and has not released, and those it reports lost.
std::set<const Surface*> liveSurfaces;
std::set<const Surface*> lostSurfaces;
// The chain's back buffer, which the primary surface owns.
Surface* chainBackBuffer = nullptr;
// Locks still to fail.
int failingLocks = 0;
// The device operation log, the presented frames and the last frame shown.
std::vector<std::string> calls;
std::vector<MemoryFrame> frames;
std::vector<uint16_t> frontPixels;
// Whether flips copy and log what they show.
bool recordFrames = true;

bool Refused(MemoryDisplayStep step) { return refusedSteps.count(step) != 0; }

Surface* MakeSurface(int16_t width, int16_t height) {
  auto* surface = new Surface;
  surface->width = width;
  surface->height = height;
  surface->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  liveSurfaces.insert(surface);
  return surface;
}

std::string NameOf(const Surface* surface) {
  if (surface == Canvas) return "canvas";
  if (surface == BackBuffer || surface == chainBackBuffer) return "back";
  if (surface == PrimarySurface) return "primary";
  return "surface";
}

}  // namespace

void MemoryResetDisplay() {
  for (const Surface* surface : liveSurfaces) delete surface;
  liveSurfaces.clear();
  lostSurfaces.clear();
  refusedSteps.clear();
  surfaceRefusalCountdown = 0;
  redMask = 0xF800;
  greenMask = 0x07E0;
  blueMask = 0x001F;
  chainBackBuffer = nullptr;
  failingLocks = 0;
  calls.clear();
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

void MemoryRefuseSurfaceCreation(int nth) { surfaceRefusalCountdown = nth; }

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

void MemoryFailLocks(int count) { failingLocks = count; }
void MemoryRecordFrames(bool record) { recordFrames = record; }
const std::vector<std::string>& MemoryDisplayCalls() { return calls; }
void MemoryClearDisplayCalls() { calls.clear(); }
const std::vector<MemoryFrame>& MemoryPresentedFrames() { return frames; }
const std::vector<uint16_t>& MemoryFrontPixels() { return frontPixels; }
int MemoryLiveSurfaceCount() { return static_cast<int>(liveSurfaces.size()); }

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

bool DeviceCreateDisplayObject() {
  calls.push_back("create display object");
  return !Refused(MemoryDisplayStep::kCreateDisplayObject);
}

bool DeviceSetCooperativeLevel() {
  calls.push_back("set cooperative level");
  return !Refused(MemoryDisplayStep::kCooperativeLevel);
}

bool DeviceSetDisplayMode(int16_t, int16_t, uint8_t) {
  calls.push_back("set display mode");
  return !Refused(MemoryDisplayStep::kDisplayMode);
}

Surface* DeviceCreateFlipChain(int16_t width, int16_t height, bool inVideoMemory) {
  calls.push_back(inVideoMemory ? "create flip chain in video memory" : "create flip chain");
  if (Refused(MemoryDisplayStep::kFlipChain)) return nullptr;
  if (inVideoMemory && Refused(MemoryDisplayStep::kFlipChainInVideoMemory)) return nullptr;
  Surface* primary = MakeSurface(width, height);
  chainBackBuffer = MakeSurface(width, height);
  return primary;
}

Surface* DeviceGetBackBuffer(Surface*) {
  calls.push_back("get back buffer");
  return Refused(MemoryDisplayStep::kBackBuffer) ? nullptr : chainBackBuffer;
}

Surface* DeviceCreateSurface(int16_t width, int16_t height) {
  calls.push_back("create surface");
  if (Refused(MemoryDisplayStep::kCreateSurface)) return nullptr;
  if (surfaceRefusalCountdown > 0 && --surfaceRefusalCountdown == 0) return nullptr;
  return MakeSurface(width, height);
}

bool DeviceGetPixelMasks(const Surface*, uint32_t* red, uint32_t* green, uint32_t* blue) {
  calls.push_back("get pixel format");
  if (Refused(MemoryDisplayStep::kPixelFormat)) return false;
  *red = redMask;
  *green = greenMask;
  *blue = blueMask;
  return true;
}

void DeviceSetColorKey(Surface* surface, uint16_t colour) {
  surface->hasColorKey = true;
  surface->colorKey = colour;
}

bool DeviceIsSurfaceLost(const Surface* surface) {
  calls.push_back("is lost " + NameOf(surface));
  return lostSurfaces.count(surface) != 0;
}

void DeviceRestoreSurface(Surface* surface) {
  calls.push_back("restore " + NameOf(surface));
  lostSurfaces.erase(surface);
  // The memory comes back, its content does not; the Canvas lives in system memory and keeps its own.
  if (surface != Canvas) std::fill(surface->pixels.begin(), surface->pixels.end(), uint16_t{0x5AA5});
}

void DeviceReleaseSurface(Surface* surface) {
  calls.push_back("release " + NameOf(surface));
  if (surface == chainBackBuffer) chainBackBuffer = nullptr;
  // The chain's back buffer goes with the primary surface when nobody took a reference to it.
  if (surface == PrimarySurface && chainBackBuffer != nullptr && BackBuffer == nullptr) {
    liveSurfaces.erase(chainBackBuffer);
    delete chainBackBuffer;
    chainBackBuffer = nullptr;
  }
  lostSurfaces.erase(surface);
  if (liveSurfaces.erase(surface) != 0) delete surface;
}

void DeviceRestoreDisplayMode() { calls.push_back("restore display mode"); }
void DeviceReleaseDisplayObject() { calls.push_back("release display object"); }

void DeviceCopyRect(Surface* destination, int32_t x, int32_t y, const Surface* source, Rect rect,
                    bool keyed) {
  // A lost surface takes no drawing, as the device would refuse it without a report.
  if (lostSurfaces.count(destination) != 0 || lostSurfaces.count(source) != 0) return;
  CopySurfaceRect(destination, x, y, source, rect, keyed);
}

FlipResult DeviceFlip(Surface* primary) {
  calls.push_back("flip");
  if (lostSurfaces.count(primary) != 0 || lostSurfaces.count(chainBackBuffer) != 0) {
    return FlipResult::kSurfaceLost;
  }
  if (chainBackBuffer == nullptr) return FlipResult::kFailed;
  if (!recordFrames) return FlipResult::kOk;
  frontPixels = chainBackBuffer->pixels;
  primary->pixels = chainBackBuffer->pixels;
  frames.push_back(MemoryFrame{MemoryChecksum(frontPixels), DeviceClockNanoseconds()});
  return FlipResult::kOk;
}

uint16_t* DeviceLockSurface(Surface* surface) {
  calls.push_back("lock " + NameOf(surface));
  if (failingLocks > 0) {
    --failingLocks;
    return nullptr;
  }
  return surface->pixels.data();
}

void DeviceUnlockSurface(Surface* surface) { calls.push_back("unlock " + NameOf(surface)); }

}  // namespace coilrun
