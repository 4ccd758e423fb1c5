// The PCX-coded picture loader: the run-length stream, the header's edges, the palette, malformed files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "image_files.h"
#include "images/images.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_files.h"
#include "test_support.h"

namespace coilrun {
namespace {

const PcxPalette kPalette = DistinctPcxPalette();

// Decodes from a buffer of the file's exact size, for the sanitizers, and from a file.
Surface* Decode(const std::vector<uint8_t>& file) {
  MemoryPutFile("PICTURE.DAT", file);
  Surface* fromFile = LoadPcxImage("PICTURE.DAT");
  const std::vector<uint8_t> exact(file.begin(), file.end());
  Surface* s = DecodePcxImage(exact.data(), exact.size());
  const auto pixels = [](const Surface* x) { return x == nullptr ? std::vector<uint16_t>() : x->pixels; };
  EXPECT_EQ(pixels(fromFile), pixels(s));  // no picture from either, or the same from both
  ReleaseSurface(fromFile);
  return s;
}

TEST_F(DisplayTest, PcxStreamFillsThePictureFromTheEdgesWithOrWithoutTheMarker) {
  std::vector<uint8_t> picture(13 * 7), long7(63, 7), wide(4096, 2);
  long7.insert(long7.end(), {0xBF, 0xBF, 5});
  // Values from 0xC0 up take two coded bytes; the last pixel is one that can only be coded as a run. Bytes
  // the decoder never reaches follow, so that a file is read with its palette at its very end.
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint8_t>(i * i / 5 % 0xC0);
  picture.back() = 0xEE;
  std::vector<uint8_t> pictureCoded = EncodePcxRows(picture, 13);
  pictureCoded.resize(pictureCoded.size() + 5000, 0xAB);
  // The edges, the width they give, the coded data, the palette indices it must give.
  const std::tuple<PcxEdges, int, std::vector<uint8_t>, std::vector<uint8_t>> cases[] = {
      // A run of 63; 0xBF alone and as a run of one; 0xC0 writes nothing; a lone last pixel.
      {{0, 0, 65, 0}, 66, {0xFF, 0x07, 0xBF, 0xC0, 0x05, 0xC1, 0xBF, 0x05}, long7},
      // A run goes on into the next row, and is cut at the last pixel.
      {{0, 0, 3, 1}, 4, {0xC6, 0x02, 0x03, 0x04}, {2, 2, 2, 2, 2, 2, 3, 4}},
      {{0, 0, 3, 0}, 4, {0xFF, 0x09, 0xFF, 0x09}, {9, 9, 9, 9}},
      {{10, 5, 22, 11}, 13, pictureCoded, picture},
      {{0, 0, 4095, 0}, 4096, EncodePcxRows(wide, 4096), wide},  // the widest accepted
  };
  for (const auto& [edges, width, coded, indices] : cases) {
    std::vector<uint16_t> expected;
    for (uint8_t i : indices) {
      expected.push_back(PackColor(kPalette[3 * i], kPalette[3 * i + 1], kPalette[3 * i + 2]));
    }
    for (bool marker : {true, false}) {
      Surface* s = Decode(MakePcxFile(edges, coded, kPalette, marker));
      ASSERT_NE(s, nullptr);
      EXPECT_EQ(s->width, width);
      EXPECT_EQ(s->pixels, expected) << width << " wide, marker " << marker;
      ReleaseSurface(s);
    }
  }
}

// The stream test expects PackColor's values; a loader that packed 5-6-5 whatever the display's format
// would pass it, and not this.
TEST_F(MemoryDeviceTest, PcxPaletteIsPackedByTheDisplaysFormat) {
  MemorySetPixelMasks(0x7C00, 0x03E0, 0x001F);
  ASSERT_TRUE(InitDisplay());
  // White, black, too dark for the fields, just bright enough.
  const PcxPalette palette = {255, 255, 255, 0, 0, 0, 7, 3, 7, 8, 4, 8};
  Surface* s = Decode(MakePcxFile(PcxEdges{0, 0, 3, 0}, {0, 1, 2, 3}, palette, false));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->pixels, std::vector<uint16_t>({0x7FFF, 0, 0, 0x0401}));
  ReleaseSurface(s);
}

TEST_F(DisplayTest, MalformedPcxFilesAndDeviceRefusals) {
  // Width 0 and below, height 0, a width that wraps to 0 in 16 bits, 4097 wide, 4097 high.
  const PcxEdges refused[] = {{0, 0, -1, 0},         {5, 0, 3, 0},    {0, 0, 0, -1},
                              {-32768, 0, 32767, 0}, {0, 0, 4096, 0}, {0, -2000, 0, 2096}};
  for (PcxEdges e : refused) EXPECT_EQ(Decode(MakePcxFile(e, {0x01}, kPalette)), nullptr) << e.xmax;
  std::vector<uint8_t> file = MakePcxFile(PcxEdges{0, 0, 0, 0}, {}, kPalette, false);
  file.pop_back();  // too short to hold both the header and the palette
  EXPECT_EQ(Decode(file), nullptr);
  EXPECT_EQ(LoadPcxImage((std::string(COILRUN_BINARY_DIR) + "/no-such-picture.dat").c_str()), nullptr);
  // 10000 pixels but 3 coded bytes: the marker and the palette, all 0x40, are read on as single pixels of
  // grey until the file ends, the rest left untouched; a run byte as the file's last byte is dropped.
  PcxPalette grey;
  grey.fill(0x40);
  const std::vector<uint8_t> early = MakePcxFile(PcxEdges{0, 0, 99, 99}, {1, 2, 3}, grey);
  grey.back() = 0xC5;
  const std::tuple<std::vector<uint8_t>, int> endings[] = {
      {early, 772}, {MakePcxFile(PcxEdges{0, 0, 99, 99}, {}, grey, false), 767}};
  for (const auto& [bytes, greys] : endings) {
    Surface* s = Decode(bytes);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(std::count(s->pixels.begin(), s->pixels.end(), PackColor(0x40, 0x40, 0x40)), greys);
    EXPECT_EQ(std::count(s->pixels.begin(), s->pixels.end(), 0), 10000 - greys);
    ReleaseSurface(s);
  }
  MemoryRefuseSurfaceCreation(1);
  EXPECT_EQ(DecodePcxImage(early.data(), early.size()), nullptr);
  MemoryFailLocks(1);
  EXPECT_EQ(DecodePcxImage(early.data(), early.size()), nullptr);
  EXPECT_EQ(MemoryLiveSurfaceCount(), 3);  // the flip chain and the Canvas only
}

}  // namespace
}  // namespace coilrun
