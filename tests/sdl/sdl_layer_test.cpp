// The SDL device layer on SDL's dummy drivers: screenshots as PNG files, the key table, controllers as keys,
// where the installed data is looked for, and SCORE.DAT and data files on a real disk.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/data_dir.h"
#include "app/logic_reset.h"
#include "content/assets.h"
#include "devices/data_dir_device.h"
#include "devices/failure.h"
#include "devices/file_device.h"
#include "devices/key_names.h"
#include "devices/keyboard.h"
#include "display/display.h"
#include "file_bytes.h"
#include "game/score_table.h"
#include "images/images.h"
#include "platform/common/key_names.h"
#include "platform/common/rgb565.h"
#include "platform/sdl/screenshot_png.h"
#include "platform/sdl/sdl_keymap.h"
#include "platform/sdl/sdl_platform.h"
#include "scratch_folder.h"

namespace coilrun {
namespace {

namespace fs = std::filesystem;

// Each test in a scratch folder of its own, made the working directory.
class ScratchFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLogicState();
    scratch_.Enter("coilrun-sdl");
  }
  void TearDown() override {
    scratch_.Leave();
    ResetLogicState();
  }
  ScratchFolder scratch_;
};

// A PNG file read back as 8-bit RGB; empty unless it is `width` by `height`.
std::vector<uint8_t> DecodePng(const fs::path& path, png_uint_32 width, png_uint_32 height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) return {};
  if (image.width != width || image.height != height) return {};
  return rgb;
}

std::vector<uint8_t> Widened(const std::vector<uint16_t>& pixels) {
  std::vector<uint8_t> rgb;
  for (uint16_t p : pixels) {
    rgb.push_back(Red565(p));
    rgb.push_back(Green565(p));
    rgb.push_back(Blue565(p));
  }
  return rgb;
}

using PngFile = ScratchFolderTest;

TEST_F(PngFile, NeverReplacesAFileAndAFailedWriteSaysWhyAndLeavesNothing) {
  const std::vector<uint16_t> frame(640 * 480, 0x1234);
  std::ofstream("shot.png") << "somebody's file";
  std::string saved;
  std::string error;
  EXPECT_FALSE(WritePngRgb565("shot.png", frame.data(), 640, 480, &error));
  EXPECT_NE(error.find("shot.png"), std::string::npos);
  ASSERT_TRUE(SavePngBesideOthers("shot", frame.data(), 640, 480, &saved, &error)) << error;
  EXPECT_EQ(saved, "shot-1.png");
  ASSERT_TRUE(SavePngBesideOthers("shot", frame.data(), 640, 480, &saved, &error)) << error;
  EXPECT_EQ(saved, "shot-2.png");
  EXPECT_EQ(fs::file_size("shot.png"), std::string("somebody's file").size());
  EXPECT_EQ(DecodePng("shot-2.png", 640, 480), Widened(frame));
  EXPECT_FALSE(SavePngBesideOthers("no-such-folder/shot", frame.data(), 4, 4, &saved, &error));
  EXPECT_NE(error.find("no-such-folder/shot.png"), std::string::npos) << error;
  EXPECT_FALSE(WritePngRgb565("empty.png", frame.data(), 0, 4, &error));
  EXPECT_FALSE(fs::exists("empty.png"));
}

// The display and keyboard up on the dummy drivers, for one test.
class SdlLayer : public ScratchFolderTest {
 protected:
  void SetUp() override {
    ScratchFolderTest::SetUp();
    ASSERT_TRUE(InitDisplay());
    ASSERT_TRUE(InitKeyboard());
  }
  void TearDown() override {
    ReleaseKeyboard();
    ReleaseDisplay();
    ScratchFolderTest::TearDown();
  }
};

TEST_F(SdlLayer, AControllersButtonsAreReadAsKeys) {
  // The dummy window never has the keyboard, and SDL drops a controller's presses without it.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  const int index =
      SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, SDL_CONTROLLER_BUTTON_MAX, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  if (!SDL_IsGameController(index)) {
    SDL_JoystickDetachVirtual(index);
    GTEST_SKIP() << "this SDL gives virtual joysticks no controller mapping";
  }
  SDL_Joystick* joystick = SDL_JoystickOpen(index);
  ASSERT_NE(joystick, nullptr);
  ReadKeyboard();
  EXPECT_FALSE(KeyHeld(kKeyReturn));
  SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_A, 1);
  usleep(3000);
  ReadKeyboard();
  EXPECT_TRUE(KeyHeld(kKeyReturn));
  SDL_JoystickClose(joystick);
  SDL_JoystickDetachVirtual(index);
}

