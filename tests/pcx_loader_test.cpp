// The PCX-coded picture loader: the run-length stream, the header's edges, the palette, malformed files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "image_files.h"
#include "images/images.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_reset.h"
#include "test_support.h"

namespace coilrun {
namespace {

const PcxPalette kPalette = DistinctPcxPalette();

uint16_t Entry(int index) {
  return PackColor(kPalette[3 * index], kPalette[3 * index + 1], kPalette[3 * index + 2]);
}

// Decodes from a buffer of exactly the file's size, so that the sanitizers see any read past its end.
Surface* Decode(const std::vector<uint8_t>& file) {
  const std::vector<uint8_t> exact(file.begin(), file.end());
  return DecodePcxImage(exact.data(), exact.size());
}

Surface* DecodeCoded(int16_t width, int16_t height, const std::vector<uint8_t>& coded) {
  return Decode(MakePcxFile(PcxEdges{0, 0, static_cast<int16_t>(width - 1), static_cast<int16_t>(height - 1)},
                            coded, kPalette));
}

std::string WriteTestFile(const std::string& name, const std::vector<uint8_t>& bytes) {
  const std::string path = std::string(COILRUN_BINARY_DIR) + "/" + name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

TEST_F(DisplayTest, PcxRunsOf63LoneBytesAndEmptyRuns) {
  // 0xFF 0x07: 63 of entry 7; 0xBF alone and 0xC1 0xBF: one pixel each; 0xC0 0x05: nothing; then 0x05.
  Surface* s = DecodeCoded(66, 1, {0xFF, 0x07, 0xBF, 0xC0, 0x05, 0xC1, 0xBF, 0x05});
  ASSERT_NE(s, nullptr);
  std::vector<uint16_t> expected(63, Entry(7));
  expected.insert(expected.end(), {Entry(0xBF), Entry(0xBF), Entry(5)});
  EXPECT_EQ(s->pixels, expected);
  ReleaseSurface(s);
}

TEST_F(DisplayTest, PcxRunGoesOnIntoTheNextRowAndIsCutAtTheLastPixel) {
  Surface* s = DecodeCoded(4, 2, {0xC6, 0x02, 0x03, 0x04});
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->pixels, std::vector<uint16_t>(
                           {Entry(2), Entry(2), Entry(2), Entry(2), Entry(2), Entry(2), Entry(3), Entry(4)}));
  ReleaseSurface(s);
  // A run of 63 into a picture of 4 fills it and writes nothing beyond.
  s = DecodeCoded(4, 1, {0xFF, 0x09, 0xFF, 0x09});
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->pixels, std::vector<uint16_t>(4, Entry(9)));
  ReleaseSurface(s);
}

TEST_F(DisplayTest, PcxSizeComesFromTheEdgesAndThePictureStartsTopLeft) {
  std::vector<uint8_t> coded;
  for (uint8_t i = 1; i <= 50; ++i) coded.push_back(i);
  Surface* s = Decode(MakePcxFile(PcxEdges{10, 5, 19, 9}, coded, kPalette));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->width, 10);
  EXPECT_EQ(s->height, 5);
  EXPECT_EQ(s->pixels.front(), Entry(1));
  EXPECT_EQ(s->pixels.back(), Entry(50));
  ReleaseSurface(s);
}

TEST_F(DisplayTest, PcxWholePictureRoundTripsWithOrWithoutThePaletteMarker) {
  const int16_t width = 13;
  const int16_t height = 7;
  std::vector<uint8_t> indices;
  // Values from 0xC0 up take two coded bytes; the coded data must not outgrow one byte per pixel.
  for (int i = 0; i < width * height; ++i) indices.push_back(static_cast<uint8_t>(i * i / 5 % 0xC0));
  indices.back() = 0xEE;  // the last pixel, a value that can only be coded as a run
  std::vector<uint16_t> expected;
  for (uint8_t index : indices) expected.push_back(Entry(index));
  for (bool marker : {true, false}) {
    Surface* s = Decode(MakePcxPicture(width, height, indices, kPalette, marker));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->pixels, expected) << "marker " << marker;
    ReleaseSurface(s);
  }
}

TEST_F(MemoryDeviceTest, PcxPaletteIsPackedByTheDisplaysFormat) {
  PcxPalette palette{};
  const std::vector<Rgb> entries = {kFileWhite, kFileBlack, Rgb{7, 3, 7}, Rgb{8, 4, 8}};
  for (size_t i = 0; i < entries.size(); ++i) {
    palette[3 * i] = entries[i].red;
    palette[3 * i + 1] = entries[i].green;
    palette[3 * i + 2] = entries[i].blue;
  }
  // 5-6-5: white sets every bit, black and entries too dark for the fields are 0. 5-5-5: the same rule.
  const std::vector<std::vector<uint16_t>> expected = {{0xFFFF, 0, 0, 0x0821}, {0x7FFF, 0, 0, 0x0401}};
  const std::vector<std::vector<uint32_t>> masks = {{0xF800, 0x07E0, 0x001F}, {0x7C00, 0x03E0, 0x001F}};
  for (size_t f = 0; f < masks.size(); ++f) {
    MemoryResetAll();
    MemorySetPixelMasks(masks[f][0], masks[f][1], masks[f][2]);
    ASSERT_TRUE(InitDisplay());
    Surface* s = Decode(MakePcxFile(PcxEdges{0, 0, 3, 0}, {0, 1, 2, 3}, palette, false));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->pixels, expected[f]);
    ReleaseSurface(s);
  }
}

