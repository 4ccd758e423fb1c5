// The display: surfaces, the pixel format and colour packing, blits, present, the canvas lock and the pace.
#pragma once

#include <cstdint>

#include "display/surface.h"

namespace coilrun {

// The six values by which an 8-bit-per-channel colour is packed into a pixel.
struct PixelFormat {
  uint8_t redPos = 0;
  uint8_t redLoss = 0;
  uint8_t greenPos = 0;
  uint8_t greenLoss = 0;
  uint8_t bluePos = 0;
  uint8_t blueLoss = 0;
};

inline constexpr int16_t kScreenWidth = 640;
inline constexpr int16_t kScreenHeight = 480;
inline constexpr uint8_t kScreenBitsPerPixel = 16;
inline constexpr int kCanvasPixelCount = kScreenWidth * kScreenHeight;
inline constexpr Rect ScreenRect{0, 0, kScreenWidth, kScreenHeight};

// The visible surface, head of the flip chain; nothing draws into it.
extern Surface* PrimarySurface;

// The flip chain's back buffer: receives the whole Canvas per frame, and the pause dialog's marker.
extern Surface* BackBuffer;

// The 640x480 surface on which every frame is composed and every pixel test is made.
extern Surface* Canvas;

// The Canvas's pixels while it is locked (pixel (x, y) is element y * 640 + x), else null.
extern uint16_t* CanvasPixels;

// --- Device and surfaces ---

// Creates the main window, opens the display and sets up the 640x480 16-bit screen. True on success.
bool InitDisplay();

// Creates the display object. True on success.
bool OpenDirectDraw();

// Takes the screen, sets the mode, builds the flip chain and the Canvas, derives the pixel format.
bool SetupScreen(int16_t width, int16_t height, uint8_t bitsPerPixel);

// Releases the Canvas, the flip chain (back buffer and primary surface as one), then the display object.
// Safe after a partial start-up and when called twice.
void ReleaseDisplay();

// Releases the display and forgets its pixel format, as a fresh process has neither.
void ResetDisplay();

// Restores whichever of the primary surface, back buffer and Canvas the device reports lost.
void RestoreSurfaces();

// A new off-screen surface in system memory, content undefined; null when the device refuses.
Surface* CreateOffscreenSurface(int16_t width, int16_t height);

// Gives a surface back to the device and empties the handle; does nothing with an empty handle.
void ReleaseSurface(Surface*& surface);

// Pixels of exactly `colour` are skipped when the surface is the source of a keyed blit.
void SetSourceColorKey(Surface* surface, uint16_t colour);

// Packs 8-bit red, green and blue into one pixel by the display's pixel format, truncating each channel.
uint16_t PackColor(uint8_t red, uint8_t green, uint8_t blue);

// Derives the six pixel-format values from the red, green and blue masks of a 16-bit pixel. False when a
// mask is zero (not an RGB format): counting its position would never end.
bool DerivePixelFormat(uint32_t redMask, uint32_t greenMask, uint32_t blueMask, PixelFormat* format);

// The pixel-format values derived at start-up.
PixelFormat CurrentPixelFormat();

// --- Blits, present and pixel access ---

// The rectangle copy between any two surfaces, clipped to both: nothing outside either is ever touched.
// With `keyed`, source pixels equal to the source's colour key are skipped.
void CopySurfaceRect(Surface* destination, int32_t x, int32_t y, const Surface* source, Rect rect,
                     bool keyed);
// Copies the source's rectangle onto the Canvas with its top-left pixel at (x, y).
void BlitToCanvas(const Surface* source, int16_t x, int16_t y, int16_t left, int16_t top, int16_t right,
                  int16_t bottom);
// As BlitToCanvas, skipping source pixels equal to the source's colour key.
void BlitToCanvasKeyed(const Surface* source, int16_t x, int16_t y, int16_t left, int16_t top, int16_t right,
                       int16_t bottom);
// Copies the whole Canvas to the back buffer.
void CopyCanvasToBack();

// As BlitToCanvasKeyed, but onto the back buffer; the Canvas is left untouched.
void BlitToBackKeyed(const Surface* source, int16_t x, int16_t y, int16_t left, int16_t top, int16_t right,
                     int16_t bottom);
// Makes the back buffer visible once the display's next retrace after the previous flip has come
// (WaitForRetrace); restores the surfaces when the device reports one lost.
void FlipScreen();

// CopyCanvasToBack, then FlipScreen.
void PresentFrame();

// Locks the Canvas and sets CanvasPixels. When the device refuses the lock, CanvasPixels stays null and
// false is returned: every pixel user then skips its work (tests find nothing, stamps draw nothing).
bool LockCanvas();

// Ends direct access to the Canvas; CanvasPixels becomes null.
void UnlockCanvas();

}  // namespace coilrun