TEST(InstalledData, IsWhereTheGameWasInstalledUnlessTheEnvironmentNamesAnotherFolder) {
  unsetenv("COILRUN_DATA_DIR");
  // The tests run from the build folder, which has no installed data beside it.
  EXPECT_EQ(std::string(DeviceInstalledDataDirectory()), COILRUN_INSTALLED_DATA_DIR);
  setenv("COILRUN_DATA_DIR", "/somewhere/else", 1);
  EXPECT_EQ(std::string(DeviceInstalledDataDirectory()), "/somewhere/else");
  // A relative name is resolved against the working directory, so that links to it never dangle.
  setenv("COILRUN_DATA_DIR", "./data/../shared", 1);
  EXPECT_EQ(std::string(DeviceInstalledDataDirectory()), (fs::current_path() / "shared").string());
  unsetenv("COILRUN_DATA_DIR");
}

// The player's folder: under XDG_DATA_HOME when that is absolute, else under HOME; neither, no folder.
TEST(PlayerData, IsUnderXdgDataHomeOrHome) {
  const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  std::string folder, why;
  setenv("HOME", "/h", 1);
  for (const char* xdg : {"relative/path", "", "/x"}) {
    setenv("XDG_DATA_HOME", xdg, 1);
    ASSERT_TRUE(DevicePlayerDataDirectory(&folder, &why));
    EXPECT_EQ(folder, xdg[0] == '/' ? "/x/coilrun" : "/h/.local/share/coilrun");
  }
  unsetenv("XDG_DATA_HOME");
  unsetenv("HOME");
  EXPECT_FALSE(DevicePlayerDataDirectory(&folder, &why));
  setenv("HOME", home.c_str(), 1);
}

// Installed data on a real disk and a player's folder that earlier versions linked it into, with a link
// of the player's own among the game's links.
class InstalledGameOnDisk : public ScratchFolderTest {
 protected:
  void SetUp() override {
    ScratchFolderTest::SetUp();
    installed_ = scratch_.Path() / "installed";
    folder_ = scratch_.Path() / "xdg" / "coilrun";
    fs::create_directories(installed_);
    for (const char* name : AssetTable) WriteFileBytes(installed_ / name, {1, 2, 3});
    setenv("COILRUN_DATA_DIR", installed_.c_str(), 1);
    setenv("XDG_DATA_HOME", (scratch_.Path() / "xdg").c_str(), 1);
    fs::create_directories("start");
  }
  void TearDown() override {
    unsetenv("COILRUN_DATA_DIR");
    unsetenv("XDG_DATA_HOME");
    ScratchFolderTest::TearDown();
  }
  // Links every data file as earlier versions did, but BG00.DAT to a picture of the player's.
  void LinkAsEarlierVersionsDid() {
    fs::create_directories(folder_);
    for (const char* name : AssetTable) fs::create_symlink(installed_ / name, folder_ / name);
    WriteFileBytes(scratch_.Path() / "my-bg.bmp", {9});
    fs::remove(folder_ / "BG00.DAT");
    fs::create_symlink(scratch_.Path() / "my-bg.bmp", folder_ / "BG00.DAT");
  }
  fs::path installed_;
  fs::path folder_;
};

