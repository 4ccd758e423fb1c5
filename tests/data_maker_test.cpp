// The default data set: every file made, the same bytes on every run, a player's scores kept, and pictures
// and sounds that hold, as the game loads them, what the game draws and plays from them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>

#include "data_support.h"
#include "devices/sound.h"

namespace coilrun {
namespace {

using DataMakerTest = MadeDataTest;

TEST_F(DataMakerTest, KeepsAPlayersScoresUnlessAskedToResetAndRefusesWhatItCannotDo) {
  EXPECT_EQ(ReadFileBytes("SCORE.DAT"), FileBytes(1036, 0));
  WriteFileBytes("SCORE.DAT", FileBytes(1036, 0x30));  // a player's table
  std::filesystem::remove("EAT.WAV");
  EXPECT_EQ(RunDataTool("make .").output, "");
  EXPECT_EQ(ReadFileBytes("SCORE.DAT"), FileBytes(1036, 0x30));
  EXPECT_TRUE(std::filesystem::exists("EAT.WAV"));
  ASSERT_EQ(RunDataTool("make --reset-scores .").exitCode, 0);
  EXPECT_EQ(ReadFileBytes("SCORE.DAT"), FileBytes(1036, 0));

  for (const char* bad : {"", "make", "paint here", "make a b"}) EXPECT_EQ(RunDataTool(bad).exitCode, 2);
  EXPECT_EQ(RunDataTool("make BG00.DAT/inside").exitCode, 1);  // a folder it cannot make
}

// Pinned (FNV-1a): a change to any picture or sound shows here, so that it is made on purpose. The values
// hold on every machine because the tool uses integer arithmetic only.
TEST_F(DataMakerTest, MakesTheSameBytesEveryTime) {
  static constexpr std::array<uint64_t, kAssetCount> kPinned = {
      0x20d25bf2e0cbba1c, 0x751327f7d4b82be0, 0x1c40493a38d87c3c, 0x124830747d5852b3, 0xca35233753d081fc,
      0x713c7f7516507479, 0xfd6c10e5814c1abd, 0x342381c825b23a15, 0xf7780a7af8f88f55, 0x54db719dd6b41a83,
      0xd9464728efb9bdea, 0x8bb26d233f84afc0, 0x5d86fa464403c5ff, 0xc8e64b67f779e9ad, 0x3bb43c564339c8c3,
      0x9abac739141bf64c, 0x17a3c050348041f1, 0x74957ab2ef8baa64, 0x16296a8b556fd145, 0x6fddaebf13a62bc4,
      0x152222aaa7dd50dc, 0xd2c249ddb750807d, 0x875647e1501132b5, 0x5f996f2340783b5d};
  ASSERT_EQ(RunDataTool("make again/here").exitCode, 0);  // the folders are made on the way
  for (size_t i = 0; i < kAssetCount; ++i) {
    const FileBytes bytes = ReadFileBytes(AssetTable[i]);
    EXPECT_EQ(bytes, ReadFileBytes(std::string("again/here/") + AssetTable[i])) << AssetTable[i];
    uint64_t hash = 0xcbf29ce484222325;
    for (uint8_t b : bytes) hash = (hash ^ b) * 0x100000001b3;
    EXPECT_EQ(hash, kPinned[i]) << AssetTable[i] << " changed: 0x" << std::hex << hash;
  }
}

// An enemy is a creature filling a good part of its picture, on white, the colour the game keys out. The
// checker's pass on the made set holds every picture to the size the game draws from it.
TEST_F(DataMakerTest, EnemiesStandOnWhite) {
  for (int index : {kAssetEnemy01, kAssetEnemy02}) {
    const Surface s = LoadPicture(index);
    ASSERT_FALSE(s.pixels.empty()) << AssetName(index);
    EXPECT_EQ(s.pixels.front(), PackColor(255, 255, 255)) << AssetName(index);
    EXPECT_LT(std::count(s.pixels.begin(), s.pixels.end(), PackColor(255, 255, 255)), 50 * 40 * 2 / 3);
  }
}

// Each effect lasts from 50 ms to a second, starts and ends without a click, and is loud enough to hear.
TEST_F(DataMakerTest, SoundsLoadAsShortEffectsThatFadeInAndOut) {
  ASSERT_TRUE(InitSound());
  for (int index = kAssetClearWav; index <= kAssetMenu3Wav; ++index) {
    SCOPED_TRACE(AssetName(index));
    ASSERT_TRUE(LoadEffect(AssetName(index)));
    ASSERT_TRUE(EffectSize >= 11025 / 20 && EffectSize <= 11025) << EffectSize;
    EXPECT_NEAR(EffectData.front(), 128, 2);
    EXPECT_NEAR(EffectData[EffectSize - 1], 128, 2);
    const auto [low, high] = std::minmax_element(EffectData.begin(), EffectData.begin() + EffectSize);
    EXPECT_GT(*high - *low, 64);
    FreeEffect();
  }
}

// Every stage label cut from a sheet shows something, each framed panel the game draws from one reaches its
// rectangle's edges, and nothing lies outside the rectangles. The checker's pass on the made set already
// holds every rectangle and digit to showing something, and the walls and digits to their rules.
TEST_F(DataMakerTest, SheetsHoldEveryRectangleAndNothingElse) {
  for (AssetIndex sheet : {kAssetData, kAssetData2}) {
    SCOPED_TRACE(AssetName(sheet));
    const Surface s = LoadPicture(sheet);
    const auto ink = [&](int x, int y) { return s.pixels[static_cast<size_t>(y * s.width + x)] != 0; };
    const auto inkIn = [&](const Rect& r) {
      long count = 0;
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) count += ink(x, y);
      return count;
    };
    for (const Rect& r : kStageLabels) {
      EXPECT_TRUE(sheet != kAssetData2 || inkIn(r) > 40) << "an empty label at " << r.left << ", " << r.top;
    }
    long inside = 0;
    for (const auto& [asset, b, what] : kSheetRects) {
      if (asset != sheet) continue;
      ASSERT_TRUE(b.right <= s.width && b.bottom <= s.height) << what;
      inside += inkIn(b);
      if (std::strstr(what, "label") != nullptr || std::strstr(what, "digit") != nullptr) continue;  // text
      const int midX = (b.left + b.right) / 2, midY = (b.top + b.bottom) / 2;
      EXPECT_TRUE(ink(midX, b.top) && ink(midX, b.bottom - 1) && ink(b.left, midY) && ink(b.right - 1, midY))
          << what << " falls short of its rectangle";
    }
    EXPECT_EQ(inside, std::count_if(s.pixels.begin(), s.pixels.end(), [](uint16_t p) { return p != 0; }));
  }
}

}  // namespace
}  // namespace coilrun
