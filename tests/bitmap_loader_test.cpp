// The bitmap file loader: every variant top row first in the display's colours, malformed files.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "image_files.h"
#include "images/images.h"
#include "platform/memory/memory_display.h"
#include "test_support.h"

namespace coilrun {
namespace {

Surface* Decode(const std::vector<uint8_t>& file) {
  const std::vector<uint8_t> exact(file.begin(), file.end());
  return DecodeBitmapImage(exact.data(), exact.size());
}

uint16_t Packed(Rgb colour) {
  return PackColor(colour.red, colour.green, colour.blue);
}

// A 24-bit file whose header's width and height are replaced.
std::vector<uint8_t> WithSize(int32_t width, int32_t height) {
  std::vector<uint8_t> file = MakeBmpFile(SampleRgbPicture(2, 2, 4), BmpVariant::kRgb24);
  for (int i = 0; i < 4; ++i) {
    file[18 + i] = static_cast<uint8_t>(static_cast<uint32_t>(width) >> (8 * i));
    file[22 + i] = static_cast<uint8_t>(static_cast<uint32_t>(height) >> (8 * i));
  }
  return file;
}

TEST_F(DisplayTest, EveryBitmapVariantLoadsTopRowFirstInTheDisplaysColours) {
  for (BmpVariant variant : kAllBmpVariants) {
    const int limit = BmpPaletteLimit(variant);
    const RgbPicture picture = SampleRgbPicture(9, 5, limit == 0 ? 256 : limit);
    Surface* s = Decode(MakeBmpFile(picture, variant));
    ASSERT_NE(s, nullptr) << BmpVariantName(variant);
    EXPECT_EQ(s->width, 9);
    EXPECT_EQ(s->height, 5);
    std::vector<uint16_t> expected;
    for (const Rgb& colour : picture.pixels) {
      // Five bits of green cannot hold the body colour's green: 102 is stored as 12 and read back as 99.
      const bool fiveBitGreen = variant == BmpVariant::kRgb555 && colour == kFileBody;
      expected.push_back(fiveBitGreen ? PackColor(49, 99, 255) : Packed(colour));
    }
    EXPECT_EQ(s->pixels, expected) << BmpVariantName(variant);
    EXPECT_EQ(s->pixels[0], 0xFFFF) << BmpVariantName(variant);
    EXPECT_EQ(s->pixels[3], 0) << BmpVariantName(variant);  // black, whatever the palette
    ReleaseSurface(s);
  }
}

TEST_F(DisplayTest, BodyColourIsExactFromEightBitChannelsAnd565) {
  const RgbPicture picture{1, 1, {kFileBody}};
  for (BmpVariant variant :
       {BmpVariant::kIndexed8, BmpVariant::kBitfields565, BmpVariant::kRgb24, BmpVariant::kRgb32}) {
    Surface* s = Decode(MakeBmpFile(picture, variant));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->pixels[0], (6 << 11) | (25 << 5) | 31) << BmpVariantName(variant);
    ReleaseSurface(s);
  }
}

TEST_F(DisplayTest, BitmapsTheReaderRefusesOrTooLargeGiveNoSurface) {
  std::vector<uint8_t> truncated = MakeBmpFile(SampleRgbPicture(40, 40, 9), BmpVariant::kRgb24);
  truncated.resize(truncated.size() / 2);
  const std::vector<std::vector<uint8_t>> refused = {
      {},
      {'B', 'M', 0, 0},
      MakePcxFile(PcxEdges{0, 0, 3, 3}, {0xD0, 0x01}, DistinctPcxPalette()),
      truncated,
      WithSize(0, 2),
      WithSize(2, 0),
      WithSize(4097, 2),
      WithSize(2, -4097),
      WithSize(2, INT32_MIN),
      WithSize(100000, 100000),
  };
  for (size_t i = 0; i < refused.size(); ++i) EXPECT_EQ(Decode(refused[i]), nullptr) << i;
  EXPECT_EQ(MemoryLiveSurfaceCount(), 3);  // the flip chain and the Canvas only
}

TEST_F(DisplayTest, BitmapDeviceRefusalsGiveNoSurfaceAndLeaveNothing) {
  const std::vector<uint8_t> file = MakeBmpFile(SampleRgbPicture(3, 3, 9), BmpVariant::kRgb24);
  MemoryRefuseSurfaceCreation(1);
  EXPECT_EQ(Decode(file), nullptr);
  MemoryFailLocks(1);
  EXPECT_EQ(Decode(file), nullptr);
  EXPECT_EQ(MemoryLiveSurfaceCount(), 3);
}

TEST_F(DisplayTest, LoadBitmapImageReadsTheNamedFile) {
  const std::vector<uint8_t> bytes = MakeBmpFile(SampleRgbPicture(100, 40, 9), BmpVariant::kRle8);
  const std::string path = std::string(COILRUN_BINARY_DIR) + "/bitmap_loader_test.dat";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  Surface* s = LoadBitmapImage(path.c_str());
  std::remove(path.c_str());
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->width, 100);
  EXPECT_EQ(s->height, 40);
  EXPECT_EQ(s->pixels[0], 0xFFFF);
  ReleaseSurface(s);
  EXPECT_EQ(LoadBitmapImage((std::string(COILRUN_BINARY_DIR) + "/no-such-bitmap.dat").c_str()), nullptr);
}

}  // namespace
}  // namespace coilrun
