// The SDL device layer on SDL's dummy drivers: the frame's scale to the window, screenshots as PNG files,
// controllers as keys, where the installed data is looked for, and SCORE.DAT and data files on a real disk.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "app/data_dir_device.h"
#include "app/failure.h"
#include "app/score_table.h"
#include "devices/keyboard.h"
#include "display/display.h"
#include "file_bytes.h"
#include "images/images.h"
#include "platform/sdl/frame_scaler.h"
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

// Each frame pixel's share of the window's columns, in 1/256ths of a column.
std::vector<int> ColumnShares(const AxisMap& map, int frameWidth) {
  std::vector<int> shares(static_cast<size_t>(frameWidth), 0);
  for (size_t x = 0; x < map.weight.size(); ++x) {
    shares[map.nearPixel[x]] += 256 - map.weight[x];
    shares[map.farPixel[x]] += map.weight[x];
  }
  return shares;
}

TEST(FrameScale, EveryFramePixelTakesAnEvenShareOfTheWindowWithTheShapeKept) {
  const FrameFit wide = FitFrame(640, 480, 1920, 1080);
  EXPECT_EQ(std::vector<int>({wide.x, wide.y, wide.width, wide.height, wide.factor}),
            std::vector<int>({240, 0, 1440, 1080, 2}));
  // A whole factor is nearest sampling alone: each pixel a 2x2 block.
  const AxisMap doubled = MapAxis(640, 2, 1280);
  for (size_t x = 0; x < doubled.weight.size(); ++x) {
    ASSERT_EQ(doubled.nearPixel[x], x / 2);
    ASSERT_EQ(doubled.weight[x], 0);
  }
  // At 1024x768 (1.6 times) every pixel covers about 1.6 columns (linear filtering is even to within an
  // eighth of a column), where nearest sampling alone would give it one or two.
  for (const auto& [factor, width] : {std::pair{1, 1024}, std::pair{2, 1440}}) {
    const std::vector<int> shares = ColumnShares(MapAxis(640, factor, width), 640);
    const int even = width * 256 / 640;
    for (size_t x = 0; x < shares.size(); ++x) ASSERT_NEAR(shares[x], even, 32) << "frame column " << x;
  }
}

TEST(FrameScale, OnlyTheRowsWithinReachOfAChangedFrameRowAreDrawnAgain) {
  FrameScaler scaler;
  ResizeScaler(&scaler, 640, 480, 1024, 768);
  std::vector<uint16_t> frame(640 * 480, 0x07E0);
  EXPECT_TRUE(UpdateScaler(&scaler, frame.data(), false));  // A new scaler draws everything once.
  EXPECT_FALSE(UpdateScaler(&scaler, frame.data(), false));
  frame[100 * 640 + 7] = 0xFFFF;
  ASSERT_TRUE(UpdateScaler(&scaler, frame.data(), false));
  int marked = 0;
  for (int y = 0; y < 768; ++y) {
    if (scaler.targetDirty[static_cast<size_t>(y)] == 0) continue;
    ++marked;
    EXPECT_NEAR(y, 160, 2);  // Frame row 100 is window rows 160 to 161.
  }
  EXPECT_GE(marked, 2);
  std::vector<uint32_t> row(1024);
  ScaleRow(scaler, 0, row.data());
  EXPECT_EQ(row[500], 0x00FF00u);  // A flat colour stays exactly itself.
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

TEST(ScreenshotName, IsTheLocalDateAndTimeToTheSecond) {
  std::tm moment{};
  ASSERT_NE(strptime("2024-03-09 07:05:03", "%Y-%m-%d %H:%M:%S", &moment), nullptr);
  moment.tm_isdst = -1;
  EXPECT_EQ(ScreenshotStem(std::mktime(&moment)), "coilrun-20240309-070503");
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

TEST_F(SdlLayer, F12SavesTheFrameOnTheScreenNotTheOneBeingDrawn) {
  // Stepping by 7 through 640x480 pixels, the shown frame holds every 16-bit colour: each must come back
  // from the file as the screen shows it.
  ASSERT_TRUE(LockCanvas());
  for (int i = 0; i < kCanvasPixelCount; ++i) CanvasPixels[i] = static_cast<uint16_t>(i * 7);
  UnlockCanvas();
  PresentFrame();
  const std::vector<uint16_t> shown = Canvas->pixels;
  ASSERT_TRUE(LockCanvas());
  std::fill(CanvasPixels, CanvasPixels + kCanvasPixelCount, uint16_t{0xFFFF});
  UnlockCanvas();
  SdlSaveScreenshot();
  std::vector<fs::path> shots;
  for (const auto& entry : fs::directory_iterator(".")) shots.push_back(entry.path());
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0].filename().string().rfind("coilrun-", 0), 0u) << shots[0];
  EXPECT_EQ(shots[0].extension(), ".png");
  EXPECT_EQ(DecodePng(shots[0], 640, 480), Widened(shown));
}

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

// Another game holds the lock between its read and its write while this one ends: this one waits, reads
// what the other wrote, and both scores are kept.
TEST_F(ScoreFileOnDisk, TwoGamesEndingTogetherKeepBothScores) {
  WriteFileBytes("SCORE.DAT", std::vector<uint8_t>(kScoreFileSize, 0));
  const int other = open("SCORE.DAT", O_RDWR | O_CLOEXEC);
  ASSERT_GE(other, 0);
  ASSERT_EQ(flock(other, LOCK_EX), 0);
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

// A link is followed and stays a link; a pipe in place of SCORE.DAT or of a data file is refused at once
// with a line that says so, and left as it was.
TEST_F(ScoreFileOnDisk, ALinkIsFollowedAndAPipeIsRefusedAtOnce) {
  fs::create_directories("elsewhere");
  WriteFileBytes("elsewhere/scores", std::vector<uint8_t>(kScoreFileSize, 0));
  fs::create_symlink("elsewhere/scores", "SCORE.DAT");
  RecordScore(77);
  EXPECT_TRUE(fs::is_symlink("SCORE.DAT"));
  EXPECT_EQ(FileScores("elsewhere/scores"), (std::vector<int32_t>{77, 0, 0, 0, 0}));
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
