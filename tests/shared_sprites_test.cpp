// The shared sprites: what is cut from which rectangle of the sheets, their black keys, the enemy
// pictures, the failures on the way and the release.
#include "app/shared_sprites.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/assets.h"
#include "image_files.h"
#include "images/images.h"
#include "platform/memory/memory_display.h"
#include "test_support.h"
#include "wave_files.h"

namespace coilrun {
namespace {

namespace fs = std::filesystem;

// Palette indices that say where they are, never 0 (black) but where a test puts it.
std::vector<uint8_t> PositionIndices(int width, int height) {
  std::vector<uint8_t> indices;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) indices.push_back(static_cast<uint8_t>(1 + (x * 7 + y * 13) % 255));
  }
  return indices;
}

// Each test works in a directory of its own holding the four files, with the display up.
class SharedSpritesTest : public DisplayTest {
 protected:
  static constexpr int16_t kSheetWidth = 520;
  static constexpr int16_t kSheetHeight = 130;
  void SetUp() override {
    DisplayTest::SetUp();
    old_ = fs::current_path();
    dir_ = fs::temp_directory_path() / ("coilrun-sprites-" + std::to_string(getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::current_path(dir_);
    std::vector<uint8_t> data = PositionIndices(kSheetWidth, kSheetHeight);
    data[105 * kSheetWidth + 465] = 0;  // a black pixel inside the glyph of 7
    WriteBytes("DATA.DAT", MakePcxPicture(kSheetWidth, kSheetHeight, data, DistinctPcxPalette()));
    WriteBytes("DATA2.DAT", MakePcxPicture(170, 95, PositionIndices(170, 95), DistinctPcxPalette()));
    WriteBytes("ENEMY01.DAT", MakeBmpFile(SampleRgbPicture(50, 40, 9), BmpVariant::kRgb24));
    WriteBytes("ENEMY02.DAT", MakeBmpFile(SampleRgbPicture(48, 30, 4), BmpVariant::kIndexed8));
    baseline_ = MemoryLiveSurfaceCount();
  }
  void TearDown() override {
    ReleaseSharedSprites();
    fs::current_path(old_);
    fs::remove_all(dir_);
    DisplayTest::TearDown();
  }
  fs::path old_;
  fs::path dir_;
  int baseline_ = 0;
};

uint16_t At(const Surface* s, int x, int y) {
  return s->pixels[static_cast<size_t>(y) * s->width + x];
}

TEST_F(SharedSpritesTest, DigitsAndLabelsAreCutFromTheirRectanglesAndKeyedBlack) {
  ASSERT_TRUE(LoadSharedSprites());
  Surface* sheet = LoadPcxImage("DATA.DAT");
  Surface* labels = LoadPcxImage("DATA2.DAT");
  ASSERT_NE(sheet, nullptr);
  ASSERT_NE(labels, nullptr);
  for (int d = 0; d < 10; ++d) {
    const Surface* digit = DigitSprites[d];
    ASSERT_NE(digit, nullptr);
    EXPECT_EQ(digit->width, 16);
    EXPECT_EQ(digit->height, 23);
    EXPECT_TRUE(digit->hasColorKey);
    EXPECT_EQ(digit->colorKey, 0);
    for (int y = 0; y < 22; ++y) {
      for (int x = 0; x < 15; ++x) {
        ASSERT_EQ(At(digit, x, y), At(sheet, 350 + 16 * d + x, 100 + y)) << d << ": " << x << "," << y;
      }
    }
  }
  // Digit 7 holds columns 462 to 476 and rows 100 to 121, its black pixel included.
  EXPECT_EQ(At(DigitSprites[7], 0, 0), At(sheet, 462, 100));
  EXPECT_EQ(At(DigitSprites[7], 14, 21), At(sheet, 476, 121));
  EXPECT_EQ(At(DigitSprites[7], 3, 5), 0);
  ASSERT_NE(StageLabelSheet, nullptr);
  EXPECT_EQ(StageLabelSheet->width, 165);
  EXPECT_EQ(StageLabelSheet->height, 90);
  EXPECT_TRUE(StageLabelSheet->hasColorKey);
  EXPECT_EQ(StageLabelSheet->colorKey, 0);
  for (int y = 0; y < 89; ++y) {
    for (int x = 0; x < 162; ++x) ASSERT_EQ(At(StageLabelSheet, x, y), At(labels, x, y)) << x << "," << y;
  }
  // The enemies come whole, without a key.
  ASSERT_NE(EnemySprite1, nullptr);
  ASSERT_NE(EnemySprite2, nullptr);
  EXPECT_EQ(EnemySprite1->width, 50);
  EXPECT_EQ(EnemySprite2->height, 30);
  EXPECT_FALSE(EnemySprite1->hasColorKey);
  EXPECT_FALSE(EnemySprite2->hasColorKey);

  // A black pixel inside a glyph lets the Canvas show through.
  std::fill(Canvas->pixels.begin(), Canvas->pixels.end(), 0x4321);
  BlitToCanvasKeyed(DigitSprites[7], 100, 100, 0, 0, 15, 22);
  EXPECT_EQ(Canvas->pixels[105 * kScreenWidth + 103], 0x4321);
  EXPECT_EQ(Canvas->pixels[100 * kScreenWidth + 100], At(sheet, 462, 100));
  ReleaseSurface(sheet);
  ReleaseSurface(labels);

  // The sheets are gone: only the thirteen sprites stay, and the release gives them all back.
  EXPECT_EQ(MemoryLiveSurfaceCount(), baseline_ + 13);
  ReleaseSharedSprites();
  EXPECT_EQ(MemoryLiveSurfaceCount(), baseline_);
  EXPECT_EQ(StageLabelSheet, nullptr);
  EXPECT_EQ(DigitSprites[0], nullptr);
  EXPECT_EQ(EnemySprite1, nullptr);
}

TEST_F(SharedSpritesTest, AFailureKeepsWhatWasMadeAndReleasesOnlyTheSheetInHand) {
  fs::remove("ENEMY02.DAT");
  EXPECT_FALSE(LoadSharedSprites());
  EXPECT_NE(EnemySprite1, nullptr);
  EXPECT_EQ(EnemySprite2, nullptr);
  ReleaseSharedSprites();

  WriteBytes("ENEMY02.DAT", MakeBmpFile(SampleRgbPicture(48, 30, 4), BmpVariant::kIndexed8));
  fs::remove("DATA2.DAT");
  EXPECT_FALSE(LoadSharedSprites());
  EXPECT_NE(DigitSprites[9], nullptr);
  EXPECT_EQ(StageLabelSheet, nullptr);
  EXPECT_EQ(MemoryLiveSurfaceCount(), baseline_ + 12);
  ReleaseSharedSprites();
  EXPECT_EQ(MemoryLiveSurfaceCount(), baseline_);

  // A digit surface refused: the sheet it was cut from is given back all the same.
  WriteBytes("DATA2.DAT", MakePcxPicture(170, 95, PositionIndices(170, 95), DistinctPcxPalette()));
  MemoryRefuseSurfaceCreation(3 + 5);  // two enemies, the sheet, digits 0 to 3, then digit 4
  EXPECT_FALSE(LoadSharedSprites());
  EXPECT_NE(DigitSprites[3], nullptr);
  EXPECT_EQ(DigitSprites[4], nullptr);
  EXPECT_EQ(MemoryLiveSurfaceCount(), baseline_ + 2 + 4);
  ReleaseSharedSprites();
  EXPECT_EQ(MemoryLiveSurfaceCount(), baseline_);
}

}  // namespace
}  // namespace coilrun