// Several first starts at once, each in a process of its own, on a fresh folder and on one that earlier
// versions had linked: every one sets up and moves there, and the folder ends with the score table and the
// player's own link, nothing else.
TEST_F(InstalledGameOnDisk, SeveralFirstStartsAtOnceAllSucceedAndKeepThePlayersLink) {
  constexpr int kRounds = 10, kStarts = 4;
  for (int round = 0; round < kRounds; ++round) {
    fs::remove_all(scratch_.Path() / "xdg");
    if (round % 2 == 1) LinkAsEarlierVersionsDid();
    std::vector<pid_t> starts;
    for (int i = 0; i < kStarts; ++i) {
      const pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        if (chdir("start") != 0) _exit(2);
        std::string error;
        const bool chosen = ChooseDataDirectory(&error);
        if (!chosen) std::fprintf(stderr, "start %d: %s\n", i, error.c_str());
        _exit(chosen && fs::current_path() == folder_ ? 0 : 1);
      }
      starts.push_back(child);
    }
    for (pid_t child : starts) {
      int status = -1;
      waitpid(child, &status, 0);
      EXPECT_EQ(status, 0) << "round " << round;
    }
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(fs::file_size(folder_ / "SCORE.DAT"), static_cast<uintmax_t>(kScoreFileSize));
    if (round % 2 == 1) {
      EXPECT_EQ(names, (std::vector<std::string>{"BG00.DAT", "SCORE.DAT"}));
      EXPECT_EQ(fs::read_symlink(folder_ / "BG00.DAT"), scratch_.Path() / "my-bg.bmp");
    } else {
      EXPECT_EQ(names, (std::vector<std::string>{"SCORE.DAT"}));
    }
  }
  EXPECT_EQ(ReadFileBytes(installed_ / "LOGO.DAT"), (std::vector<uint8_t>{1, 2, 3}));
}

// SCORE.DAT on a real disk, with the real file device.
class ScoreFileOnDisk : public ScratchFolderTest {};

std::vector<int32_t> FileScores(const fs::path& path) {
  const std::vector<uint8_t> bytes = ReadFileBytes(path);
  std::vector<int32_t> scores;
  for (size_t at = 16; at < 36 && at + 4 <= bytes.size(); at += 4) {
    scores.push_back(static_cast<int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                          static_cast<uint32_t>(bytes[at + 3]) << 24));
  }
  return scores;
}

// Another program holds a lock on the file between its read and its write while this game ends, even a
// shared one: this game waits, reads what the other wrote, and both scores are kept.
TEST_F(ScoreFileOnDisk, TwoGamesEndingTogetherKeepBothScores) {
  WriteFileBytes("SCORE.DAT", std::vector<uint8_t>(kScoreFileSize, 0));
  const int other = open("SCORE.DAT", O_RDWR | O_CLOEXEC);
  ASSERT_GE(other, 0);
  ASSERT_EQ(flock(other, LOCK_SH), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(other);  // the lock belongs to the parent's open file, which the child shares
    RecordScore(200);
    _exit(ScoreFileFailed() ? 1 : 0);
  }
  usleep(200'000);
  std::vector<uint8_t> record(kScoreFileSize, 0);
  record[16] = 100;
  ASSERT_EQ(pwrite(other, record.data(), record.size(), 0), static_cast<ssize_t>(record.size()));
  close(other);
  int status = -1;
  waitpid(child, &status, 0);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(FileScores("SCORE.DAT"), (std::vector<int32_t>{200, 100, 0, 0, 0}));
}

// A link is followed and stays a link, and the file behind it keeps its scores and every byte around the
// table; a pipe in place of SCORE.DAT or of a data file is refused at once with a line that says so, and left
// as it was.
TEST_F(ScoreFileOnDisk, ALinkIsFollowedAndAPipeIsRefusedAtOnce) {
  fs::create_directories("elsewhere");
  std::vector<uint8_t> record(kScoreFileSize, 0xA5);
  std::fill(record.begin() + 16, record.begin() + 36, 0);
  record[16] = 200;
  WriteFileBytes("elsewhere/scores", record);
  fs::create_symlink("elsewhere/scores", "SCORE.DAT");
  RecordScore(77);
  EXPECT_TRUE(fs::is_symlink("SCORE.DAT"));
  EXPECT_EQ(FileScores("elsewhere/scores"), (std::vector<int32_t>{200, 77, 0, 0, 0}));
  const std::vector<uint8_t> kept = ReadFileBytes("elsewhere/scores");
  ASSERT_EQ(kept.size(), record.size());
  EXPECT_TRUE(std::equal(kept.begin() + 36, kept.end(), record.begin() + 36));
  fs::remove("SCORE.DAT");
  ASSERT_EQ(mkfifo("SCORE.DAT", 0644), 0);
  ASSERT_EQ(mkfifo("LOGO.DAT", 0644), 0);
  testing::internal::CaptureStderr();
  RecordScore(5);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "coilrun: cannot save SCORE.DAT: not a regular file\n");
  EXPECT_TRUE(fs::is_fifo("SCORE.DAT"));
  EXPECT_TRUE(ScoreFileFailed());
  ClearFailure();
  EXPECT_EQ(LoadPcxImage("LOGO.DAT"), nullptr);
  NoteLoadFailure("LOGO.DAT", "a PCX picture");
  EXPECT_EQ(FailureMessage(), "cannot load LOGO.DAT: not a regular file");
}

