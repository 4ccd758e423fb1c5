// Blits between the program's surfaces, the present, and direct access to the Canvas's pixels.
#include <algorithm>
#include <cstring>

#include "devices/delay.h"
#include "display/display.h"
#include "display/display_device.h"
#include "display/pixel_kernels.h"

namespace coilrun {

void CopySurfaceRect(Surface* destination, int32_t x, int32_t y, const Surface* source, Rect rect,
                     bool keyed) {
  if (destination == nullptr || source == nullptr) return;
  // Clip the rectangle to the source, then the destination box it maps to, moving both together.
  int64_t left = std::max<int64_t>(rect.left, 0);
  int64_t top = std::max<int64_t>(rect.top, 0);
  int64_t right = std::min<int64_t>(rect.right, source->width);
  int64_t bottom = std::min<int64_t>(rect.bottom, source->height);
  int64_t dx = int64_t{x} + (left - rect.left);
  int64_t dy = int64_t{y} + (top - rect.top);
  if (dx < 0) {
    left -= dx;
    dx = 0;
  }
  if (dy < 0) {
    top -= dy;
    dy = 0;
  }
  right = std::min<int64_t>(right, left + (destination->width - dx));
  bottom = std::min<int64_t>(bottom, top + (destination->height - dy));
  if (right <= left || bottom <= top) return;

  const auto width = static_cast<int32_t>(right - left);
  const bool skipKey = keyed && source->hasColorKey;
  const PixelKernel kernel = FastestPixelKernel();
  for (int64_t row = 0; row < bottom - top; ++row) {
    const uint16_t* src = source->pixels.data() + (top + row) * source->width + left;
    uint16_t* dst = destination->pixels.data() + (dy + row) * destination->width + dx;
    if (skipKey) {
      CopyPixelsKeyed(dst, src, static_cast<size_t>(width), source->colorKey, kernel);
    } else {
      std::memmove(dst, src, static_cast<size_t>(width) * sizeof(uint16_t));
    }
  }
}

void BlitToCanvas(const Surface* source, int16_t x, int16_t y, int16_t left, int16_t top, int16_t right,
                  int16_t bottom) {
  CopySurfaceRect(Canvas, x, y, source, Rect{left, top, right, bottom}, false);
}

void BlitToCanvasKeyed(const Surface* source, int16_t x, int16_t y, int16_t left, int16_t top, int16_t right,
                       int16_t bottom) {
  CopySurfaceRect(Canvas, x, y, source, Rect{left, top, right, bottom}, true);
}

void CopyCanvasToBack() {
  CopySurfaceRect(BackBuffer, 0, 0, Canvas, ScreenRect, false);
}

void BlitToBackKeyed(const Surface* source, int16_t x, int16_t y, int16_t left, int16_t top, int16_t right,
                     int16_t bottom) {
  CopySurfaceRect(BackBuffer, x, y, source, Rect{left, top, right, bottom}, true);
}

void FlipScreen() {
  if (PrimarySurface == nullptr) return;
  WaitForRetrace();
  const FlipResult result = DeviceFlip();
  NoteFlipTaken();
  if (result == FlipResult::kSurfaceLost) RestoreSurfaces();
}

void PresentFrame() {
  CopyCanvasToBack();
  FlipScreen();
}

bool LockCanvas() {
  CanvasPixels = Canvas == nullptr ? nullptr : DeviceLockSurface(Canvas);
  return CanvasPixels != nullptr;
}

void UnlockCanvas() {
  CanvasPixels = nullptr;
}

}  // namespace coilrun
