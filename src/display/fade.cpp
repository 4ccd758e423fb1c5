// The fade of the whole Canvas toward one colour, in place, in 33 presented steps.
#include "display/fade.h"

#include <algorithm>

#include "devices/delay.h"
#include "devices/window.h"
#include "display/display.h"
#include "display/pixel_kernels.h"

namespace coilrun {

namespace {

constexpr int kFullWeight = 32;
constexpr uint32_t kFadeStepDelayMs = 50;

}  // namespace

void FadeStep(int w, uint16_t colour) {
  if (!LockCanvas()) return;
  // A weight outside 0 to 32 would carry one field's product into its neighbour.
  FadePixels(CanvasPixels, kCanvasPixelCount, std::clamp(w, 0, kFullWeight), colour, FastestPixelKernel());
  UnlockCanvas();
}

void FadeScreen(uint16_t colour) {
  for (int w = kFullWeight; w >= 0; --w) {
    if (CloseRequested()) return;
    FadeStep(w, colour);
    PresentFrame();
    DelayMs(kFadeStepDelayMs);
  }
}

}  // namespace coilrun
