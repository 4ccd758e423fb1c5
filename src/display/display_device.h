// What the display logic asks of a platform's screen: frames of 16-bit pixels shown in the main window
// through a flip chain the device owns, surfaces in memory, and the pixel format. Every device layer
// implements every operation.
#pragma once

#include <cstdint>

#include "display/surface.h"

namespace coilrun {

// The flip chain: the front frame, the one on the screen, and the back frame, which the logic fills with
// the next frame and hands over with DeviceFlip. Both are the mode's size, rows without gap; the device
// owns them from DeviceCreateFlipChain to DeviceReleaseFlipChain.
struct FlipChain {
  Surface* front = nullptr;
  Surface* back = nullptr;
};

// What a surface is made for. The Canvas lives in system memory like the pictures, but the device is told
// which surface it is: it is the one surface besides the chain that a device may lose and must restore.
enum class SurfaceUse { kPicture, kCanvas };

// The result of handing the back frame to the screen.
enum class FlipResult { kOk, kSurfaceLost, kFailed };

// Opens the display the main window is shown on. False when there is none.
bool DeviceOpenDisplay();

// Takes the screen for the main window, which asks for the input focus. False when refused.
bool DeviceTakeScreen();

// Readies the window to show frames of width x height at the given depth, the frame scaled into the window
// with its shape kept, black around it. False when refused, as for a depth the device cannot show.
bool DeviceSetDisplayMode(int16_t width, int16_t height, uint8_t bitsPerPixel);

// Makes the flip chain as one thing, both frames black, asked for in video memory or not (a device without
// any takes either request). False with `chain` empty when refused; true with only `chain->front` when the
// chain came without its back frame.
bool DeviceCreateFlipChain(int16_t width, int16_t height, bool inVideoMemory, FlipChain* chain);

// Frees both frames of the chain, whatever was made of it, after showing a frame handed over and not yet
// shown. Does nothing without a chain.
void DeviceReleaseFlipChain();

// A new surface in system memory, rows without gap, content undefined; null when refused. The caller owns
// it and gives it back with DeviceReleaseSurface.
Surface* DeviceCreateSurface(int16_t width, int16_t height, SurfaceUse use);

// Frees a surface made by DeviceCreateSurface; null is ignored.
void DeviceReleaseSurface(Surface* surface);

// The red, green and blue bit masks of the chain's 16-bit pixel. False, with nothing set, when refused.
bool DeviceGetPixelMasks(uint32_t* red, uint32_t* green, uint32_t* blue);

// True when the device has taken the memory of a frame of the chain or of the Canvas away. Pictures are
// never lost.
bool DeviceIsSurfaceLost(const Surface* surface);

// Gives a lost surface its memory back: a frame of the chain comes back with its content undefined, the
// Canvas with its own.
void DeviceRestoreSurface(Surface* surface);

// Direct access to all the surface's pixels, or null when the device refuses it. Nothing ends the access:
// the pointer stays valid until the surface is released.
uint16_t* DeviceLockSurface(Surface* surface);

// Hands the back frame to the screen; the back frame's content is undefined afterwards. A frame handed
// over before and not yet shown is shown first. The new frame is shown no later than the device's next
// clock sleep, keyboard read, message peek or the chain's release. kSurfaceLost when a frame of the chain
// is lost; then nothing is shown.
FlipResult DeviceFlip();

// Gives the desktop its own display mode back and closes the display; the window stays.
void DeviceCloseDisplay();

}  // namespace coilrun
