// Loading the data files of the asset table, each by its kind, with one line's worth of why when one fails.
#include "content/assets.h"

#include "devices/failure.h"
#include "devices/sound.h"
#include "images/images.h"

namespace coilrun {

namespace {

const char* KindName(AssetKind kind) {
  switch (kind) {
    case AssetKind::kBitmap:
      return "a bitmap";
    case AssetKind::kPcx:
      return "a PCX picture";
    case AssetKind::kWave:
      return "a wave file";
  }
  return "a data file";
}

}  // namespace

bool LoadAsset(AssetIndex index, Surface** picture) {
  const AssetKind kind = KindOfAsset(index);
  const char* name = AssetTable[index];
  bool loaded = false;
  if (kind == AssetKind::kWave) {
    loaded = LoadEffect(name);
  } else {
    *picture = kind == AssetKind::kPcx ? LoadPcxImage(name) : LoadBitmapImage(name);
    loaded = *picture != nullptr;
  }
  if (!loaded) NoteLoadFailure(name, KindName(kind));
  return loaded;
}

bool SwapEffect(AssetIndex sound) {
  FreeEffect();
  return LoadAsset(sound, nullptr);
}

}  // namespace coilrun
