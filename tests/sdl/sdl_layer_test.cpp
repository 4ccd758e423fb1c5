// The SDL device layer on SDL's dummy drivers: screenshots as PNG files, the switch between full screen and
// a window, the nap of the key waits, controllers as keys, and where the installed data is looked for.
#include <gtest/gtest.h>
#include <png.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/data_dir_device.h"
#include "devices/keyboard.h"
#include "devices/keyboard_device.h"
#include "display/display.h"
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

// A PNG file read back as 8-bit RGB.
struct Decoded {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
};

Decoded DecodePng(const fs::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Decoded decoded;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return decoded;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) return decoded;
  decoded.width = static_cast<int>(image.width);
  decoded.height = static_cast<int>(image.height);
  decoded.rgb = std::move(rgb);
  return decoded;
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

TEST_F(PngFile, EverySixteenBitColourComesBackAsTheScreenShowsIt) {
  std::vector<uint16_t> all(65536);
  for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<uint16_t>(i);
  std::string error;
  ASSERT_TRUE(WritePngRgb565("all.png", all.data(), 256, 256, &error)) << error;
  const Decoded decoded = DecodePng("all.png");
  EXPECT_EQ(decoded.width, 256);
  EXPECT_EQ(decoded.height, 256);
  EXPECT_EQ(decoded.rgb, Widened(all));
}

TEST_F(PngFile, NoFileIsEverReplacedAndTakenNamesGetANumber) {
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
  std::ifstream kept("shot.png");
  std::string text;
  std::getline(kept, text);
  EXPECT_EQ(text, "somebody's file");
  EXPECT_EQ(DecodePng("shot-2.png").rgb, Widened(frame));
}

TEST_F(PngFile, AFailedWriteSaysWhyAndLeavesNothing) {
  const std::vector<uint16_t> frame(16, 0);
  std::string saved;
  std::string error;
  EXPECT_FALSE(SavePngBesideOthers("no-such-folder/shot", frame.data(), 4, 4, &saved, &error));
  EXPECT_NE(error.find("no-such-folder/shot.png"), std::string::npos) << error;
  EXPECT_FALSE(WritePngRgb565("empty.png", frame.data(), 0, 4, &error));
  EXPECT_FALSE(fs::exists("empty.png"));
}

TEST(ScreenshotName, IsTheLocalDateAndTimeToTheSecond) {
  std::tm moment{};
  moment.tm_year = 2024 - 1900;
  moment.tm_mon = 2;
  moment.tm_mday = 9;
  moment.tm_hour = 7;
  moment.tm_min = 5;
  moment.tm_sec = 3;
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
  const Decoded decoded = DecodePng(shots[0]);
  EXPECT_EQ(decoded.width, 640);
  EXPECT_EQ(decoded.height, 480);
  EXPECT_EQ(decoded.rgb, Widened(shown));
}

TEST_F(SdlLayer, TheToggleSwitchesBetweenFullScreenAndAResizableWindowAndBack) {
  SDL_Window* window = SdlMainWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN, 0u);
  SdlToggleFullScreen();
  EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN, 0u);
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window, &width, &height);
  // A whole multiple of the frame, so that its pixels stay square and crisp.
  EXPECT_EQ(width % 640, 0);
  EXPECT_EQ(width * 3, height * 4);
  SdlToggleFullScreen();
  EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN, 0u);
}

double ProcessSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double WallSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

TEST_F(SdlLayer, AWaitForAKeyGivesTheProcessorBackButAFrameLoopIsNeverSlowedDown) {
  const double wall0 = WallSeconds();
  const double cpu0 = ProcessSeconds();
  for (int i = 0; i < 100; ++i) AnyKeyDown();
  const double wall = WallSeconds() - wall0;
  const double cpu = ProcessSeconds() - cpu0;
  // Polled back to back, the reads nap: a tenth of a second or more for a hundred, at little cost.
  EXPECT_GT(wall, 0.1);
  EXPECT_LT(cpu, wall / 4);
  // Read once per frame, 3 ms apart as in the fastest stage, a read returns at once.
  for (int i = 0; i < 20; ++i) {
    usleep(3000);
    const double start = WallSeconds();
    ReadKeyboard();
    EXPECT_LT(WallSeconds() - start, 0.002);
  }
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
  SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_A, 0);
  SDL_JoystickClose(joystick);
  SDL_JoystickDetachVirtual(index);
}

TEST(InstalledData, IsWhereTheGameWasInstalledUnlessTheEnvironmentNamesAnotherFolder) {
  unsetenv("COILRUN_DATA_DIR");
  // The tests run from the build folder, which has no installed data beside it.
  EXPECT_EQ(std::string(DeviceInstalledDataDirectory()), COILRUN_INSTALLED_DATA_DIR);
  setenv("COILRUN_DATA_DIR", "/somewhere/else", 1);
  EXPECT_EQ(std::string(DeviceInstalledDataDirectory()), "/somewhere/else");
  unsetenv("COILRUN_DATA_DIR");
}

}  // namespace
}  // namespace coilrun
