// The data tool's file encoders at the edges of their formats, byte by byte, and its integer sine.
#include "writers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace coilrun {
namespace {

// Palette index x is colour (x, 1, 2), met first at (x, 0); the second row is all index 255. So lone indices
// from 0xC0 up must be coded as runs of one, and no run may join the last pixel of a row to the next row.
TEST(PcxWriterTest, CodesHighIndicesAsRunsAndEndsRunsAtRowEnds) {
  Picture p = MakePicture(256, 2, Rgb{255, 1, 2});
  for (int x = 0; x < 256; ++x) SetPixel(p, x, 0, Rgb{static_cast<uint8_t>(x), 1, 2});
  const auto bytes = EncodePcx(p);
  ASSERT_TRUE(bytes.has_value());
  Bytes expected;
  for (int x = 0; x < 256; ++x) {
    if (x >= 0xC0) expected.push_back(0xC1);
    expected.push_back(static_cast<uint8_t>(x));
  }
  expected.insert(expected.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xC4, 0xFF, 0x0C});
  for (int x = 0; x < 256; ++x) expected.insert(expected.end(), {static_cast<uint8_t>(x), 1, 2});
  EXPECT_EQ(Bytes(bytes->begin() + 128, bytes->end()), expected);
  EXPECT_EQ((*bytes)[66] | (*bytes)[67] << 8, 256) << "bytes per line";
  EXPECT_FALSE(EncodePcx(MakePicture(5, 4, kBlack)).has_value())
      << "an odd width needs a padding byte per row";
  SetPixel(p, 0, 1, kBlack);
  EXPECT_FALSE(EncodePcx(p).has_value() || EncodeBitmap8(p).has_value()) << "257 colours";
}

// Rows of 50 pixels take 150 and 50 bytes, padded to 152 and 52; the bottom row comes first.
TEST(BitmapWriterTest, BothVariantsPadRowsAndStoreTheBottomRowFirst) {
  Picture p = MakePicture(50, 3, kBlack);
  for (int i = 0; i < 150; ++i) p.pixels[static_cast<size_t>(i)] = Rgb{static_cast<uint8_t>(i), 7, 9};
  const Bytes wide = EncodeBitmap24(p), narrow = EncodeBitmap8(p).value();
  ASSERT_EQ(wide.size(), 54u + 3 * 152);
  ASSERT_EQ(narrow.size(), 54u + 1024 + 3 * 52);
  // The end of the bottom row, its padding and the start of the middle row; and the palette entry of 149.
  EXPECT_EQ(Bytes(wide.begin() + 54 + 147, wide.begin() + 54 + 155), (Bytes{9, 7, 149, 0, 0, 9, 7, 50}));
  EXPECT_EQ(Bytes(narrow.begin() + 1078 + 49, narrow.begin() + 1078 + 54), (Bytes{149, 0, 0, 50, 51}));
  EXPECT_EQ(Bytes(narrow.begin() + 54 + 4 * 149, narrow.begin() + 54 + 4 * 150), (Bytes{9, 7, 149, 0}));
}

TEST(WaveWriterTest, AnOddCountOfSamplesIsPaddedToAWholeWord) {
  const Bytes b = EncodeWave({1, 2, 3});
  EXPECT_EQ(Bytes(b.begin() + 40, b.end()), (Bytes{3, 0, 0, 0, 1, 2, 3, 128}));
  EXPECT_EQ(b[4], 40) << "the chunk size counts the padding";
}

TEST(IntegerMathsTest, SineStaysWithinAFifthOfAPercent) {
  for (int32_t phase = -70000; phase < 140000; phase += 97)
    EXPECT_NEAR(SineQ(phase), std::sin(phase * 2 * 3.14159265358979323846 / 65536) * 32767, 66) << phase;
}

}  // namespace
}  // namespace coilrun
