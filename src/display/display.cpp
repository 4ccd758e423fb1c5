// The display device and its surfaces: set-up and release, the pixel format, colour packing, recovery.
#include "display/display.h"

#include "app/window.h"
#include "display/display_device.h"

namespace coilrun {

Surface* PrimarySurface = nullptr;
Surface* BackBuffer = nullptr;
Surface* Canvas = nullptr;
uint16_t* CanvasPixels = nullptr;

namespace {

// Whether the display object is open; it is released once, at shut-down.
bool displayObjectOpen = false;
// The pixel-format values derived from the back buffer at set-up; fixed from then on.
PixelFormat pixelFormat;

uint8_t CountShiftsToLowBit(uint32_t value) {
  uint8_t shifts = 0;
  while ((value & 1u) == 0) {
    value >>= 1;
    ++shifts;
  }
  return shifts;
}

// Position and loss of one colour field from its mask; the mask is nonzero.
void DeriveField(uint32_t mask, uint8_t* position, uint8_t* loss) {
  *position = CountShiftsToLowBit(mask);
  const uint32_t fieldMax = mask >> *position;
  const uint32_t quotient = 256u / fieldMax;
  // A field wider than 8 bits has a quotient of 0: it keeps every bit of the channel.
  *loss = quotient == 0 ? 0 : CountShiftsToLowBit(quotient);
}

}  // namespace

bool DerivePixelFormat(uint32_t redMask, uint32_t greenMask, uint32_t blueMask, PixelFormat* format) {
  *format = PixelFormat{};
  if (redMask == 0 || greenMask == 0 || blueMask == 0) return false;
  DeriveField(redMask, &format->redPos, &format->redLoss);
  DeriveField(greenMask, &format->greenPos, &format->greenLoss);
  DeriveField(blueMask, &format->bluePos, &format->blueLoss);
  return true;
}

PixelFormat CurrentPixelFormat() { return pixelFormat; }

uint16_t PackColor(uint8_t red, uint8_t green, uint8_t blue) {
  const PixelFormat& f = pixelFormat;
  return static_cast<uint16_t>(((red >> f.redLoss) << f.redPos) | ((green >> f.greenLoss) << f.greenPos) |
                               ((blue >> f.blueLoss) << f.bluePos));
}

bool InitDisplay() {
  if (!CreateMainWindow()) return false;
  if (!OpenDirectDraw()) return false;
  return SetupScreen(kScreenWidth, kScreenHeight, kScreenBitsPerPixel);
}

bool OpenDirectDraw() {
  if (!DeviceCreateDisplayObject()) return false;
  displayObjectOpen = true;
  return true;
}

bool SetupScreen(int16_t width, int16_t height, uint8_t bitsPerPixel) {
  if (!DeviceSetCooperativeLevel()) return false;
  if (!DeviceSetDisplayMode(width, height, bitsPerPixel)) return false;
  // Video memory is asked for first; a refusal costs one retry without it.
  PrimarySurface = DeviceCreateFlipChain(width, height, true);
  if (PrimarySurface == nullptr) PrimarySurface = DeviceCreateFlipChain(width, height, false);
  if (PrimarySurface == nullptr) return false;
  BackBuffer = DeviceGetBackBuffer(PrimarySurface);
  if (BackBuffer == nullptr) return false;
  Canvas = CreateOffscreenSurface(width, height);
  if (Canvas == nullptr) return false;
  uint32_t red = 0;
  uint32_t green = 0;
  uint32_t blue = 0;
  if (!DeviceGetPixelMasks(BackBuffer, &red, &green, &blue)) return false;
  return DerivePixelFormat(red, green, blue, &pixelFormat);
}

void ReleaseDisplay() {
  CanvasPixels = nullptr;
  ReleaseSurface(Canvas);
  ReleaseSurface(BackBuffer);
  ReleaseSurface(PrimarySurface);
  if (displayObjectOpen) {
    DeviceRestoreDisplayMode();
    DeviceReleaseDisplayObject();
    displayObjectOpen = false;
  }
}

void RestoreSurfaces() {
  for (Surface* surface : {PrimarySurface, BackBuffer, Canvas}) {
    if (surface != nullptr && DeviceIsSurfaceLost(surface)) DeviceRestoreSurface(surface);
  }
}

Surface* CreateOffscreenSurface(int16_t width, int16_t height) {
  if (width < 1 || height < 1) return nullptr;
  return DeviceCreateSurface(width, height);
}

void ReleaseSurface(Surface*& surface) {
  if (surface == nullptr) return;
  DeviceReleaseSurface(surface);
  surface = nullptr;
}

void SetSourceColorKey(Surface* surface, uint16_t colour) {
  if (surface != nullptr) DeviceSetColorKey(surface, colour);
}

}  // namespace coilrun
