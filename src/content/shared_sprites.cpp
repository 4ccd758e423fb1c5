// The sprites several screens share: the score digits and stage labels cut from their sheets at start-up,
// and the two enemy pictures.
#include "content/shared_sprites.h"

#include <cstddef>

#include "content/assets.h"
#include "display/display.h"

namespace coilrun {

std::array<Surface*, 10> DigitSprites{};
Surface* StageLabelSheet = nullptr;
Surface* EnemySprite1 = nullptr;
Surface* EnemySprite2 = nullptr;

namespace {

// Black, the key of the cut sprites: 0 in every 16-bit pixel format.
constexpr uint16_t kBlackKey = 0;

// A new surface holding `rect` of `sheet` at its top-left corner, keyed black; null when refused.
Surface* CutSprite(const Surface* sheet, const Rect& rect, int16_t width, int16_t height) {
  Surface* sprite = CreateOffscreenSurface(width, height);
  if (sprite == nullptr) return nullptr;
  CopySurfaceRect(sprite, 0, 0, sheet, rect, false);
  SetSourceColorKey(sprite, kBlackKey);
  return sprite;
}

bool CutDigits(const Surface* sheet) {
  for (size_t d = 0; d < DigitSprites.size(); ++d) {
    const auto offset = static_cast<int32_t>(kDigitStride * d);
    const Rect rect{kDigitCut.left + offset, kDigitCut.top, kDigitCut.right + offset, kDigitCut.bottom};
    DigitSprites[d] = CutSprite(sheet, rect, kDigitSurfaceWidth, kDigitSurfaceHeight);
    if (DigitSprites[d] == nullptr) return false;
  }
  return true;
}

// Loads a sheet, cuts from it, and gives it back whatever the cutting did: only the cut sprites stay.
template <typename Cut>
bool CutFromSheet(AssetIndex asset, Cut cut) {
  Surface* sheet = nullptr;
  if (!LoadAsset(asset, &sheet)) return false;
  const bool cutAll = cut(sheet);
  ReleaseSurface(sheet);
  return cutAll;
}

}  // namespace

bool LoadSharedSprites() {
  if (!LoadAsset(kAssetEnemy01, &EnemySprite1)) return false;
  if (!LoadAsset(kAssetEnemy02, &EnemySprite2)) return false;
  if (!CutFromSheet(kAssetData, CutDigits)) return false;
  return CutFromSheet(kAssetData2, [](const Surface* sheet) {
    StageLabelSheet = CutSprite(sheet, kStageLabelCut, kStageLabelSheetWidth, kStageLabelSheetHeight);
    return StageLabelSheet != nullptr;
  });
}

void ReleaseSharedSprites() {
  ReleaseSurface(StageLabelSheet);
  for (Surface*& digit : DigitSprites) ReleaseSurface(digit);
  ReleaseSurface(EnemySprite2);
  ReleaseSurface(EnemySprite1);
}

void BlitDigit(int digit, int16_t x, int16_t y) {
  BlitToCanvasKeyed(DigitSprites[static_cast<size_t>(digit)], x, y, static_cast<int16_t>(kDigitRect.left),
                    static_cast<int16_t>(kDigitRect.top), static_cast<int16_t>(kDigitRect.right),
                    static_cast<int16_t>(kDigitRect.bottom));
}

void DrawDigits(uint32_t value, int count, int16_t rightX, int16_t y, DigitPainter paint) {
  for (int k = 0; k < count; ++k) {
    paint(static_cast<int>(value % 10), static_cast<int16_t>(rightX - kDigitStride * k), y);
    value /= 10;
  }
}

}  // namespace coilrun
