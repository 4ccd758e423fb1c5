// Which picture or sound becomes which data file, in which format, and writing them all.
#include "dataset.h"

#include <filesystem>
#include <string>

#include "artwork.h"
#include "content/assets.h"
#include "sounds.h"

namespace coilrun {

std::optional<Bytes> BuildAsset(int index) {
  // Backgrounds are 24-bit bitmaps and the menu and enemies 8-bit ones, so that play runs both of the
  // bitmap loader's paths.
  if (index >= kAssetBg00 && index < kAssetBg00 + kStageCount)
    return EncodeBitmap24(DrawStageBackground(index));
  if (index >= kAssetStage00 && index < kAssetStage00 + kStageCount) {
    return EncodePcx(DrawStageIntro(index - kAssetStage00));
  }
  switch (index) {
    case kAssetData:
      return EncodePcx(DrawPlaySheet());
    case kAssetData2:
      return EncodePcx(DrawLabelSheet());
    case kAssetEnemy01:
      return EncodeBitmap8(DrawEnemy(0));
    case kAssetEnemy02:
      return EncodeBitmap8(DrawEnemy(1));
    case kAssetLogo:
      return EncodePcx(DrawLogo());
    case kAssetMenu:
      return EncodeBitmap8(DrawMenuBackground());
    case kAssetClearWav:
      return EncodeWave(SynthesiseClear());
    case kAssetDieWav:
      return EncodeWave(SynthesiseDie());
    case kAssetEatWav:
      return EncodeWave(SynthesiseEat());
    case kAssetMenu1Wav:
      return EncodeWave(SynthesiseMenuMove());
    case kAssetMenu2Wav:
      return EncodeWave(SynthesiseMenuConfirm());
    case kAssetMenu3Wav:
      return EncodeWave(SynthesiseMenuExit());
    default:
      return std::nullopt;
  }
}

bool MakeDataSet(const std::string& dir, const MakeOptions& options, std::ostream& errors) {
  const std::filesystem::path folder(dir);
  std::string error;
  for (int index = 0; index < kAssetCount; ++index) {
    const std::optional<Bytes> bytes = BuildAsset(index);
    if (!bytes) {
      errors << AssetTable[static_cast<size_t>(index)] << ": the picture does not fit its file format\n";
      return false;
    }
    const std::string path = (folder / AssetTable[static_cast<size_t>(index)]).string();
    if (!WriteBytes(path, *bytes, &error)) {
      errors << path << ": " << error << "\n";
      return false;
    }
  }
  const std::filesystem::path scores = folder / kScoreFileName;
  std::error_code ignored;
  if (options.resetScores || !std::filesystem::exists(scores, ignored)) {
    if (!WriteBytes(scores.string(), Bytes(kScoreFileSize, 0), &error)) {
      errors << scores.string() << ": " << error << "\n";
      return false;
    }
  }
  return WriteManifest(dir, errors);
}

bool WriteManifest(const std::string& dir, std::ostream& errors) {
  const std::filesystem::path folder(dir);
  std::string json = "{\"files\": [";
  for (size_t index = 0; index < AssetTable.size(); ++index) {
    const std::filesystem::path path = folder / AssetTable[index];
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
      errors << path.string() << ": " << error.message() << "\n";
      return false;
    }
    json += std::string(index == 0 ? "\n" : ",\n") + "  {\"name\": \"" + AssetTable[index] +
            "\", \"size\": " + std::to_string(size) + "}";
  }
  json += std::string("\n],\n\"scores\": {\"name\": \"") + kScoreFileName +
          "\", \"size\": " + std::to_string(kScoreFileSize) + "}}\n";
  const std::string path = (folder / kManifestName).string();
  std::string error;
  if (!WriteBytes(path, Bytes(json.begin(), json.end()), &error)) {
    errors << path << ": " << error << "\n";
    return false;
  }
  return true;
}

}  // namespace coilrun
