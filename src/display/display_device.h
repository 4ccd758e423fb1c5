// What the display logic needs of a platform's display: the device operations under the surfaces and blits.
#pragma once

#include <cstdint>

#include "display/display.h"

namespace coilrun {

// The result of handing the back buffer to the screen.
enum class FlipResult { kOk, kSurfaceLost, kFailed };

bool DeviceCreateDisplayObject();
// Creates the display object for the default display; false when the platform refuses.
bool DeviceSetCooperativeLevel();
// Takes the screen for the main window, full screen and exclusive; false when refused.
bool DeviceSetDisplayMode(int16_t width, int16_t height, uint8_t bitsPerPixel);
// Sets the display mode (or, on a desktop, the presentation of a frame of that size); false when refused.
Surface* DeviceCreateFlipChain(int16_t width, int16_t height, bool inVideoMemory);
// The front surface of a flip chain with one back buffer, or null when refused.
Surface* DeviceGetBackBuffer(Surface* primary);
// The back buffer attached to the primary surface, or null.
Surface* DeviceCreateSurface(int16_t width, int16_t height);
// A new off-screen surface in system memory, rows without gap, or null when refused.
bool DeviceGetPixelMasks(const Surface* surface, uint32_t* red, uint32_t* green, uint32_t* blue);
// The red, green and blue bit masks of the surface's 16-bit pixel; false when refused.
void DeviceSetColorKey(Surface* surface, uint16_t colour);
// Sets the surface's source colour key to exactly one pixel value.
bool DeviceIsSurfaceLost(const Surface* surface);
// True when the device has lost the surface's memory; a device that never loses surfaces says false.
void DeviceRestoreSurface(Surface* surface);
// Gives a lost surface its memory back; its content is not restored.
void DeviceReleaseSurface(Surface* surface);
// Frees a surface the device made; null is ignored.
void DeviceRestoreDisplayMode();
// Gives the desktop its own display mode back.
void DeviceReleaseDisplayObject();
// Releases the display object; the window stays.
void DeviceCopyRect(Surface* destination, int32_t x, int32_t y, const Surface* source, Rect rect,
                    bool keyed);
// The rectangle copy, complete when it returns; clipped to both surfaces, never waits.
FlipResult DeviceFlip(Surface* primary);
// Shows the back buffer at once (the logic paces flips itself).
uint16_t* DeviceLockSurface(Surface* surface);
// Direct access to all the surface's pixels, or null when the lock fails.
void DeviceUnlockSurface(Surface* surface);
// Ends direct access.

}  // namespace coilrun
