// The fade and keyed copy pixel kernels against their rules.
#include "display/fade.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "display/pixel_kernels.h"
#include "platform/memory/memory_display.h"
#include "test_support.h"

namespace coilrun {
namespace {

uint16_t Pixel565(int red, int green, int blue) {
  return static_cast<uint16_t>((red << 11) | (green << 5) | blue);
}

// The rule, field by field: floor(p w / 32) + floor(c (32 - w) / 32).
uint16_t Blend(uint16_t p, int w, uint16_t c) {
  auto field = [&](int shift, int mask) {
    return (((p >> shift) & mask) * w / 32 + ((c >> shift) & mask) * (32 - w) / 32) << shift;
  };
  return static_cast<uint16_t>(field(11, 31) | field(5, 63) | field(0, 31));
}

// Every pixel value at even and odd positions, and an odd count: a last lone pixel is done too.
TEST(PixelKernelTest, BothKernelsFadeByTheFieldRuleForEveryPixelAndWeightAndCopyAllButTheKey) {
  std::vector<uint16_t> start(2 * 65536 + 1);
  for (size_t i = 0; i < start.size(); ++i) start[i] = static_cast<uint16_t>(i < 65536 ? i : i + 1);
  std::vector<uint16_t> expected(start.size());
  const uint16_t colours[] = {0, 0xFFFF, Pixel565(6, 25, 31), Pixel565(31, 0, 31), Pixel565(1, 1, 1)};
  for (PixelKernel kernel : {PixelKernel::kPortable, FastestPixelKernel()}) {
    std::vector<uint16_t> copied(start.size(), 7);
    CopyPixelsKeyed(copied.data(), start.data(), start.size(), 0x1234, kernel);
    for (size_t i = 0; i < start.size(); ++i) ASSERT_EQ(copied[i], start[i] == 0x1234 ? 7 : start[i]) << i;
    for (uint16_t colour : colours) {
      for (int w = 0; w <= 32; ++w) {
        std::vector<uint16_t> pixels = start;
        FadePixels(pixels.data(), pixels.size(), w, colour, kernel);
        for (size_t i = 0; i < start.size(); ++i) expected[i] = Blend(start[i], w, colour);
        ASSERT_EQ(pixels, expected) << static_cast<int>(kernel) << ", " << w << ", " << colour;
      }
    }
  }
}

// The fade presents each of its 33 steps as soon as it is made, from the picture as it was (weight 32) to the
// colour, each step blending the one before, and waits more than 50 ms after each.
TEST_F(DisplayTest, FadeScreenPresentsEachStepAsItIsMadeAndWaitsAfterEach) {
  std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), 0xFFFF);
  const uint16_t colour = Pixel565(2, 40, 6);
  FadeScreen(colour);
  const std::vector<MemoryFrame>& frames = MemoryPresentedFrames();
  ASSERT_EQ(frames.size(), 33u);
  uint16_t shown = 0xFFFF;
  for (int w = 32; w >= 0; --w) {
    shown = Blend(shown, w, colour);
    const size_t step = static_cast<size_t>(32 - w);
    EXPECT_EQ(frames[step].checksum, MemoryChecksum(std::vector<uint16_t>(640 * 480, shown)))
        << "weight " << w;
    if (step > 0) {
      EXPECT_EQ(frames[step].timeNs - frames[step - 1].timeNs, 51'000'000) << "weight " << w;
    }
  }
  EXPECT_EQ(shown, colour);
}

}  // namespace
}  // namespace coilrun
