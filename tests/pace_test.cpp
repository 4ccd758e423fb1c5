// The pace: the millisecond wait and the flip's modelled retrace, on the virtual clock.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "devices/delay.h"
#include "devices/keyboard.h"
#include "devices/window.h"
#include "display/display.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_keyboard.h"
#include "test_support.h"

namespace coilrun {
namespace {

constexpr int64_t kMs = 1'000'000;

// The wait ends exactly on the millisecond after the one the wait passes: neither a spin that ends early
// nor a sleep that overshoots.
TEST_F(MemoryDeviceTest, DelayReturnsOnlyOnceStrictlyMoreThanTheWaitHasPassed) {
  for (uint32_t wait : {0u, 1u, 30u}) {
    MemorySetClockNanoseconds(1000 * kMs + 400'000);  // Part-way through a millisecond.
    const uint32_t start = ClockMilliseconds();
    DelayMs(wait);
    EXPECT_EQ(MemoryClockNanoseconds(), (start + wait + 1) * kMs) << wait;
  }
}

TEST_F(MemoryDeviceTest, DelayAcrossTheClockWrapLastsAsLongAsAnyOther) {
  const int64_t wrap = int64_t{1} << 32;  // Milliseconds at which the 32-bit clock returns to 0.
  MemorySetClockNanoseconds((wrap - 10) * kMs);
  DelayMs(30);
  EXPECT_EQ(MemoryClockNanoseconds(), (wrap + 21) * kMs);
}

TEST_F(DisplayTest, FlipWaitsForTheFirstRetraceAfterThePreviousFlip) {
  MemorySetClockNanoseconds(5 * kMs);
  PresentFrame();  // The first flip is taken at once.
  PresentFrame();  // The next waits for the retrace at 1/60 s.
  const auto& frames = MemoryPresentedFrames();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].timeNs, 5 * kMs);
  EXPECT_EQ(frames[1].timeNs, kRetracePeriodNs);
  // A flip that comes after the retrace has passed is taken at once.
  DelayMs(20);
  const int64_t before = MemoryClockNanoseconds();
  PresentFrame();
  EXPECT_EQ(MemoryPresentedFrames().back().timeNs, before);
  // The same after 500 days up, past 2^31 retraces: the second flip waits for the next retrace.
  ResetFlipPacing();
  const int64_t longUp = int64_t{500} * 86'400 * 1'000'000'000;
  MemorySetClockNanoseconds(longUp);
  PresentFrame();
  PresentFrame();
  const int64_t waited = frames.back().timeNs - longUp;
  EXPECT_GT(waited, 0);
  EXPECT_LE(waited, kRetracePeriodNs);
}

// A run that would never end is asked to close at the first limit it passes, with one line, so that its test
// fails at once with that line; one that goes on to twice a limit all the same is stopped by an exception.
TEST_F(MemoryDeviceTest, ARunPastALimitIsAskedToCloseWithALineAndStoppedAtTwiceIt) {
  ASSERT_TRUE(InitKeyboard());
  MemorySetReadLimit(1000);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(WaitForAnyKey());  // no key is ever held
  const std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_EQ(MemoryKeyboardReads(), 1001u);
  const std::string line =
      "in-memory layer: the run has read the keys more than 1000 times since the reset, so the run would "
      "never end";
  EXPECT_EQ(printed, line + "\n");
  EXPECT_EQ(MemoryTakeRunaway(), line);
  MemorySetWaitLimit(1000 * kMs);
  DelayMs(1500);
  EXPECT_THROW(DelayMs(600), std::runtime_error);
  ReleaseKeyboard();
}

}  // namespace
}  // namespace coilrun
