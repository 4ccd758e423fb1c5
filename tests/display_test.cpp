// The display: set-up and its failure paths, the pixel format, blits and present.
#include "display/display.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/memory/memory_display.h"
#include "test_support.h"

namespace coilrun {
namespace {

std::vector<int> Values(const PixelFormat& f) {
  return {f.redPos, f.redLoss, f.greenPos, f.greenLoss, f.bluePos, f.blueLoss};
}

// The PCX loader's test holds the 5-5-5 format; every frame of the golden game the 5-6-5 one.
TEST(PixelFormatTest, DerivesPositionsAndLossesAndRefusesAZeroMask) {
  PixelFormat f;
  ASSERT_TRUE(DerivePixelFormat(0x7F0000, 0xFF00, 0x00FF, &f));  // 7 and 8 bits lose 1 and 0.
  EXPECT_EQ(Values(f), std::vector<int>({16, 1, 8, 0, 0, 0}));
  EXPECT_FALSE(DerivePixelFormat(0xF800, 0, 0x001F, &f));  // Counting a zero mask would never end.
}

TEST_F(MemoryDeviceTest, EverySetUpStepThatIsRefusedFailsInitDisplayAndReleaseLeavesNothing) {
  for (MemoryDisplayStep step :
       {MemoryDisplayStep::kCreateDisplayObject, MemoryDisplayStep::kCooperativeLevel,
        MemoryDisplayStep::kDisplayMode, MemoryDisplayStep::kFlipChain, MemoryDisplayStep::kBackBuffer,
        MemoryDisplayStep::kCreateSurface, MemoryDisplayStep::kPixelFormat}) {
    MemoryResetAll();
    MemoryRefuseDisplayStep(step);
    EXPECT_FALSE(InitDisplay()) << static_cast<int>(step);
    // Whatever was made is released once, before the display is closed, and nothing is left behind.
    ReleaseDisplay();
    ReleaseDisplay();
    EXPECT_EQ(MemoryLiveSurfaceCount(), 0) << static_cast<int>(step);
    EXPECT_EQ(MemorySurfacesLiveAtClose(), 0) << static_cast<int>(step);
    EXPECT_FALSE(MemoryDisplayOpen());
  }
}

TEST_F(MemoryDeviceTest, AFlipChainRefusedInVideoMemoryIsMadeWithoutAndShowsFrames) {
  MemoryRefuseDisplayStep(MemoryDisplayStep::kFlipChainInVideoMemory);
  ASSERT_TRUE(InitDisplay());
  EXPECT_FALSE(MemoryFlipChainInVideoMemory());
  std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), uint16_t{0x0F0F});
  PresentFrame();
  EXPECT_EQ(MemoryPresentedFrames().size(), 1u);
  EXPECT_EQ(MemoryFrontPixels(), Canvas->pixels);
}

TEST_F(DisplayTest, ALostFlipRestoresAndTheNextPresentShowsTheWholeCanvas) {
  std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), uint16_t{0x1234});
  for (Surface* lost : {PrimarySurface, BackBuffer, Canvas}) {
    MemorySetSurfaceLost(lost);
    PresentFrame();
    // The flip or the copy failed; the flip's report restored the surfaces.
    RestoreSurfaces();
    PresentFrame();
    ASSERT_FALSE(MemoryFrontPixels().empty());
    EXPECT_TRUE(std::all_of(MemoryFrontPixels().begin(), MemoryFrontPixels().end(),
                            [](uint16_t p) { return p == 0x1234; }));
  }
}

Surface* MakeFilled(int16_t w, int16_t h, uint16_t value) {
  Surface* s = CreateOffscreenSurface(w, h);
  std::fill(s->pixels.begin(), s->pixels.end(), value);
  return s;
}

TEST_F(DisplayTest, BlitsClipToBothSurfacesAndTouchNothingOutside) {
  Surface* small = MakeFilled(10, 10, 0x7777);
  std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), uint16_t{0});
  // A rectangle far larger than the picture, starting 5 pixels above and left of it: only the picture's
  // top-left 5x5 pixels fit, in the Canvas's bottom-right corner, wherever either clip goes wrong.
  BlitToCanvas(small, 630, 470, -5, -5, 600, 400);
  EXPECT_EQ(std::count(Canvas->pixels.begin(), Canvas->pixels.end(), 0x7777), 25);
  EXPECT_EQ(Canvas->pixels[475 * 640 + 635], 0x7777);
  std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), uint16_t{0});
  BlitToCanvas(small, -3, -4, 0, 0, 10, 10);
  EXPECT_EQ(Canvas->pixels[0], 0x7777);
  EXPECT_EQ(Canvas->pixels[6], 0x7777);
  EXPECT_EQ(Canvas->pixels[7], 0);
  EXPECT_EQ(Canvas->pixels[5 * 640], 0x7777);
  EXPECT_EQ(Canvas->pixels[6 * 640], 0);
  // A rectangle past the picture's bottom and right, with room on the Canvas: the picture's pixels only.
  std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), uint16_t{0});
  BlitToCanvas(small, 100, 100, 0, 0, 20, 20);
  EXPECT_EQ(std::count(Canvas->pixels.begin(), Canvas->pixels.end(), 0), kCanvasPixelCount - 100);
  // An inverted or empty rectangle copies nothing.
  BlitToCanvas(small, 200, 200, 8, 8, 2, 2);
  EXPECT_EQ(Canvas->pixels[200 * 640 + 200], 0);
  // Into a small surface from the big Canvas: only the 5x5 from (5, 5) to its corner are written.
  std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), uint16_t{0x4242});
  CopySurfaceRect(small, 5, 5, Canvas, ScreenRect, false);
  for (int i = 0; i < 100; ++i)
    EXPECT_EQ(small->pixels[i], i / 10 >= 5 && i % 10 >= 5 ? 0x4242 : 0x7777) << i;
  ReleaseSurface(small);
}

}  // namespace
}  // namespace coilrun
