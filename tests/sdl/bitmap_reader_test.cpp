// The plain-code bitmap reader against SDL's: the same pixels from the default data, the fuzz seeds and
// files SDL writes itself, and a refusal where SDL refuses.
#include "platform/common/bitmap_reader.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "image_files.h"
#include "images/bitmap_device.h"

namespace coilrun {
namespace {

void ExpectSameAsSdl(const std::vector<uint8_t>& file, const std::string& what) {
  DecodedBitmap bySdl;
  DecodedBitmap ours;
  ASSERT_TRUE(DeviceDecodeBitmap(file.data(), file.size(), &bySdl)) << what;
  ASSERT_TRUE(ReadBitmapFile(file.data(), file.size(), &ours)) << what;
  EXPECT_EQ(ours.width, bySdl.width) << what;
  EXPECT_EQ(ours.height, bySdl.height) << what;
  EXPECT_TRUE(ours.pixels == bySdl.pixels) << what;
}

TEST(BitmapReader, ReadsTheDefaultDataAsSdlDoes) {
  const std::filesystem::path data = COILRUN_BINARY_DIR "/data";
  for (const char* name : {"BG00.DAT", "BG01.DAT", "BG02.DAT", "BG03.DAT", "BG04.DAT", "BG05.DAT",
                           "ENEMY01.DAT", "ENEMY02.DAT", "MENU.DAT"}) {
    std::ifstream in(data / name, std::ios::binary);
    ASSERT_TRUE(in) << name;
    ExpectSameAsSdl(std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {}), name);
  }
}

TEST(BitmapReader, ReadsTheSeedsAndSdlsOwnFilesAsSdlDoes) {
  for (BmpVariant variant : kAllBmpVariants) {
    ExpectSameAsSdl(MakeBmpFile(SampleRgbPicture(9, 5), variant), BmpVariantName(variant));
  }
  // 5-6-5 and 8-8-8-8 with their masks, as SDL writes them.
  for (Uint32 format : {SDL_PIXELFORMAT_RGB565, SDL_PIXELFORMAT_ARGB8888, SDL_PIXELFORMAT_XRGB1555}) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 7, 3, 32, format);
    ASSERT_NE(surface, nullptr);
    auto* bytes = static_cast<uint8_t*>(surface->pixels);
    for (int i = 0; i < surface->pitch * surface->h; ++i) bytes[i] = static_cast<uint8_t>(i * 37 + 11);
    std::vector<uint8_t> file(4096);
    SDL_RWops* out = SDL_RWFromMem(file.data(), static_cast<int>(file.size()));
    ASSERT_EQ(SDL_SaveBMP_RW(surface, out, 0), 0);
    file.resize(static_cast<size_t>(SDL_RWtell(out)));
    SDL_RWclose(out);
    SDL_FreeSurface(surface);
    ExpectSameAsSdl(file, SDL_GetPixelFormatName(format));
  }
}

TEST(BitmapReader, RefusesAFileThatEndsBeforeItsPixels) {
  std::vector<uint8_t> file = MakeBmpFile(SampleRgbPicture(9, 5), BmpVariant::kRgb24);
  file.resize(file.size() - 30);
  DecodedBitmap picture;
  EXPECT_FALSE(DeviceDecodeBitmap(file.data(), file.size(), &picture));
  EXPECT_FALSE(ReadBitmapFile(file.data(), file.size(), &picture));
  file.resize(20);
  EXPECT_FALSE(ReadBitmapFile(file.data(), file.size(), &picture));
}

}  // namespace
}  // namespace coilrun
