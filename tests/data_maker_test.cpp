// The default data set: every file made, in the formats the game reads, the same bytes on every run, and
// pictures that hold what the game draws from them.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/assets.h"
#include "data_support.h"

namespace coilrun {
namespace {

uint64_t Fnv1a64(const FileBytes& bytes) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (uint8_t b : bytes) hash = (hash ^ b) * 0x100000001b3ull;
  return hash;
}

bool IsPcx(int index) {
  return index == kAssetData || index == kAssetData2 || index == kAssetLogo ||
         (index >= kAssetStage00 && index < kAssetStage00 + kStageCount);
}

// One made data set shared by the tests that only read it.
class MadeData : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new TempFolder();
    const ToolRun run = RunDataTool("make " + folder_->Path());
    ASSERT_EQ(run.exitCode, 0) << run.output;
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  static FileBytes Read(const char* name) { return ReadWholeFile(folder_->File(name)); }
  static FileBytes Read(int index) { return Read(AssetTable[static_cast<size_t>(index)]); }
  static TempFolder* folder_;
};
TempFolder* MadeData::folder_ = nullptr;

bool Contains(const Rect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

TEST(DataMakerTest, WritesEveryFileAndAnEmptyScoreTable) {
  TempFolder folder;
  const std::string fresh = folder.File("new/data");  // made on the way
  const ToolRun run = RunDataTool("make " + fresh);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output, "");
  for (const char* name : AssetTable) EXPECT_GT(std::filesystem::file_size(fresh + "/" + name), 0u) << name;
  EXPECT_EQ(ReadWholeFile(fresh + "/SCORE.DAT"), FileBytes(1036, 0));
}

TEST(DataMakerTest, KeepsAPlayersScoresUnlessAskedToReset) {
  TempFolder folder;
  ASSERT_EQ(RunDataTool("make " + folder.Path()).exitCode, 0);
  FileBytes scores(1036, 0);
  scores[16] = 0x39;  // a first place of 12345
  scores[17] = 0x30;
  WriteWholeFile(folder.File("SCORE.DAT"), scores);
  std::filesystem::remove(folder.File("EAT.WAV"));

  ASSERT_EQ(RunDataTool("make " + folder.Path()).exitCode, 0);
  EXPECT_EQ(ReadWholeFile(folder.File("SCORE.DAT")), scores);
  EXPECT_TRUE(std::filesystem::exists(folder.File("EAT.WAV")));

  ASSERT_EQ(RunDataTool("make --reset-scores " + folder.Path()).exitCode, 0);
  EXPECT_EQ(ReadWholeFile(folder.File("SCORE.DAT")), FileBytes(1036, 0));
}

