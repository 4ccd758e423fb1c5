// Choosing the data folder over the in-memory files: a working directory with data plays as before;
// otherwise the player's folder gets an empty score table, keeps only the player's own files and becomes
// the working directory, and what it lacks is read from the installed data.
#include "app/data_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/assets.h"
#include "devices/data_file.h"
#include "platform/memory/memory_data_dir.h"
#include "platform/memory/memory_files.h"
#include "test_support.h"

namespace coilrun {
namespace {

constexpr const char* kInstalled = "/usr/share/coilrun";
constexpr const char* kPlayer = "/home/p/.local/share/coilrun";

std::vector<uint8_t> Bytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

// What the game reads as a data file now.
std::string DataFile(const char* name) {
  std::vector<uint8_t> bytes;
  if (!ReadDataFile(name, 1000, &bytes)) return "failed: " + DataFileFailure(name);
  return std::string(bytes.begin(), bytes.end());
}

// Installed data of every asset, each file holding "installed NAME"; the game started from the root.
class DataDirTest : public MemoryDeviceTest {
 protected:
  void SetUp() override {
    MemoryDeviceTest::SetUp();
    MemoryMakeFolder(kInstalled);
    for (const char* name : AssetTable) {
      MemoryPutFile(std::string(kInstalled) + "/" + name, Bytes(std::string("installed ") + name));
    }
    MemorySetInstalledDataDirectory(kInstalled);
    MemorySetPlayerDataDirectory(kPlayer);
  }
  void TearDown() override {
    MemorySetInstalledDataDirectory(nullptr);
    MemorySetPlayerDataDirectory(nullptr);
    SetDataFallbackFolder("");
    MemoryDeviceTest::TearDown();
  }
  static std::string Player(const char* name) { return std::string(kPlayer) + "/" + name; }
  static std::string Installed(const char* name) { return std::string(kInstalled) + "/" + name; }

