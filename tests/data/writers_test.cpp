// The data tool's building blocks: the file encoders at the edges of their formats, and the integer maths
// that keeps the made files the same on every machine.
#include "writers.h"

#include <gtest/gtest.h>

#include <cmath>

#include "data_support.h"
#include "picture.h"

namespace coilrun {
namespace {

// A picture whose pixel (x, y) has palette colour (x + y * width) mod `colours`.
Picture Numbered(int width, int height, int colours) {
  Picture p = MakePicture(width, height, kBlack);
  for (int i = 0; i < width * height; ++i) {
    const int c = i % colours;
    p.pixels[static_cast<size_t>(i)] = Rgb{static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>(c >> 8), 7};
  }
  return p;
}

void ExpectSamePicture(const Picture& made, const Decoded& read) {
  ASSERT_EQ(read.width, made.width);
  ASSERT_EQ(read.height, made.height);
  for (int y = 0; y < made.height; ++y) {
    for (int x = 0; x < made.width; ++x) {
      const Rgb c = GetPixel(made, x, y);
      ASSERT_EQ(read.At(x, y), (Colour{c.r, c.g, c.b})) << x << ", " << y;
    }
  }
}

TEST(PcxWriterTest, CodesHighIndicesAndLongRunsAsRunsThatStopAtRowEnds) {
  // 255 colours, so that indices 0xC0 and up stand alone, then a 256th in a long run over two rows.
  Picture p = Numbered(64, 6, 255);
  for (int x = 0; x < 64; ++x) {
    SetPixel(p, x, 4, Rgb{9, 9, 9});
    SetPixel(p, x, 5, Rgb{9, 9, 9});
  }
  const auto bytes = EncodePcx(p);
  ASSERT_TRUE(bytes.has_value());
  ExpectSamePicture(p, DecodePcx(*bytes));
  // Each uniform row of index 0xFF is a run of 63 and a single pixel, itself coded as a run of one; a
  // run across the row end would have made two runs of 63 and one of 2.
  const size_t end = bytes->size() - 769;
  const Bytes tail(bytes->begin() + static_cast<ptrdiff_t>(end - 8),
                   bytes->begin() + static_cast<ptrdiff_t>(end));
  EXPECT_EQ(tail, (Bytes{0xFF, 0xFF, 0xC1, 0xFF, 0xFF, 0xFF, 0xC1, 0xFF}));
}

TEST(PcxWriterTest, RefusesWhatTheGameCouldNotRead) {
  EXPECT_FALSE(EncodePcx(Numbered(5, 4, 2)).has_value()) << "an odd width needs a padding byte per row";
  EXPECT_FALSE(EncodePcx(Numbered(32, 9, 257)).has_value());
  EXPECT_FALSE(EncodeBitmap8(Numbered(32, 9, 257)).has_value());
}

TEST(BitmapWriterTest, BothVariantsPadRowsAndStoreTheBottomRowFirst) {
  const Picture p = Numbered(50, 3, 100);
  const Bytes wide = EncodeBitmap24(p);
  EXPECT_EQ(wide.size(), 54u + 3 * 152);
  EXPECT_EQ(Le32(wide, 2), wide.size());
  ExpectSamePicture(p, DecodeBitmap(wide));
  const auto palettised = EncodeBitmap8(p);
  ASSERT_TRUE(palettised.has_value());
  EXPECT_EQ(palettised->size(), 54u + 1024 + 3 * 52);
  EXPECT_EQ(Le32(*palettised, 10), 54u + 1024);
  ExpectSamePicture(p, DecodeBitmap(*palettised));
}

TEST(WaveWriterTest, AnOddCountOfSamplesIsPaddedToAWholeWord) {
  const Bytes b = EncodeWave({1, 2, 3});
  EXPECT_EQ(b.size(), 44u + 4);
  EXPECT_EQ(Le32(b, 4), b.size() - 8);
  EXPECT_EQ(Le32(b, 40), 3u);
  EXPECT_EQ(b.back(), 128);
}

TEST(IntegerMathsTest, SineStaysWithinAFifthOfAPercent) {
  for (int32_t phase = -70000; phase < 140000; phase += 97) {
    const double exact = std::sin(phase * 2 * 3.14159265358979323846 / 65536) * 32767;
    EXPECT_NEAR(SineQ(phase), exact, 66) << phase;
  }
  EXPECT_EQ(SineQ(16384), 32767);
  EXPECT_EQ(SineQ(0), 0);
  EXPECT_EQ(CosineQ(32768), -32767);
}

TEST(IntegerMathsTest, MixingRoundsToNearestBothWays) {
  EXPECT_EQ(MixColour(Rgb{0, 0, 0}, Rgb{255, 255, 255}, 1, 2), (Rgb{128, 128, 128}));
  EXPECT_EQ(MixColour(Rgb{255, 100, 3}, Rgb{0, 101, 0}, 1, 2), (Rgb{127, 101, 1}));
  EXPECT_EQ(MixColour(Rgb{10, 20, 30}, Rgb{200, 0, 90}, 0, 5), (Rgb{10, 20, 30}));
  EXPECT_EQ(MixColour(Rgb{10, 20, 30}, Rgb{200, 0, 90}, 5, 5), (Rgb{200, 0, 90}));
}

TEST(IntegerMathsTest, BodyColourBucketIsExactlyWhatPacksToIt) {
  EXPECT_TRUE(PacksToBodyColour(kWallColour));
  EXPECT_TRUE(PacksToBodyColour(Rgb{48, 96, 248}));
  EXPECT_TRUE(PacksToBodyColour(Rgb{55, 103, 255}));
  EXPECT_FALSE(PacksToBodyColour(Rgb{47, 102, 255}));
  EXPECT_FALSE(PacksToBodyColour(Rgb{56, 102, 255}));
  EXPECT_FALSE(PacksToBodyColour(Rgb{51, 104, 255}));
  EXPECT_FALSE(PacksToBodyColour(Rgb{51, 102, 247}));
}

}  // namespace
}  // namespace coilrun