// The settings name keys as SDL does: every key the layer reads that SDL has a name for is found by it.
TEST(KeyNames, AreSdlsOwn) {
  for (const SdlKeyName& key : kSdlKeyMap) {
    const std::string name = SDL_GetScancodeName(key.scancode);
    if (name.empty()) continue;
    const uint8_t code = KeyCodeNamed(key.name);
    EXPECT_EQ(KeyCodeByName(name), code) << name;
    EXPECT_EQ(std::string(KeyName(code) != nullptr ? KeyName(code) : ""), name);
  }
}

// The settings file is replaced whole: its folders made, no other file left beside it, and where a step
// fails, the reason told and the old file kept.
TEST_F(ScratchFolderTest, ASettingsFileIsReplacedWholeOrNotAtAll) {
  const std::vector<uint8_t> first = {'a', '\n'};
  const std::vector<uint8_t> second = {'b', 'c', '\n'};
  std::string why;
  ASSERT_TRUE(DeviceReplaceFile("config/coilrun/settings.ini", first, &why)) << why;
  ASSERT_TRUE(DeviceReplaceFile("config/coilrun/settings.ini", second, &why)) << why;
  EXPECT_EQ(ReadFileBytes("config/coilrun/settings.ini"), second);
  EXPECT_EQ(std::distance(fs::directory_iterator("config/coilrun"), fs::directory_iterator()), 1);
  fs::create_directories("taken/settings.ini");
  EXPECT_FALSE(DeviceReplaceFile("taken/settings.ini", first, &why));
  EXPECT_FALSE(why.empty());
  EXPECT_EQ(std::distance(fs::directory_iterator("taken"), fs::directory_iterator()), 1);
  WriteFileBytes("file", first);
  EXPECT_FALSE(DeviceReplaceFile("file/coilrun/settings.ini", second, &why));
  EXPECT_EQ(ReadFileBytes("file"), first);
  bool missing = false;
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(DeviceReadWholeFile("nowhere/settings.ini", 100, &bytes, &why, &missing));
  EXPECT_TRUE(missing);
}

// Every key has a code of its own, so that the game and a recording tell the keys apart; the game's keys
// are the cursor block's, and the keypad's arrows do not steer.
TEST(SdlKeyMapTest, EveryKeyHasACodeOfItsOwnAndTheGamesKeysAreTheCursorBlocks) {
  std::set<int> codes;
  std::map<int, int> code;
  for (const SdlKeyName& key : kSdlKeyMap) {
    const uint8_t keyCode = KeyCodeNamed(key.name);
    EXPECT_NE(keyCode, 0) << key.name;
    EXPECT_TRUE(codes.insert(keyCode).second) << "code twice: " << int{keyCode};
    EXPECT_TRUE(code.emplace(key.scancode, keyCode).second) << "scancode twice: " << key.scancode;
  }
  EXPECT_EQ(codes.size(), kNamedKeys.size());
  EXPECT_EQ(code[SDL_SCANCODE_UP], kKeyUp);
  EXPECT_EQ(code[SDL_SCANCODE_LEFT], kKeyLeft);
  EXPECT_EQ(code[SDL_SCANCODE_RETURN], kKeyReturn);
  EXPECT_EQ(code[SDL_SCANCODE_ESCAPE], kKeyEscape);
  EXPECT_EQ(code[SDL_SCANCODE_KP_8], 0x48);
  EXPECT_EQ(code[SDL_SCANCODE_KP_4], 0x4B);
}

}  // namespace
}  // namespace coilrun