TEST(DataMakerTest, RefusesBadCommandsAndUnwritableFolders) {
  EXPECT_EQ(RunDataTool("").exitCode, 2);
  EXPECT_EQ(RunDataTool("make").exitCode, 2);
  EXPECT_EQ(RunDataTool("paint here").exitCode, 2);
  TempFolder folder;
  WriteWholeFile(folder.File("plain-file"), {1, 2, 3});
  const ToolRun run = RunDataTool("make " + folder.File("plain-file"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("plain-file"), std::string::npos) << run.output;
}

// Pinned: a change to any picture or sound shows here, so that it is made on purpose. The values hold on
// every machine because the tool uses integer arithmetic only.
TEST(DataMakerTest, MakesTheSameBytesEveryTime) {
  static const std::map<std::string, uint64_t> kPinned = {
      {"BG00.DAT", 0x20d25bf2e0cbba1cull},    {"BG01.DAT", 0x751327f7d4b82be0ull},
      {"BG02.DAT", 0x1c40493a38d87c3cull},    {"BG03.DAT", 0x124830747d5852b3ull},
      {"BG04.DAT", 0xca35233753d081fcull},    {"BG05.DAT", 0x713c7f7516507479ull},
      {"DATA.DAT", 0xfd6c10e5814c1abdull},    {"DATA2.DAT", 0x342381c825b23a15ull},
      {"ENEMY01.DAT", 0xf7780a7af8f88f55ull}, {"ENEMY02.DAT", 0x54db719dd6b41a83ull},
      {"LOGO.DAT", 0xd9464728efb9bdeaull},    {"MENU.DAT", 0x8bb26d233f84afc0ull},
      {"STAGE00.DAT", 0x5d86fa464403c5ffull}, {"STAGE01.DAT", 0xc8e64b67f779e9adull},
      {"STAGE02.DAT", 0x3bb43c564339c8c3ull}, {"STAGE03.DAT", 0x9abac739141bf64cull},
      {"STAGE04.DAT", 0x17a3c050348041f1ull}, {"STAGE05.DAT", 0x74957ab2ef8baa64ull},
      {"CLEAR.WAV", 0x16296a8b556fd145ull},   {"DIE.WAV", 0x6fddaebf13a62bc4ull},
      {"EAT.WAV", 0x152222aaa7dd50dcull},     {"MENU1.WAV", 0xd2c249ddb750807dull},
      {"MENU2.WAV", 0x875647e1501132b5ull},   {"MENU3.WAV", 0x5f996f2340783b5dull},
  };
  TempFolder first, second;
  ASSERT_EQ(RunDataTool("make " + first.Path()).exitCode, 0);
  ASSERT_EQ(RunDataTool("make " + second.Path()).exitCode, 0);
  for (const char* name : AssetTable) {
    const FileBytes bytes = ReadWholeFile(first.File(name));
    EXPECT_EQ(bytes, ReadWholeFile(second.File(name))) << name;
    const auto pinned = kPinned.find(name);
    ASSERT_NE(pinned, kPinned.end()) << name;
    EXPECT_EQ(Fnv1a64(bytes), pinned->second) << name << " changed: 0x" << std::hex << Fnv1a64(bytes);
  }
}

TEST_F(MadeData, PcxPicturesAreCodedAsTheGameReadsThem) {
  for (int index = 0; index < kAssetCount; ++index) {
    if (!IsPcx(index)) continue;
    SCOPED_TRACE(AssetTable[static_cast<size_t>(index)]);
    const Decoded picture = DecodePcx(Read(index));
    EXPECT_EQ(picture.width % 2, 0);
    if (index != kAssetData2) {
      EXPECT_EQ(picture.width, 640);
      EXPECT_EQ(picture.height, 480);
    }
  }
}

TEST_F(MadeData, BitmapsComeInBothVariants) {
  for (int stage = 0; stage < kStageCount; ++stage) {
    const FileBytes bytes = Read(kAssetBg00 + stage);
    EXPECT_EQ(Le16(bytes, 28), 24u);
    EXPECT_EQ(Le32(bytes, 18), 640u);
    EXPECT_EQ(Le32(bytes, 22), 480u);
  }
  for (int index : {kAssetMenu, kAssetEnemy01, kAssetEnemy02}) {
    EXPECT_EQ(Le16(Read(index), 28), 8u) << AssetTable[static_cast<size_t>(index)];
  }
  EXPECT_EQ(Le32(Read(kAssetEnemy01), 18), static_cast<uint32_t>(kEnemyWidth));
  EXPECT_EQ(Le32(Read(kAssetEnemy02), 22), static_cast<uint32_t>(kEnemyHeight));
}

TEST_F(MadeData, SoundsAreShortCleanEightBitMonoWaves) {
  for (int index = kAssetClearWav; index <= kAssetMenu3Wav; ++index) {
    SCOPED_TRACE(AssetTable[static_cast<size_t>(index)]);
    const FileBytes b = Read(index);
    ASSERT_GT(b.size(), 44u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(Le32(b, 4), b.size() - 8);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Le32(b, 16), 16u);
    EXPECT_EQ(Le16(b, 20), 1u);      // PCM
    EXPECT_EQ(Le16(b, 22), 1u);      // mono
    EXPECT_EQ(Le32(b, 24), 11025u);  // samples per second
    EXPECT_EQ(Le16(b, 34), 8u);      // bits per sample
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    const uint32_t count = Le32(b, 40);
    EXPECT_GE(count, 11025u / 20);  // between 50 ms
    EXPECT_LE(count, 11025u);       // and one second
    // Fading in and out: no click at either end, and loud enough to hear in between.
    EXPECT_NEAR(b.at(44), 128, 2);
    EXPECT_NEAR(b.at(44 + count - 1), 128, 2);
    const auto [low, high] = std::minmax_element(b.begin() + 44, b.begin() + 44 + count);
    EXPECT_GT(*high - *low, 64);
  }
}

// Every rectangle the game draws from a sheet shows something, and nothing lies outside them; no colour that
// is meant to show packs to black, the sheets' transparent colour.
TEST_F(MadeData, SheetsHoldEveryRectangleAndNothingElse) {
  for (AssetIndex sheet : {kAssetData, kAssetData2}) {
    SCOPED_TRACE(AssetTable[sheet]);
    const Decoded picture = DecodePcx(Read(sheet));
    std::vector<Rect> rects;
    for (const AssetRect& r : kSheetRects) {
      if (r.asset != sheet) continue;
      ASSERT_LE(r.rect.right, picture.width) << r.what;
      ASSERT_LE(r.rect.bottom, picture.height) << r.what;
      rects.push_back(r.rect);
    }
    if (sheet == kAssetData) {
      for (int d = 0; d < 10; ++d) {
        rects.push_back({kDigitCut.left + d * kDigitStride, kDigitCut.top, kDigitCut.right + d * kDigitStride,
                         kDigitCut.bottom});
      }
      rects.erase(rects.begin() + 4);  // the span of all digits gives way to the ten cells
    } else {
      rects.erase(rects.begin());  // the cut region gives way to the six labels
      rects.insert(rects.end(), kStageLabels.begin(), kStageLabels.end());
    }
    std::vector<int> inked(rects.size(), 0);
    for (int y = 0; y < picture.height; ++y) {
      for (int x = 0; x < picture.width; ++x) {
        const Colour c = picture.At(x, y);
        if (c == Colour{0, 0, 0}) continue;
        ASSERT_NE(Pack565(c), 0) << "a visible colour packs to black at " << x << ", " << y;
        bool inside = false;
        for (size_t i = 0; i < rects.size(); ++i) {
          if (Contains(rects[i], x, y)) {
            inside = true;
            ++inked[i];
          }
        }
        ASSERT_TRUE(inside) << "a pixel outside every rectangle at " << x << ", " << y;
      }
    }
    for (size_t i = 0; i < rects.size(); ++i)
      EXPECT_GT(inked[i], 40) << "rectangle " << i << " is nearly empty";
  }
}

TEST_F(MadeData, EnemiesStandOnPureWhiteAndNoWhiteIsInside) {
  for (AssetIndex enemy : {kAssetEnemy01, kAssetEnemy02}) {
    SCOPED_TRACE(AssetTable[enemy]);
    const Decoded picture = DecodeBitmap(Read(enemy));
    for (auto [x, y] : {std::pair{0, 0}, {49, 0}, {0, 39}, {49, 39}})
      EXPECT_EQ(picture.At(x, y), (Colour{255, 255, 255}));
    int creature = 0;
    for (const Colour& c : picture.pixels) {
      if (c == Colour{255, 255, 255}) continue;
      ++creature;
      EXPECT_NE(Pack565(c), kWhite565) << "a near-white that would turn transparent";
      EXPECT_NE(Pack565(c), kBody565);
    }
    EXPECT_GT(creature, kEnemyWidth * kEnemyHeight / 3);
  }
}

// Walls are the only pixels of the body colour, exactly (51, 102, 255), at least 16 pixels thick across
// and down, from the third stage on, and clear of the start's straight run.
TEST_F(MadeData, OnlyThickWallsHaveTheBodyColour) {
  for (int stage = 0; stage < kStageCount; ++stage) {
    SCOPED_TRACE(AssetTable[static_cast<size_t>(kAssetBg00 + stage)]);
    const Decoded picture = DecodeBitmap(Read(kAssetBg00 + stage));
    const auto isBody = [&](int x, int y) {
      return x >= 0 && y >= 0 && x < 640 && y < 480 && Pack565(picture.At(x, y)) == kBody565;
    };
    int count = 0;
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) {
        if (!isBody(x, y)) continue;
        ++count;
        ASSERT_EQ(picture.At(x, y), (Colour{51, 102, 255})) << x << ", " << y;
        if (!isBody(x - 1, y)) {
          int run = 0;
          while (isBody(x + run, y)) ++run;
          ASSERT_GE(run, 16) << "a thin wall across at " << x << ", " << y;
        }
        if (!isBody(x, y - 1)) {
          int run = 0;
          while (isBody(x, y + run)) ++run;
          ASSERT_GE(run, 16) << "a thin wall down at " << x << ", " << y;
        }
        EXPECT_FALSE(y >= 240 && y < 252 && x >= 320 && x < 532)
            << "a wall in the start run at " << x << ", " << y;
      }
    }
    if (stage < 2) {
      EXPECT_EQ(count, 0);
    } else {
      EXPECT_GT(count, 16 * 16 * 4);
    }
  }
}

}  // namespace
}  // namespace coilrun
