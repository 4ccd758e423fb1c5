// The shared sprites: what is cut from which rectangle of the sheets, their keys, failures and the release.
#include "app/shared_sprites.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "image_files.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_files.h"
#include "test_support.h"

namespace coilrun {
namespace {

// A PCX sheet whose pixel i has the palette index 1 + 7 i % 191: never black, and one coded byte a pixel.
void WriteSheet(const char* name, int16_t width, int16_t height) {
  std::vector<uint8_t> indices(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(1 + i * 7 % 191);
  MemoryPutFile(name, MakePcxPicture(width, height, indices, DistinctPcxPalette()));
}

// A width x height sprite holding at its top left the rectangle `cut` of such a sheet; black elsewhere.
std::vector<uint16_t> Sprite(int width, int height, int sheetWidth, Rect cut) {
  std::vector<uint16_t> pixels(static_cast<size_t>(width) * height, 0);
  for (int y = cut.top; y < cut.bottom; ++y) {
    for (int x = cut.left; x < cut.right; ++x) {
      const int index = 1 + (y * sheetWidth + x) * 7 % 191;  // and its colour in DistinctPcxPalette
      pixels[(y - cut.top) * width + x - cut.left] = PackColor((index & 31) * 8, (index >> 5) * 4, 0);
    }
  }
  return pixels;
}

class SharedSpritesTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    WriteSheet("DATA.DAT", 520, 130);
    WriteSheet("DATA2.DAT", 170, 95);
    MemoryPutFile("ENEMY01.DAT", MakeBmpFile(SampleRgbPicture(50, 40), BmpVariant::kRgb24));
    MemoryPutFile("ENEMY02.DAT", MakeBmpFile(SampleRgbPicture(48, 30), BmpVariant::kIndexed8));
  }
  void TearDown() override {
    ReleaseSharedSprites();
    DisplayTest::TearDown();
  }
};

TEST_F(SharedSpritesTest, DigitsAndLabelsAreCutKeyedBlackAndAFailureKeepsWhatWasMadeButNoSheet) {
  const int baseline = MemoryLiveSurfaceCount();
  ASSERT_TRUE(LoadSharedSprites());
  for (int d = 0; d < 10; ++d) {
    EXPECT_TRUE(DigitSprites[d]->hasColorKey && DigitSprites[d]->colorKey == 0) << d;
    EXPECT_EQ(DigitSprites[d]->pixels, Sprite(16, 23, 520, {350 + 16 * d, 100, 365 + 16 * d, 122})) << d;
  }
  EXPECT_TRUE(StageLabelSheet->hasColorKey && StageLabelSheet->colorKey == 0);
  EXPECT_EQ(StageLabelSheet->pixels, Sprite(165, 90, 170, {0, 0, 162, 89}));
  EXPECT_FALSE(EnemySprite1->hasColorKey || EnemySprite2->hasColorKey);
  ReleaseSharedSprites();
  // All given back, then: the fifth digit refused, after four and the sheet; the labels missing; an enemy.
  const std::tuple<const char*, int, int> cases[] = {{"", 8, 6}, {"DATA2.DAT", 0, 12}, {"ENEMY02.DAT", 0, 1}};
  for (const auto& [missing, refused, kept] : cases) {
    if (*missing != 0) MemoryRemoveFile(missing);
    MemoryRefuseSurfaceCreation(refused);
    EXPECT_FALSE(LoadSharedSprites()) << missing;
    EXPECT_EQ(MemoryLiveSurfaceCount(), baseline + kept) << missing;
    ReleaseSharedSprites();
  }
}

}  // namespace
}  // namespace coilrun
