// The default data set: every file made, the same bytes on every run, and a player's scores kept.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "data_support.h"

namespace coilrun {
namespace {

using DataMakerTest = MadeDataTest;

TEST_F(DataMakerTest, KeepsAPlayersScoresUnlessAskedToResetAndRefusesWhatItCannotDo) {
  EXPECT_EQ(ReadFileBytes("SCORE.DAT"), FileBytes(kScoreFileSize, 0));
  WriteFileBytes("SCORE.DAT", FileBytes(kScoreFileSize, 0x30));  // a player's table
  std::filesystem::remove("EAT.WAV");
  EXPECT_EQ(RunDataTool("make .").output, "");
  EXPECT_EQ(ReadFileBytes("SCORE.DAT"), FileBytes(kScoreFileSize, 0x30));
  EXPECT_TRUE(std::filesystem::exists("EAT.WAV"));
  ASSERT_EQ(RunDataTool("make --reset-scores .").exitCode, 0);
  EXPECT_EQ(ReadFileBytes("SCORE.DAT"), FileBytes(kScoreFileSize, 0));

  for (const char* bad : {"", "make", "paint here", "make a b"}) EXPECT_EQ(RunDataTool(bad).exitCode, 2);
  EXPECT_EQ(RunDataTool("make BG00.DAT/inside").exitCode, 1);  // a folder it cannot make
}

// The browser's page loads the files that the manifest names, and checks each one's size against it.
TEST_F(DataMakerTest, WritesAManifestOfTheDataFilesThatAFolderHolds) {
  std::string expected = "{\"files\": [";
  for (size_t i = 0; i < kAssetCount; ++i) {
    expected += std::string(i == 0 ? "\n" : ",\n") + "  {\"name\": \"" + AssetTable[i] + "\", \"size\": " +
                std::to_string(ReadFileBytes(AssetTable[i]).size()) + "}";
  }
  expected += "\n],\n\"scores\": {\"name\": \"SCORE.DAT\", \"size\": 1036}}\n";
  const FileBytes manifest = ReadFileBytes("files.json");
  EXPECT_EQ(std::string(manifest.begin(), manifest.end()), expected);

  std::filesystem::remove("MENU2.WAV");
  const ToolRun run = RunDataTool("manifest .");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("MENU2.WAV"), std::string::npos) << run.output;
  EXPECT_EQ(RunDataTool("manifest").exitCode, 2);
}

// Pinned (FNV-1a): a change to any picture or sound shows here, so that it is made on purpose. The values
// hold on every machine because the tool uses integer arithmetic only.
TEST_F(DataMakerTest, MakesTheSameBytesEveryTime) {
  static constexpr std::array<uint64_t, kAssetCount> kPinned = {
      0x20d25bf2e0cbba1c, 0x751327f7d4b82be0, 0x1c40493a38d87c3c, 0x124830747d5852b3, 0xca35233753d081fc,
      0x713c7f7516507479, 0xbf338ef3d941946a, 0x342381c825b23a15, 0xf7780a7af8f88f55, 0x54db719dd6b41a83,
      0xd9464728efb9bdea, 0x8bb26d233f84afc0, 0x5d86fa464403c5ff, 0xc8e64b67f779e9ad, 0x3bb43c564339c8c3,
      0x9abac739141bf64c, 0x17a3c050348041f1, 0xb93b67107febd320, 0x16296a8b556fd145, 0x6fddaebf13a62bc4,
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

}  // namespace
}  // namespace coilrun
