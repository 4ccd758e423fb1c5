// The game's entry point.
#include "display/display.h"
#include "app/window.h"
#include "devices/delay.h"

#include <cstddef>

int main() {
  using namespace coilrun;
  if (!InitDisplay()) return 1;
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      Canvas->pixels[static_cast<size_t>(y * kScreenWidth + x)] =
          PackColor(static_cast<uint8_t>(x * 255 / 639), static_cast<uint8_t>(y * 255 / 479), 128);
    }
  }
  while (!QuitMessageSeen()) {
    PumpOneMessage();
    PresentFrame();
    DelayMs(50);
  }
  ReleaseDisplay();
  return static_cast<int>(LastMessage.wParam);
}
