// The Windows clock: the performance counter, and sleeps on a high-resolution waitable timer that give the
// processor back.
#include <ctime>

#include "devices/clock_device.h"
#include "platform/win32/win32_platform.h"

namespace coilrun {

namespace {

// Windows 10 1803 and later time a timer made with this flag to well under a millisecond; older systems
// refuse it, and a plain timer serves.
constexpr DWORD kHighResolutionTimer = 0x00000002;
constexpr int64_t kNanosecondsPerSecond = 1'000'000'000;
constexpr int64_t kNanosecondsPerTimerUnit = 100;

// The counter's ticks per second, and the one timer the thread sleeps on; both made at the first use.
int64_t ticksPerSecond = 0;
HANDLE sleepTimer = nullptr;

// Wine takes the flag above, but serves every waitable timer from its server, a millisecond late on
// average: a fiftieth of a slow stage's tick. Its NtDelayExecution sleeps in the process itself and wakes
// a tenth of a millisecond late. Under Wine the sleeps are taken there; Windows' own timer is finer.
using DelayExecution = LONG(NTAPI*)(BOOLEAN alertable, PLARGE_INTEGER interval);
DelayExecution wineDelay = nullptr;
bool sleepChosen = false;

void ChooseSleep() {
  sleepChosen = true;
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr) return;
  wineDelay = reinterpret_cast<DelayExecution>(
      reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "NtDelayExecution")));
}

HANDLE MakeSleepTimer() {
  HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS);
  if (timer == nullptr) timer = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
  // A plain timer and the waits for input keep to the millisecond only with the system's finer tick.
  timeBeginPeriod(1);
  return timer;
}

}  // namespace

int64_t DeviceClockNanoseconds() {
  if (ticksPerSecond == 0) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    ticksPerSecond = frequency.QuadPart;
  }
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const int64_t seconds = now.QuadPart / ticksPerSecond;
  const int64_t rest = now.QuadPart % ticksPerSecond;
  return seconds * kNanosecondsPerSecond + rest * kNanosecondsPerSecond / ticksPerSecond;
}

void DeviceSleepNanoseconds(int64_t duration) {
  const int64_t deadline = DeviceClockNanoseconds() + duration;
  // A waiting program is the display's chance to show the frame it was handed.
  Win32PresentPendingFrame();
  if (!sleepChosen) ChooseSleep();
  if (sleepTimer == nullptr) sleepTimer = MakeSleepTimer();
  for (int64_t left = deadline - DeviceClockNanoseconds(); left > 0;
       left = deadline - DeviceClockNanoseconds()) {
    LARGE_INTEGER due;
    due.QuadPart = -((left + kNanosecondsPerTimerUnit - 1) / kNanosecondsPerTimerUnit);  // relative
    if (wineDelay != nullptr) {
      wineDelay(FALSE, &due);
    } else if (sleepTimer == nullptr || SetWaitableTimer(sleepTimer, &due, 0, nullptr, nullptr, FALSE) == 0) {
      Sleep(static_cast<DWORD>((left + 999'999) / 1'000'000));
    } else {
      WaitForSingleObject(sleepTimer, INFINITE);
    }
  }
}

uint32_t DeviceCalendarSeconds() {
  return static_cast<uint32_t>(std::time(nullptr));
}

}  // namespace coilrun
