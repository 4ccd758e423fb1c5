// The bitmap file loader: every variant top row first in the display's colours, malformed files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image_files.h"
#include "images/images.h"
#include "platform/memory/memory_display.h"
#include "test_support.h"

namespace coilrun {
namespace {

// Decodes from a buffer of the file's exact size, for the sanitizers; the sprite and data set tests load
// their bitmaps from files.
Surface* Decode(const std::vector<uint8_t>& file) {
  const std::vector<uint8_t> exact(file);
  return DecodeBitmapImage(exact.data(), exact.size());
}

TEST_F(DisplayTest, EveryBitmapVariantLoadsTopRowFirstInTheDisplaysColours) {
  const RgbPicture picture = SampleRgbPicture(9, 5);
  std::vector<uint16_t> expected;
  for (const Rgb& c : picture.pixels) expected.push_back(PackColor(c.red, c.green, c.blue));
  for (BmpVariant variant : kAllBmpVariants) {
    Surface* s = Decode(MakeBmpFile(picture, variant));
    ASSERT_NE(s, nullptr) << BmpVariantName(variant);
    EXPECT_EQ(s->width, 9);
    EXPECT_EQ(s->pixels, expected) << BmpVariantName(variant);
    ReleaseSurface(s);
  }
}

// A 24-bit file whose header's width and height are replaced.
std::vector<uint8_t> WithSize(int32_t width, int32_t height) {
  std::vector<uint8_t> file = MakeBmpFile(SampleRgbPicture(2, 2), BmpVariant::kRgb24);
  const uint64_t fields = static_cast<uint32_t>(width) | uint64_t{static_cast<uint32_t>(height)} << 32;
  for (int i = 0; i < 8; ++i) file[18 + i] = static_cast<uint8_t>(fields >> (8 * i));
  return file;
}

TEST_F(DisplayTest, MalformedBitmapsAndDeviceRefusalsGiveNoSurface) {
  std::vector<uint8_t> half = MakeBmpFile(SampleRgbPicture(40, 40), BmpVariant::kRgb24);
  MemoryRefuseSurfaceCreation(1);
  EXPECT_EQ(DecodeBitmapImage(half.data(), half.size()), nullptr);
  MemoryFailLocks(1);
  EXPECT_EQ(DecodeBitmapImage(half.data(), half.size()), nullptr);
  half.resize(half.size() / 2);
  const std::vector<uint8_t> pcx = MakePcxFile(PcxEdges{0, 0, 3, 3}, {0xD0, 0x01}, DistinctPcxPalette());
  const std::vector<uint8_t> wide = MakeBmpFile(SampleRgbPicture(4097, 1), BmpVariant::kRgb24);
  // A bare signature, a PCX-coded file, a truncated one, one too wide that the reader would decode whole;
  // zero, negative and oversized sizes.
  for (const auto& f : {std::vector<uint8_t>{'B', 'M', 0, 0}, pcx, half, wide}) EXPECT_EQ(Decode(f), nullptr);
  const int32_t sizes[][2] = {{0, 2}, {2, 0}, {4097, 2}, {2, -4097}, {2, INT32_MIN}, {100000, 100000}};
  for (const auto& [w, h] : sizes) EXPECT_EQ(Decode(WithSize(w, h)), nullptr) << w << " by " << h;
  EXPECT_EQ(LoadBitmapImage((std::string(COILRUN_BINARY_DIR) + "/no-such-bitmap.dat").c_str()), nullptr);
  EXPECT_EQ(MemoryLiveSurfaceCount(), 3);  // the flip chain and the Canvas only
}

}  // namespace
}  // namespace coilrun
