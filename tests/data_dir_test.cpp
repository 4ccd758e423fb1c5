// Choosing the data folder: a working directory with data plays as before; otherwise the installed data is
// linked into the player's folder, which gets an empty score table and becomes the working directory.
#include "app/data_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "content/assets.h"
#include "file_bytes.h"
#include "game_data.h"
#include "platform/memory/memory_data_dir.h"
#include "scratch_folder.h"
#include "test_support.h"

namespace coilrun {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& text) {
  WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

// Sets a variable of the environment, or unsets it when `value` is null.
void SetEnv(const char* name, const char* value) {
  if (value != nullptr) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
}

// Installed data in root/installed, started from the empty root/elsewhere, the player's folder in root/xdg.
// HOME and XDG_DATA_HOME are put back as they were after each test.
class DataDirTest : public MemoryDeviceTest {
 protected:
  void SetUp() override {
    MemoryDeviceTest::SetUp();
    for (const char* name : {"HOME", "XDG_DATA_HOME"}) {
      const char* value = std::getenv(name);
      savedEnv_.emplace_back(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
    }
    scratch_.Enter("coilrun-datadir");
    root_ = scratch_.Path();
    fs::create_directories(root_ / "installed");
    fs::create_directories(root_ / "elsewhere");
    WriteGameData(root_ / "installed", false);
    MemorySetInstalledDataDirectory((root_ / "installed").c_str());
    SetEnv("XDG_DATA_HOME", (root_ / "xdg").c_str());
    fs::current_path(root_ / "elsewhere");
  }
  void TearDown() override {
    for (const auto& [name, value] : savedEnv_) SetEnv(name, value ? value->c_str() : nullptr);
    scratch_.Leave();
    MemorySetInstalledDataDirectory(nullptr);
    MemoryDeviceTest::TearDown();
  }
  fs::path Folder() const { return root_ / "xdg" / "coilrun"; }

  std::vector<std::pair<const char*, std::optional<std::string>>> savedEnv_;
  ScratchFolder scratch_;
  fs::path root_;
  std::string error_;
};

TEST_F(DataDirTest, ALaterRunKeepsTheScoresAndThePlayersOwnFilesAndMendsLinksThatPointElsewhere) {
  fs::create_directories(Folder());
  Write(Folder() / "SCORE.DAT", "the player's scores");
  Write(Folder() / "MENU.DAT", "the player's own menu");
  fs::create_symlink(root_ / "old-install" / "BG00.DAT", Folder() / "BG00.DAT");
  ASSERT_TRUE(ChooseDataDirectory(&error_)) << error_;
  EXPECT_EQ(ReadFileBytes(Folder() / "SCORE.DAT").size(), 19u);
  EXPECT_FALSE(fs::is_symlink(Folder() / "MENU.DAT"));
  EXPECT_EQ(ReadFileBytes(Folder() / "MENU.DAT").size(), 21u);
  EXPECT_EQ(fs::read_symlink(Folder() / "BG00.DAT"), root_ / "installed" / "BG00.DAT");
}

// Data in the working directory, or no installed data to link, and the game plays where it was started.
TEST_F(DataDirTest, WithDataHereOrNoneInstalledNothingChanges) {
  Write("LOGO.DAT", "");
  ASSERT_TRUE(ChooseDataDirectory(&error_));
  fs::remove("LOGO.DAT");
  MemorySetInstalledDataDirectory(nullptr);
  ASSERT_TRUE(ChooseDataDirectory(&error_));
  fs::remove(root_ / "installed" / "LOGO.DAT");
  MemorySetInstalledDataDirectory((root_ / "installed").c_str());
  ASSERT_TRUE(ChooseDataDirectory(&error_));
  EXPECT_EQ(fs::current_path(), root_ / "elsewhere");
  EXPECT_FALSE(fs::exists(root_ / "xdg"));
}

TEST_F(DataDirTest, TheFolderFallsBackToHomeWhenXdgDataHomeIsUnsetOrRelativeAndFailsWithoutHome) {
  SetEnv("HOME", (root_ / "home").c_str());
  for (const char* xdgValue : {"relative/path", "", static_cast<const char*>(nullptr)}) {
    SetEnv("XDG_DATA_HOME", xdgValue);
    EXPECT_EQ(PlayerDataDirectory(), (root_ / "home" / ".local" / "share" / "coilrun").string());
  }
  ASSERT_TRUE(ChooseDataDirectory(&error_)) << error_;
  EXPECT_EQ(fs::current_path(), root_ / "home" / ".local" / "share" / "coilrun");
  fs::current_path(root_ / "elsewhere");
  SetEnv("HOME", nullptr);
  EXPECT_EQ(PlayerDataDirectory(), "");
  EXPECT_FALSE(ChooseDataDirectory(&error_));
  EXPECT_NE(error_.find("HOME"), std::string::npos) << error_;
}

TEST_F(DataDirTest, AFolderThatCannotBeMadeIsReportedAndTheWorkingDirectoryKept) {
  Write(root_ / "a-file", "");
  SetEnv("XDG_DATA_HOME", (root_ / "a-file").c_str());
  EXPECT_FALSE(ChooseDataDirectory(&error_));
  EXPECT_NE(error_.find("a-file"), std::string::npos) << error_;
  EXPECT_EQ(fs::current_path(), root_ / "elsewhere");
}

}  // namespace
}  // namespace coilrun
