// The fade: both pixel kernels against the per-field rule for every pixel and weight, the steps and
// their sequence to black, a refused lock and a closed window; and the keyed copy kernels.
#include "display/fade.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "display/pixel_kernels.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_window.h"
#include "test_support.h"

namespace coilrun {
namespace {

uint16_t Pixel565(int red, int green, int blue) {
  return static_cast<uint16_t>((red << 11) | (green << 5) | blue);
}

// The rule, field by field.
uint16_t Blend(uint16_t p, int w, uint16_t c) {
  auto field = [&](int shift, int mask) {
    const int pf = (p >> shift) & mask;
    const int cf = (c >> shift) & mask;
    return (pf * w / 32 + cf * (32 - w) / 32) << shift;
  };
  return static_cast<uint16_t>(field(11, 31) | field(5, 63) | field(0, 31));
}

std::vector<PixelKernel> KernelsHere() {
  std::vector<PixelKernel> kernels = {PixelKernel::kPortable};
  if (FastestPixelKernel() == PixelKernel::kAvx2) kernels.push_back(PixelKernel::kAvx2);
  return kernels;
}

TEST(PixelKernelTest, FadeMatchesTheFieldRuleForEveryPixelInEitherHalfOfAWordAndEveryWeight) {
  // Every value at an even and at an odd position, and an odd count so that a last lone pixel is done too.
  std::vector<uint16_t> start(2 * 65536 + 1);
  for (size_t i = 0; i < start.size(); ++i) start[i] = static_cast<uint16_t>(i < 65536 ? i : i + 1);
  std::vector<uint16_t> expected(start.size());
  for (PixelKernel kernel : KernelsHere()) {
    for (uint16_t colour :
         {uint16_t{0}, uint16_t{0xFFFF}, Pixel565(6, 25, 31), Pixel565(31, 0, 31), Pixel565(1, 1, 1)}) {
      for (int w = 0; w <= 32; ++w) {
        std::vector<uint16_t> pixels = start;
        FadePixels(pixels.data(), pixels.size(), w, colour, kernel);
        std::transform(start.begin(), start.end(), expected.begin(),
                       [&](uint16_t p) { return Blend(p, w, colour); });
        ASSERT_EQ(pixels, expected) << "kernel " << static_cast<int>(kernel) << " weight " << w << " colour "
                                    << colour;
      }
    }
  }
}

TEST(PixelKernelTest, KeyedCopySkipsExactlyTheKeyAtEveryLengthAndOffset) {
  std::mt19937 random(7);
  for (PixelKernel kernel : KernelsHere()) {
    for (size_t count = 0; count < 70; ++count) {
      for (size_t offset : {0, 1, 3}) {
        std::vector<uint16_t> source(count + offset);
        std::vector<uint16_t> destination(count + offset);
        for (auto& p : source) p = random() % 3 == 0 ? 0x1234 : static_cast<uint16_t>(random());
        for (auto& p : destination) p = static_cast<uint16_t>(random());
        std::vector<uint16_t> expected = destination;
        for (size_t i = offset; i < count + offset; ++i) {
          if (source[i] != 0x1234) expected[i] = source[i];
        }
        CopyPixelsKeyed(destination.data() + offset, source.data() + offset, count, 0x1234, kernel);
        ASSERT_EQ(destination, expected) << count << " " << offset;
      }
    }
  }
}

class FadeTest : public DisplayTest {
 protected:
  void FillCanvas(uint16_t p) { std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), p); }
  bool CanvasIs(uint16_t p) const {
    return std::all_of(Canvas->pixels.begin(), Canvas->pixels.end(), [p](uint16_t q) { return q == p; });
  }
};

TEST_F(FadeTest, FullWeightKeepsNoWeightSetsTheColourHalfWeightHalvesEachField) {
  for (size_t i = 0; i < Canvas->pixels.size(); ++i) Canvas->pixels[i] = static_cast<uint16_t>(i * 40503u);
  const std::vector<uint16_t> before = Canvas->pixels;
  FadeStep(32, 0x8410);
  EXPECT_EQ(Canvas->pixels, before);
  FadeStep(0, 0x8410);
  EXPECT_TRUE(CanvasIs(0x8410));
  FillCanvas(Pixel565(31, 63, 1));
  FadeStep(16, 0);
  EXPECT_TRUE(CanvasIs(Pixel565(15, 31, 0)));
  FillCanvas(Pixel565(1, 1, 1));
  FadeStep(31, 0);
  EXPECT_TRUE(CanvasIs(0));
}

TEST_F(FadeTest, FadingToBlackCompoundsFromStepToStep) {
  FillCanvas(Pixel565(31, 63, 0));
  std::vector<int> reds;
  int greenGoneAt = 0;
  for (int w = 32, step = 1; w >= 0; --w, ++step) {
    FadeStep(w, 0);
    reds.push_back(Canvas->pixels[0] >> 11);
    if (greenGoneAt == 0 && ((Canvas->pixels[0] >> 5) & 63) == 0) greenGoneAt = step;
  }
  reds.resize(13);
  EXPECT_EQ(reds, std::vector<int>({31, 30, 28, 25, 21, 17, 13, 10, 7, 5, 3, 1, 0}));
  EXPECT_EQ(greenGoneAt, 15);
}

TEST_F(FadeTest, FadeScreenPresents33StepsWithTheirWaitsAndEndsOnTheColour) {
  FillCanvas(0xFFFF);
  FadeScreen(0);
  EXPECT_TRUE(CanvasIs(0));
  EXPECT_EQ(MemoryPresentedFrames().size(), 33u);
  EXPECT_GE(MemorySleptNanoseconds(), 33 * 50'000'000LL);
  EXPECT_NE(MemoryPresentedFrames().front().checksum, MemoryPresentedFrames().back().checksum);
}

TEST_F(FadeTest, ARefusedLockLeavesTheCanvasAndAClosedWindowStopsTheFade) {
  FillCanvas(0xFFFF);
  MemoryFailLocks(1);
  FadeStep(0, 0);
  EXPECT_TRUE(CanvasIs(0xFFFF));
  EXPECT_EQ(CanvasPixels, nullptr);
  MemoryRequestClose();
  FadeScreen(0);
  EXPECT_TRUE(MemoryPresentedFrames().empty());
  EXPECT_TRUE(CanvasIs(0xFFFF));
}

}  // namespace
}  // namespace coilrun
