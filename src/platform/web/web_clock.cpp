// The browser's clock: its high-resolution time, and sleeps that hand the thread back to the browser.
#include <emscripten.h>

#include <ctime>

#include "devices/clock_device.h"
#include "platform/web/web_platform.h"

namespace coilrun {

namespace {

// Browsers hold a timer set from within a timer to at least 4 ms: a shorter wait is made of quick yields.
constexpr double kShortestTimerMs = 5.0;
// How long the program may run without giving the browser its turn.
constexpr double kLongestBusyMs = 50.0;
// When the program last gave the browser its turn.
double lastYieldMs = 0;

// Sleeps on a browser timer: the wait ends a little early, and the caller's loop finishes it in quick
// yields, so that the timer's lateness never makes a wait long.
EM_ASYNC_JS(void, WaitOnTimer, (double milliseconds), { await Module.coilrunSleep(milliseconds); });

// Comes back at once after the events already waiting in the browser.
EM_ASYNC_JS(void, WaitForTurn, (), { await Module.coilrunNextTurn(); });

}  // namespace

void WebYield() {
  WebPresentPendingFrame();
  WaitForTurn();
  lastYieldMs = emscripten_get_now();
}

void WebYieldIfBusy() {
  if (emscripten_get_now() - lastYieldMs >= kLongestBusyMs) WebYield();
}

int64_t DeviceClockNanoseconds() {
  return static_cast<int64_t>(emscripten_get_now() * 1e6);
}

void DeviceSleepNanoseconds(int64_t duration) {
  // A waiting program is the display's chance to show the frame it was handed.
  WebPresentPendingFrame();
  const double milliseconds = static_cast<double>(duration) / 1e6;
  if (milliseconds >= kShortestTimerMs) {
    WaitOnTimer(milliseconds - (kShortestTimerMs - 1.0));
    lastYieldMs = emscripten_get_now();
  } else {
    WebYield();
  }
}

uint32_t DeviceCalendarSeconds() {
  return static_cast<uint32_t>(std::time(nullptr));
}

}  // namespace coilrun
