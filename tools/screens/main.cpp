// Renders the README's pictures from the in-memory device layer with the game's own screens, so that they
// show what the code draws: the logo, the menu, a walled stage in play, the pause dialog, the high scores.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/entry.h"
#include "app/title_screens.h"
#include "content/assets.h"
#include "content/shared_sprites.h"
#include "devices/keyboard.h"
#include "display/display.h"
#include "game/play_state.h"
#include "game/play_tick.h"
#include "game/score_table.h"
#include "images/images.h"
#include "memory_reset.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_keyboard.h"
#include "platform/sdl/screenshot_png.h"
#include "scripted_player.h"

namespace {

namespace fs = std::filesystem;
using namespace coilrun;

// The stage shown in play: the fourth, whose background has walls; and the ticks played before the picture.
constexpr uint8_t kShownStage = 3;
constexpr int kTicksBeforePicture = 260;
// The table the high-score picture shows.
constexpr int32_t kShownScores[kScoreTablePlaces] = {12840, 9975, 4310, 1200, 0};

bool Save(const fs::path& out, const char* name) {
  std::string error;
  const fs::path path = out / name;
  fs::remove(path);
  if (!WritePngRgb565(path.string(), MemoryFrontPixels().data(), kScreenWidth, kScreenHeight, &error)) {
    std::fprintf(stderr, "coilrun-screens: cannot write %s: %s\n", path.c_str(), error.c_str());
    return false;
  }
  std::printf("wrote %s\n", path.c_str());
  return true;
}

// The logo as its screen first shows it, before any key.
bool ShowLogo() {
  Surface* logo = LoadPcxImage(AssetTable[kAssetLogo]);
  if (logo == nullptr) return false;
  BlitPlacementToCanvas(logo, kFullScreen, false);
  ReleaseSurface(logo);
  PresentFrame();
  return true;
}

// A stage in play after a few seconds of the scripted player's hunting, then the pause dialog.
bool ShowStage(const fs::path& out) {
  StartGame();
  Play.StageIndex = kShownStage;
  StageBackground = LoadBitmapImage(AssetTable[kAssetBg00 + kShownStage]);
  PlaySheet = LoadPcxImage(AssetTable[kAssetData]);
  if (StageBackground == nullptr || PlaySheet == nullptr) return false;
  SetSourceColorKey(PlaySheet, PackColor(0, 0, 0));
  SetSourceColorKey(EnemySprite1, PackColor(255, 255, 255));
  SetSourceColorKey(EnemySprite2, PackColor(255, 255, 255));
  StartStage();
  // The scripted player hunts (and its Return is harmless in play).
  MemorySetKeyPlayer([](uint64_t read) { return ScriptedKeys(Plan::kHunt, 0, read); });
  for (int tick = 0; tick < kTicksBeforePicture && PlayTick() == 1; ++tick) {
  }
  bool ok = Save(out, "play.png");
  MemorySetKeyPlayer([](uint64_t) { return std::vector<uint8_t>{kKeyReturn}; });
  RunPauseDialog();
  ok = Save(out, "pause.png") && ok;
  MemorySetKeyPlayer(nullptr);
  ReleaseSurface(StageBackground);
  ReleaseSurface(PlaySheet);
  return ok;
}

void PutShownScores() {
  std::vector<uint8_t> record(kScoreFileSize, 0);
  for (int place = 0; place < kScoreTablePlaces; ++place) {
    for (int b = 0; b < 4; ++b) {
      record[static_cast<size_t>(kScoreTableOffset + 4 * place + b)] =
          static_cast<uint8_t>(static_cast<uint32_t>(kShownScores[place]) >> (8 * b));
    }
  }
  MemoryPutFile(kScoreFileName, record);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: coilrun-screens DATA_DIR OUT_DIR\n");
    return 2;
  }
  const fs::path out = fs::absolute(argv[2]);
  fs::create_directories(out);
  // The data is read into memory, so that the player's own SCORE.DAT is never touched.
  MemoryResetAll();
  MemoryPutFolder(argv[1]);
  PutShownScores();
  bool ok = StartUp();
  ok = ok && ShowLogo() && Save(out, "logo.png");
  // Return held as the menu starts: one frame of the menu on its first entry.
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyReturn});
  ok = ok && RunMainMenu() == 1 && Save(out, "menu.png");
  ok = ok && ShowStage(out);
  // The table stays until Return, held from the menu, is let go and pressed again.
  MemoryHoldKeys(MemoryKeyTrigger::kRead, MemoryKeyboardReads() + 1, {});
  MemoryHoldKeys(MemoryKeyTrigger::kRead, MemoryKeyboardReads() + 2, {kKeyReturn});
  ok = ok && RunHighScoreScreen() == 1 && Save(out, "high-scores.png");
  ShutDown();
  if (!ok) std::fprintf(stderr, "coilrun-screens: a screen could not be shown\n");
  return ok ? 0 : 1;
}
