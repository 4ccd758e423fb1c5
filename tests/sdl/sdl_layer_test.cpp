// The SDL device layer on SDL's dummy drivers: screenshots as PNG files, controllers as keys, where the
// installed data is looked for, and SCORE.DAT and data files on a real disk.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/data_dir_device.h"
#include "app/failure.h"
#include "app/score_table.h"
#include "devices/keyboard.h"
#include "display/display.h"
#include "file_bytes.h"
#include "images/images.h"
#include "platform/sdl/rgb565.h"
#include "platform/sdl/screenshot_png.h"
#include "platform/sdl/sdl_platform.h"
#include "scratch_folder.h"

namespace coilrun {
namespace {

namespace fs = std::filesystem;

// Each test in a scratch folder of its own, made the working directory.
class ScratchFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { scratch_.Enter("coilrun-sdl"); }
  void TearDown() override { scratch_.Leave(); }
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

// SCORE.DAT on a real disk, with the real file device.
class ScoreFileOnDisk : public ScratchFolderTest {
 protected:
  void SetUp() override {
    ScratchFolderTest::SetUp();
    ScoreFile.fill(0);
    ForgetScoreFileFailure();
  }
};

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

}  // namespace
}  // namespace coilrun
