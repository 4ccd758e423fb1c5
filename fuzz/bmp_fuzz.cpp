// Fuzz target: the bitmap file decoder on any bytes.
#include "display/display.h"
#include "fuzz_target.h"
#include "images/images.h"

int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The decoder packs colours by the display's format, so the display comes up once over the memory layer.
  static const bool displayUp = coilrun::InitDisplay();
  if (!displayUp) return 0;
  coilrun::Surface* surface = coilrun::DecodeBitmapImage(data, size);
  coilrun::ReleaseSurface(surface);
  return 0;
}
