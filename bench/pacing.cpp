// Measures the game's pace over a real device layer (SDL, or Windows): ticks per second and the spread of
// the tick period.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "devices/clock_device.h"
#include "devices/delay.h"
#include "devices/window_device.h"
#include "display/display.h"

namespace {

constexpr unsigned kStageDelays[] = {30, 25, 20, 14, 8, 3};
constexpr int kTicks = 300;
// Ticks run before measuring, so that a stage's rhythm is not mixed with the previous stage's.
constexpr int kWarmUpTicks = 10;

// The model's tick period: the delay's whole milliseconds plus one, or the retrace if that is longer.
double ModelPeriodNs(unsigned delay) {
  const double delayNs = (delay + 1) * 1e6;
  return std::max(delayNs, static_cast<double>(coilrun::kRetracePeriodNs));
}

}  // namespace

int main(int, char**) {
  using namespace coilrun;
  if (!InitDisplay()) {
    std::fprintf(stderr, "pacing: cannot set up the display: %s\n", DevicePlatformError());
    return 1;
  }
  std::printf("%-6s %-8s %-10s %-10s %-8s %-12s\n", "stage", "delay", "model/s", "ticks/s", "error", "p99 dev (ms)");
  bool withinGoals = true;
  for (int stage = 0; stage < 6; ++stage) {
    const unsigned delay = kStageDelays[stage];
    std::vector<double> periods;
    for (int i = 0; i < kWarmUpTicks; ++i) {
      PresentFrame();
      DelayMs(delay);
    }
    // The first period runs from this flip, not from the wait after it, which would cut it short.
    PresentFrame();
    int64_t previous = DeviceClockNanoseconds();
    const int64_t start = previous;
    DelayMs(delay);
    // A tick's period is measured from flip to flip: the rhythm in which the player sees frames.
    for (int i = 0; i < kTicks; ++i) {
      PresentFrame();
      const int64_t now = DeviceClockNanoseconds();
      periods.push_back(static_cast<double>(now - previous));
      previous = now;
      DelayMs(delay);
    }
    const double ticksPerSecond = kTicks * 1e9 / static_cast<double>(previous - start);
    const double model = 1e9 / ModelPeriodNs(delay);
    const double mean = static_cast<double>(previous - start) / kTicks;
    std::vector<double> deviations;
    for (double p : periods) deviations.push_back(std::fabs(p - mean) / 1e6);
    std::sort(deviations.begin(), deviations.end());
    const double p99 = deviations[deviations.size() * 99 / 100];
    if (std::getenv("PACING_DUMP") != nullptr) {
      for (double p : periods) std::printf("%.2f ", p / 1e6);
      std::printf("\n");
    }
    const double error = (ticksPerSecond - model) / model * 100.0;
    std::printf("%-6d %-8u %-10.2f %-10.2f %+6.2f%%  %-12.3f\n", stage + 1, delay, model, ticksPerSecond, error,
                p99);
    withinGoals = withinGoals && std::fabs(error) <= 2.0 && p99 < 1.0;
  }
  std::printf("goals (within 2%% of the model, p99 deviation under 1 ms): %s\n", withinGoals ? "met" : "missed");
  ReleaseDisplay();
  return 0;
}
