// The display device and its surfaces: set-up and release, the pixel format, colour packing, recovery.
#include "display/display.h"

#include "devices/window.h"
#include "display/display_device.h"

namespace coilrun {

Surface* PrimarySurface = nullptr;
Surface* BackBuffer = nullptr;
Surface* Canvas = nullptr;
uint16_t* CanvasPixels = nullptr;

namespace {

// Whether the display object is open, and whether the device made a flip chain; each released once.
bool displayObjectOpen = false;
bool flipChainMade = false;
// The pixel-format values derived from the back buffer at set-up; fixed from then on.
PixelFormat pixelFormat;

Surface* CreateSurface(int16_t width, int16_t height, SurfaceUse use) {
  if (width < 1 || height < 1) return nullptr;
  return DeviceCreateSurface(width, height, use);
}

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

PixelFormat CurrentPixelFormat() {
  return pixelFormat;
}

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
  if (!DeviceOpenDisplay()) return false;
  displayObjectOpen = true;
  return true;
}

bool SetupScreen(int16_t width, int16_t height, uint8_t bitsPerPixel) {
  if (!DeviceTakeScreen()) return false;
  if (!DeviceSetDisplayMode(width, height, bitsPerPixel)) return false;
  // Video memory is asked for first; a refusal costs one retry without it.
  FlipChain chain;
  flipChainMade = DeviceCreateFlipChain(width, height, true, &chain) ||
                  DeviceCreateFlipChain(width, height, false, &chain);
  if (!flipChainMade) return false;
  PrimarySurface = chain.front;
  BackBuffer = chain.back;
  if (BackBuffer == nullptr) return false;
  Canvas = CreateSurface(width, height, SurfaceUse::kCanvas);
  if (Canvas == nullptr) return false;
  uint32_t red = 0;
  uint32_t green = 0;
  uint32_t blue = 0;
  if (!DeviceGetPixelMasks(&red, &green, &blue)) return false;
  return DerivePixelFormat(red, green, blue, &pixelFormat);
}

void ReleaseDisplay() {
  CanvasPixels = nullptr;
  ReleaseSurface(Canvas);
  // The device made the chain as one thing and frees it so; the logic only forgets its two handles.
  BackBuffer = nullptr;
  PrimarySurface = nullptr;
  if (flipChainMade) {
    DeviceReleaseFlipChain();
    flipChainMade = false;
  }
  if (displayObjectOpen) {
    DeviceCloseDisplay();
    displayObjectOpen = false;
  }
}

void RestoreSurfaces() {
  for (Surface* surface : {PrimarySurface, BackBuffer, Canvas}) {
    if (surface != nullptr && DeviceIsSurfaceLost(surface)) DeviceRestoreSurface(surface);
  }
}

Surface* CreateOffscreenSurface(int16_t width, int16_t height) {
  return CreateSurface(width, height, SurfaceUse::kPicture);
}

void ReleaseSurface(Surface*& surface) {
  if (surface == nullptr) return;
  DeviceReleaseSurface(surface);
  surface = nullptr;
}

void SetSourceColorKey(Surface* surface, uint16_t colour) {
  if (surface == nullptr) return;
  surface->hasColorKey = true;
  surface->colorKey = colour;
}

void ResetDisplay() {
  ReleaseDisplay();
  pixelFormat = PixelFormat{};
}

}  // namespace coilrun
