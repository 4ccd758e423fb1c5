// Choosing the data folder: a working directory with data plays as before; otherwise the installed data is
// linked into the player's folder, which gets an empty score table and becomes the working directory.
#include "app/data_dir.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/assets.h"
#include "app/entry.h"
#include "devices/keyboard.h"
#include "game_data.h"
#include "platform/memory/memory_data_dir.h"
#include "platform/memory/memory_keyboard.h"
#include "test_support.h"

namespace coilrun {
namespace {

namespace fs = std::filesystem;

std::vector<char> Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// An environment variable set for the length of a test, and put back as it was.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class DataDirTest : public MemoryDeviceTest {
 protected:
  void SetUp() override {
    MemoryDeviceTest::SetUp();
    old_ = fs::current_path();
    root_ = fs::temp_directory_path() / ("coilrun-datadir-" + std::to_string(getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "installed");
    fs::create_directories(root_ / "elsewhere");
    WriteGameData(root_ / "installed", false);
    MemorySetInstalledDataDirectory((root_ / "installed").c_str());
    fs::current_path(root_ / "elsewhere");
  }
  void TearDown() override {
    fs::current_path(old_);
    fs::remove_all(root_);
    MemorySetInstalledDataDirectory(nullptr);
    MemoryDeviceTest::TearDown();
  }
  fs::path Folder() const { return root_ / "xdg" / "coilrun"; }

  fs::path old_;
  fs::path root_;
};

TEST_F(DataDirTest, TheFirstRunLinksEveryInstalledFileAndStartsAnEmptyScoreTable) {
  ScopedEnv xdg("XDG_DATA_HOME", (root_ / "xdg").c_str());
  std::string error;
  ASSERT_TRUE(ChooseDataDirectory(&error)) << error;
  EXPECT_EQ(fs::current_path(), Folder());
  for (const char* name : AssetTable) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(fs::is_symlink(Folder() / name));
    EXPECT_EQ(fs::read_symlink(Folder() / name), root_ / "installed" / name);
  }
  ASSERT_TRUE(fs::is_regular_file(Folder() / "SCORE.DAT"));
  EXPECT_EQ(Bytes(Folder() / "SCORE.DAT"), std::vector<char>(1036, 0));
  // Nothing was written into the installed data.
  EXPECT_FALSE(fs::exists(root_ / "installed" / "SCORE.DAT"));
}

TEST_F(DataDirTest, ALaterRunKeepsTheScoresAndThePlayersOwnFilesAndMendsLinksThatPointElsewhere) {
  ScopedEnv xdg("XDG_DATA_HOME", (root_ / "xdg").c_str());
  fs::create_directories(Folder());
  Write(Folder() / "SCORE.DAT", "the player's scores");
  Write(Folder() / "MENU.DAT", "the player's own menu");
  fs::create_symlink(root_ / "old-install" / "BG00.DAT", Folder() / "BG00.DAT");
  std::string error;
  ASSERT_TRUE(ChooseDataDirectory(&error)) << error;
  EXPECT_EQ(std::string(Bytes(Folder() / "SCORE.DAT").data(), 19), "the player's scores");
  EXPECT_FALSE(fs::is_symlink(Folder() / "MENU.DAT"));
  EXPECT_EQ(Bytes(Folder() / "MENU.DAT").size(), 21u);
  EXPECT_EQ(fs::read_symlink(Folder() / "BG00.DAT"), root_ / "installed" / "BG00.DAT");
}

TEST_F(DataDirTest, AWorkingDirectoryWithDataIsUsedAsItIs) {
  ScopedEnv xdg("XDG_DATA_HOME", (root_ / "xdg").c_str());
  Write("LOGO.DAT", "");
  std::string error;
  ASSERT_TRUE(ChooseDataDirectory(&error));
  EXPECT_EQ(fs::current_path(), root_ / "elsewhere");
  EXPECT_FALSE(fs::exists(root_ / "xdg"));
}

TEST_F(DataDirTest, WithoutInstalledDataNothingChanges) {
  ScopedEnv xdg("XDG_DATA_HOME", (root_ / "xdg").c_str());
  std::string error;
  MemorySetInstalledDataDirectory(nullptr);
  ASSERT_TRUE(ChooseDataDirectory(&error));
  fs::remove(root_ / "installed" / "LOGO.DAT");
  MemorySetInstalledDataDirectory((root_ / "installed").c_str());
  ASSERT_TRUE(ChooseDataDirectory(&error));
  EXPECT_EQ(fs::current_path(), root_ / "elsewhere");
  EXPECT_FALSE(fs::exists(root_ / "xdg"));
}

TEST_F(DataDirTest, TheFolderFallsBackToHomeWhenXdgDataHomeIsUnsetOrRelative) {
  ScopedEnv home("HOME", (root_ / "home").c_str());
  for (const char* xdgValue : {static_cast<const char*>(nullptr), "relative/path", ""}) {
    ScopedEnv xdg("XDG_DATA_HOME", xdgValue);
    EXPECT_EQ(PlayerDataDirectory(), (root_ / "home" / ".local" / "share" / "coilrun").string());
  }
  ScopedEnv xdg("XDG_DATA_HOME", nullptr);
  std::string error;
  ASSERT_TRUE(ChooseDataDirectory(&error)) << error;
  EXPECT_EQ(fs::current_path(), root_ / "home" / ".local" / "share" / "coilrun");
  ScopedEnv noHome("HOME", nullptr);
  EXPECT_EQ(PlayerDataDirectory(), "");
}

TEST_F(DataDirTest, AFolderThatCannotBeMadeIsReportedAndTheWorkingDirectoryKept) {
  Write(root_ / "a-file", "");
  ScopedEnv xdg("XDG_DATA_HOME", (root_ / "a-file").c_str());
  std::string error;
  EXPECT_FALSE(ChooseDataDirectory(&error));
  EXPECT_NE(error.find("a-file"), std::string::npos) << error;
  EXPECT_EQ(fs::current_path(), root_ / "elsewhere");
  ScopedEnv noHome("HOME", nullptr);
  ScopedEnv noXdg("XDG_DATA_HOME", nullptr);
  EXPECT_FALSE(ChooseDataDirectory(&error));
  EXPECT_NE(error.find("HOME"), std::string::npos) << error;
}

// Started from a folder without data, the whole game runs on the installed data and leaves its scores in
// the player's folder.
TEST_F(DataDirTest, TheGameStartedAnywhereRunsOnTheInstalledData) {
  ScopedEnv xdg("XDG_DATA_HOME", (root_ / "xdg").c_str());
  MemorySetKeyPlayer([](uint64_t) { return std::vector<uint8_t>{kKeyUp, kKeyReturn}; });
  char name[] = "coilrun";
  char* argv[] = {name, nullptr};
  EXPECT_EQ(RunCoilrun(1, argv), 0);
  MemorySetKeyPlayer(nullptr);
  EXPECT_EQ(fs::current_path(), Folder());
  EXPECT_TRUE(fs::exists(Folder() / "SCORE.DAT"));
  EXPECT_TRUE(fs::is_empty(root_ / "elsewhere"));
}

}  // namespace
}  // namespace coilrun
