// The Windows display: surfaces in system memory, and a flip chain whose frame is drawn into the window
// through GDI, scaled with even pixels and its 4:3 shape kept, black around it, only the rows that changed
// drawn again.
#include <cstdio>
#include <string>
#include <vector>

#include "display/display_device.h"
#include "platform/common/frame_scaler.h"
#include "platform/common/ram_display.h"
#include "platform/win32/win32_platform.h"

namespace coilrun {

namespace {

// The flip chain: the frame handed to the screen, and the frame being drawn.
FlipChain chain;
// Whether the mode is set, whether a flipped frame waits to be shown, and whether the window must be drawn
// whole (uncovered or resized).
bool modeSet = false;
bool framePending = false;
bool windowExposed = true;
// The scale of the frame to the window's client area, and the scaled frame as GDI draws it.
FrameScaler scaler;
int clientWidth = 0;
int clientHeight = 0;
std::vector<uint32_t> scaled;

// Follows the window's client area: a new size scales the frame anew. True when the size changed.
bool FollowClientSize() {
  RECT client{};
  GetClientRect(Win32MainWindow(), &client);
  const int width = client.right > 0 ? client.right : 1;
  const int height = client.bottom > 0 ? client.bottom : 1;
  if (width == clientWidth && height == clientHeight && !scaled.empty()) return false;
  clientWidth = width;
  clientHeight = height;
  ResizeScaler(&scaler, chain.front->width, chain.front->height, width, height);
  scaled.assign(static_cast<size_t>(scaler.fit.width) * static_cast<size_t>(scaler.fit.height), 0);
  return true;
}

void PaintBorders(HDC context) {
  const FrameFit& fit = scaler.fit;
  const auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  const RECT borders[] = {{0, 0, clientWidth, fit.y},
                          {0, fit.y + fit.height, clientWidth, clientHeight},
                          {0, fit.y, fit.x, fit.y + fit.height},
                          {fit.x + fit.width, fit.y, clientWidth, fit.y + fit.height}};
  for (const RECT& border : borders) {
    if (border.right > border.left && border.bottom > border.top) FillRect(context, &border, black);
  }
}

// Sends rows [first, end) of the fit to the window.
void SendRows(HDC context, int first, int end) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = scaler.fit.width;
  info.bmiHeader.biHeight = -(end - first);  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const uint32_t* rows = scaled.data() + static_cast<size_t>(first) * static_cast<size_t>(scaler.fit.width);
  SetDIBitsToDevice(context, scaler.fit.x, scaler.fit.y + first, static_cast<DWORD>(scaler.fit.width),
                    static_cast<DWORD>(end - first), 0, 0, 0, static_cast<UINT>(end - first), rows, &info,
                    DIB_RGB_COLORS);
}

// Scales the rows that the last update marked and sends them to the window in bands.
void DrawMarkedRows(HDC context) {
  int bandStart = -1;
  for (int y = 0; y <= scaler.fit.height; ++y) {
    const bool marked = y < scaler.fit.height && scaler.targetDirty[static_cast<size_t>(y)] != 0;
    if (marked) {
      ScaleRow(scaler, y, scaled.data() + static_cast<size_t>(y) * static_cast<size_t>(scaler.fit.width));
      if (bandStart < 0) bandStart = y;
    } else if (bandStart >= 0) {
      SendRows(context, bandStart, y);
      bandStart = -1;
    }
  }
}

}  // namespace

void Win32NoteWindowExposed() {
  windowExposed = true;
}

void Win32PresentPendingFrame() {
  if (!framePending && !windowExposed) return;
  if (!modeSet || chain.front == nullptr || Win32MainWindow() == nullptr) return;
  const bool everything = FollowClientSize() || windowExposed;
  framePending = false;
  windowExposed = false;
  HDC context = GetDC(Win32MainWindow());
  if (context == nullptr) return;
  if (everything) PaintBorders(context);
  if (UpdateScaler(&scaler, chain.front->pixels.data(), everything)) DrawMarkedRows(context);
  ReleaseDC(Win32MainWindow(), context);
}

bool DeviceOpenDisplay() {
  return Win32MainWindow() != nullptr;
}

bool DeviceTakeScreen() {
  if (Win32MainWindow() == nullptr) return false;
  SetForegroundWindow(Win32MainWindow());
  SetFocus(Win32MainWindow());
  return true;
}

bool DeviceSetDisplayMode(int16_t, int16_t, uint8_t bitsPerPixel) {
  if (bitsPerPixel != 16 || Win32MainWindow() == nullptr) return false;
  modeSet = true;
  windowExposed = true;
  return true;
}

bool DeviceCreateFlipChain(int16_t width, int16_t height, bool, FlipChain* made) {
  MakeRamFlipChain(width, height, true, &chain);
  *made = chain;
  scaled.clear();
  windowExposed = true;
  return true;
}

void DeviceReleaseFlipChain() {
  Win32PresentPendingFrame();
  FreeRamFlipChain(&chain);
}

FlipResult DeviceFlip() {
  if (!modeSet || chain.front == nullptr || chain.back == nullptr) return FlipResult::kFailed;
  Win32PresentPendingFrame();
  // The new front frame is shown at the next wait, read or message.
  const FlipResult flipped = FlipRamChain(&chain);
  framePending = flipped == FlipResult::kOk;
  return flipped;
}

void DeviceCloseDisplay() {
  modeSet = false;
  scaler = FrameScaler{};
  scaled.clear();
}

void Win32SaveScreenshot() {
  if (chain.front == nullptr) return;
  // The frame handed over is due on the screen by now; what the screen shows is the frame last taken in.
  Win32PresentPendingFrame();
  const bool shownTaken = !framePending && scaler.shown.size() == chain.front->pixels.size();
  const uint16_t* shown = shownTaken ? scaler.shown.data() : chain.front->pixels.data();
  std::string saved;
  std::string error;
  if (Win32SavePng(shown, chain.front->width, chain.front->height, &saved, &error)) {
    std::printf("coilrun: screenshot saved as %s\n", saved.c_str());
    std::fflush(stdout);
  } else {
    std::fprintf(stderr, "coilrun: cannot save a screenshot: %s\n", error.c_str());
  }
}

}  // namespace coilrun