TEST_F(DisplayTest, PcxHeadersWithoutAUsablePictureGiveNoSurface) {
  const std::vector<PcxEdges> refused = {
      {0, 0, -1, 0},          // width 0
      {5, 0, 3, 0},           // width below 0
      {0, 0, 0, -1},          // height 0
      {-32768, 0, 32767, 0},  // a width that wraps to 0 in 16 bits
      {0, 0, 4096, 0},        // 4097 wide
      {0, -2000, 0, 2096},    // 4097 high
  };
  for (const PcxEdges& edges : refused) {
    EXPECT_EQ(Decode(MakePcxFile(edges, {0x01}, kPalette)), nullptr) << edges.xmin << " " << edges.xmax;
  }
  // A file too short to hold both the header and the palette.
  std::vector<uint8_t> file = MakePcxFile(PcxEdges{0, 0, 0, 0}, {}, kPalette, false);
  file.pop_back();
  EXPECT_EQ(Decode(file), nullptr);
  EXPECT_EQ(MemoryLiveSurfaceCount(), 3);  // the flip chain and the Canvas only

  // The largest accepted picture, backed by 1 coded byte: nothing is sized from the header but the surface.
  Surface* s = Decode(MakePcxFile(PcxEdges{0, 0, 4095, 0}, {0x02}, kPalette));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->width, 4096);
  ReleaseSurface(s);
}

TEST_F(DisplayTest, PcxCodedDataEndingEarlyLeavesTheRestUntouched) {
  // 10000 pixels but 3 coded bytes: the read of one byte per pixel also takes the marker and the palette,
  // all 0x40 here, each a single pixel of grey; decoding stops where the file ends.
  PcxPalette grey;
  grey.fill(0x40);
  Surface* s = Decode(MakePcxFile(PcxEdges{0, 0, 99, 99}, {1, 2, 3}, grey));
  ASSERT_NE(s, nullptr);
  const uint16_t pixel = PackColor(0x40, 0x40, 0x40);
  EXPECT_EQ(std::count(s->pixels.begin(), s->pixels.end(), pixel), 3 + 1 + 768);
  EXPECT_EQ(std::count(s->pixels.begin(), s->pixels.end(), 0), 10000 - 772);
  ReleaseSurface(s);
  // A run byte as the file's very last byte has no value to repeat and is dropped.
  grey.back() = 0xC5;
  s = Decode(MakePcxFile(PcxEdges{0, 0, 99, 99}, {}, grey, false));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(std::count(s->pixels.begin(), s->pixels.end(), pixel), 767);
  ReleaseSurface(s);
}

TEST_F(DisplayTest, PcxDeviceRefusalsGiveNoSurfaceAndLeaveNothing) {
  const std::vector<uint8_t> file = MakePcxFile(PcxEdges{0, 0, 3, 3}, {0xD0, 0x01}, kPalette);
  MemoryRefuseSurfaceCreation(1);
  EXPECT_EQ(Decode(file), nullptr);
  MemoryFailLocks(1);
  EXPECT_EQ(Decode(file), nullptr);
  EXPECT_EQ(MemoryLiveSurfaceCount(), 3);
}

TEST_F(DisplayTest, LoadPcxImageReadsTheFileAsTheDecoderReadsItsBytes) {
  std::vector<uint8_t> indices(40 * 30);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i / 7);
  // Coded data followed by bytes the decoder never reaches, then the palette at the very end.
  std::vector<uint8_t> coded = EncodePcxRows(indices, 40);
  coded.resize(coded.size() + 5000, 0xAB);
  const std::vector<std::vector<uint8_t>> files = {
      MakePcxFile(PcxEdges{0, 0, 39, 29}, coded, kPalette),
      MakePcxFile(PcxEdges{0, 0, 99, 99}, {1, 2, 3}, kPalette),  // ends early
  };
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string path = WriteTestFile("pcx_loader_test_" + std::to_string(i) + ".dat", files[i]);
    Surface* fromFile = LoadPcxImage(path.c_str());
    Surface* fromMemory = Decode(files[i]);
    ASSERT_NE(fromFile, nullptr);
    ASSERT_NE(fromMemory, nullptr);
    EXPECT_EQ(fromFile->pixels, fromMemory->pixels);
    ReleaseSurface(fromFile);
    ReleaseSurface(fromMemory);
    std::remove(path.c_str());
  }
  EXPECT_EQ(LoadPcxImage((std::string(COILRUN_BINARY_DIR) + "/no-such-picture.dat").c_str()), nullptr);
  EXPECT_EQ(MemoryLiveSurfaceCount(), 3);
}

}  // namespace
}  // namespace coilrun
