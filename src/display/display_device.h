// What the display logic asks of a platform's screen: frames of 16-bit pixels shown in the main window
// through a flip chain the device owns, surfaces in memory, and the pixel format. The SDL layer, the
// in-memory layer and the browser's layer each implement every operation.
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

bool DeviceOpenDisplay();
// Opens the display the main window is shown on: SDL finds the window's screen, the browser its page's
// canvas element. False when there is none.
bool DeviceTakeScreen();
// Takes the screen for the main window: SDL raises the window and asks for the input focus. False when
// refused.
bool DeviceSetDisplayMode(int16_t width, int16_t height, uint8_t bitsPerPixel);
// Readies the window to show frames of width x height at the given depth, the frame scaled into the window
// with its 4:3 shape kept, black around it. SDL shows only 16 bits per pixel. False when refused.
bool DeviceCreateFlipChain(int16_t width, int16_t height, bool inVideoMemory, FlipChain* chain);
// Makes the flip chain as one thing, both frames black, asked for in video memory or not (our platforms
// have none and take either request). False with `chain` empty when refused; true with only `chain->front`
// when the chain came without its back frame.
void DeviceReleaseFlipChain();
// Frees both frames of the chain, whatever was made of it. SDL first shows a frame handed over and not yet
// shown. Does nothing without a chain.
Surface* DeviceCreateSurface(int16_t width, int16_t height, SurfaceUse use);
// A new surface in system memory, rows without gap, content undefined; null when refused. The caller owns
// it and gives it back with DeviceReleaseSurface.
void DeviceReleaseSurface(Surface* surface);
// Frees a surface made by DeviceCreateSurface; null is ignored.
bool DeviceGetPixelMasks(uint32_t* red, uint32_t* green, uint32_t* blue);
// The red, green and blue bit masks of the chain's 16-bit pixel (5-6-5 on SDL and in the browser). False,
// with nothing set, when refused.
bool DeviceIsSurfaceLost(const Surface* surface);
// True when the device has taken the memory of a frame of the chain or of the Canvas away (the browser
// does when the page loses its drawing context). SDL never does. Pictures are never lost.
void DeviceRestoreSurface(Surface* surface);
// Gives a lost surface its memory back: a frame of the chain comes back with its content undefined, the
// Canvas with its own.
uint16_t* DeviceLockSurface(Surface* surface);
// Direct access to all the surface's pixels, or null when the device refuses it (no platform of ours
// refuses; the in-memory layer does on request). Nothing ends the access: the pointer stays valid until
// the surface is released.
FlipResult DeviceFlip();
// Hands the back frame to the screen; the back frame's content is undefined afterwards. A frame handed
// over before and not yet shown is shown first. The new frame is shown later, no later than the device's
// next clock sleep, keyboard read, message peek, screenshot or the chain's release:
// SDL puts its cost inside the game's wait that follows every flip, and shows only the rows that differ
// from the frame on the screen. kSurfaceLost when a frame of the chain is lost; then nothing is shown.
void DeviceCloseDisplay();
// Gives the desktop its own display mode back and closes the display; the window stays.

}  // namespace coilrun