  std::string error_;
};

TEST_F(DataDirTest, AFirstRunMakesTheFolderAndAnEmptyTableMovesThereAndReadsTheInstalledData) {
  ASSERT_TRUE(ChooseDataDirectory(&error_)) << error_;
  EXPECT_EQ(MemoryWorkingFolder(), kPlayer);
  EXPECT_EQ(MemoryFileBytes(Player("SCORE.DAT")), std::vector<uint8_t>(1036, 0));
  for (const char* name : AssetTable) EXPECT_FALSE(MemoryFileExists(Player(name))) << name;
  EXPECT_EQ(DataFile("BG03.DAT"), "installed BG03.DAT");
  // A second run finds everything in place and changes nothing.
  MemorySetPlayerDataDirectory("/elsewhere");
  MemoryPutFile(Player("SCORE.DAT"), Bytes("scores"));
  ASSERT_TRUE(ChooseDataDirectory(&error_)) << error_;
  MemorySetPlayerDataDirectory(kPlayer);
  ASSERT_TRUE(ChooseDataDirectory(&error_)) << error_;
  EXPECT_EQ(MemoryFileBytes(Player("SCORE.DAT")), Bytes("scores"));
}

// The links earlier versions made to the installed file of the same name are removed; a player's own file,
// a player's link to a file of theirs or to another installed picture, and a link to nothing are kept.
// A file the player put there is played; a link to nothing counts as no file.
TEST_F(DataDirTest, OnlyTheLinksTheGameMadeAreRemovedAndThePlayersFilesAndLinksArePlayed) {
  MemoryMakeFolder(kPlayer);
  MemoryPutLink(Player("LOGO.DAT"), Installed("LOGO.DAT"));
  MemoryPutLink(Player("MENU1.WAV"), std::string(kInstalled) + "/./MENU1.WAV");
  MemoryPutFile(Player("MENU.DAT"), Bytes("my menu"));
  MemoryPutFile("/home/p/my-bg.bmp", Bytes("my background"));
  MemoryPutLink(Player("BG00.DAT"), "../../../my-bg.bmp");
  MemoryPutLink(Player("BG01.DAT"), Installed("BG04.DAT"));
  MemoryPutLink(Player("BG02.DAT"), "/old-install/BG02.DAT");
  ASSERT_TRUE(ChooseDataDirectory(&error_)) << error_;
  EXPECT_FALSE(MemoryFileExists(Player("LOGO.DAT")));
  EXPECT_FALSE(MemoryFileExists(Player("MENU1.WAV")));
  EXPECT_EQ(MemoryLinkTarget(Player("BG00.DAT")), "../../../my-bg.bmp");
  EXPECT_EQ(MemoryLinkTarget(Player("BG01.DAT")), Installed("BG04.DAT"));
  EXPECT_EQ(MemoryLinkTarget(Player("BG02.DAT")), "/old-install/BG02.DAT");
  EXPECT_EQ(DataFile("MENU.DAT"), "my menu");
  EXPECT_EQ(DataFile("BG00.DAT"), "my background");
  EXPECT_EQ(DataFile("BG01.DAT"), "installed BG04.DAT");
  EXPECT_EQ(DataFile("BG02.DAT"), "installed BG02.DAT");
  EXPECT_EQ(DataFile("LOGO.DAT"), "installed LOGO.DAT");
}

// Data in the working directory, or no installed data, and the game plays where it was started.
TEST_F(DataDirTest, WithDataHereOrNoneInstalledNothingChanges) {
  MemoryPutFile("LOGO.DAT", Bytes("here"));
  ASSERT_TRUE(ChooseDataDirectory(&error_));
  MemoryRemoveFile("LOGO.DAT");
  MemoryRemoveFile(Installed("LOGO.DAT"));
  ASSERT_TRUE(ChooseDataDirectory(&error_));
  MemorySetInstalledDataDirectory(nullptr);
  ASSERT_TRUE(ChooseDataDirectory(&error_));
  EXPECT_EQ(MemoryWorkingFolder(), "");
  EXPECT_FALSE(MemoryFolderExists(kPlayer));
  EXPECT_EQ(DataFile("BG00.DAT"), "failed: no such file in the in-memory folder");
}

// Each step of the set-up that fails is said with the name it failed on, and the game stays where it was
// started, reading nothing from the installed data; no platform's player's folder, likewise.
TEST_F(DataDirTest, EachFailedStepIsSaidWithItsNameAndLeavesTheWorkingFolderAlone) {
  for (const char* start : {"make-folder", "remove-link", "create", "change-folder"}) {
    SCOPED_TRACE(start);
    MemoryResetFiles();
    SetUp();
    MemoryMakeFolder(kPlayer);
    MemoryPutLink(Player("LOGO.DAT"), Installed("LOGO.DAT"));
    MemoryFailFileOperation(start);
    EXPECT_FALSE(ChooseDataDirectory(&error_));
    EXPECT_EQ(error_.rfind(kPlayer, 0), 0u) << error_;
    EXPECT_NE(error_.find(": Input/output error"), std::string::npos) << error_;
    EXPECT_EQ(MemoryWorkingFolder(), "");
    EXPECT_EQ(DataFile("BG00.DAT"), "failed: no such file in the in-memory folder");
  }
  MemorySetPlayerDataDirectory(nullptr);
  EXPECT_FALSE(ChooseDataDirectory(&error_));
  EXPECT_EQ(error_, "the in-memory platform names no player's folder");
  // A file where the folder should be.
  MemorySetPlayerDataDirectory(kPlayer);
  MemoryResetFiles();
  SetUp();
  MemoryPutFile("/home/p/.local", Bytes("a file"));
  EXPECT_FALSE(ChooseDataDirectory(&error_));
  EXPECT_EQ(error_, std::string(kPlayer) + ": File exists");
}

}  // namespace
}  // namespace coilrun
