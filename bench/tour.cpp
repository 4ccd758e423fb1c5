// Makes the recording that scripts/measure-load.sh replays in the real game: the tests' data set, and one
// whole game over the in-memory devices, played through all six stages by a scripted player that roams
// safely for a while in each stage before it hunts the enemies down. Prints, for each stage, the colour
// its background shows on the screen, so that the script can tell which stage is being played.
// Usage: coilrun-bench-tour DIR (writes the data files and DIR/tour.rec).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/entry.h"
#include "display/display.h"
#include "game/game_flow.h"
#include "game/play_state.h"
#include "game_data.h"
#include "memory_reset.h"
#include "platform/common/rgb565.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_keyboard.h"
#include "tour_player.h"

namespace coilrun {
namespace {

// How long the player roams in each stage before it hunts, in seconds of play.
constexpr double kRoamSeconds = 14.0;
// How many seeds are tried at most.
constexpr uint32_t kSeedsToTry = 20;

// One whole game with the given seed, recorded into tour.rec in the working directory; true when the player
// reached the last stage.
bool RecordGame(uint32_t seed) {
  WriteGameData(".");
  MemoryResetAll();
  PutGameData();
  ResetTourPlayer();
  MemorySetCalendarSeconds(seed);
  const uint64_t gameStart = TicksPlayed();
  MemorySetKeyPlayer([gameStart](uint64_t read) { return TourPlayerKeys(gameStart, kRoamSeconds, read); });
  std::string name = "coilrun";
  std::string record = "--record";
  std::string file = "tour.rec";
  char* args[] = {name.data(), record.data(), file.data(), nullptr};
  const int status = RunCoilrun(3, args);
  MemorySetKeyPlayer(nullptr);
  MemoryWriteFileToDisk(file, file);
  std::fprintf(stderr, "tour: seed %u: reached stage %d, %.0f s of play and waits\n", seed,
               std::min<int>(Play.StageIndex, kStageCount - 1) + 1,
               static_cast<double>(MemorySleptNanoseconds()) / 1e9);
  return status == 0 && Play.StageIndex >= kStageCount - 1;
}

}  // namespace
}  // namespace coilrun

int main(int argc, char** argv) {
  using namespace coilrun;
  if (argc != 2) {
    std::fprintf(stderr, "usage: coilrun-bench-tour DIR\n");
    return 2;
  }
  std::filesystem::create_directories(argv[1]);
  std::filesystem::current_path(argv[1]);
  // The player is no champion: games are tried with one seed after another until one reaches the last stage.
  bool reached = false;
  for (uint32_t seed = 20240101; seed < 20240101 + kSeedsToTry && !reached; ++seed)
    reached = RecordGame(seed);
  if (!reached) return 1;
  for (int stage = 0; stage < kStageCount; ++stage) {
    const Rgb colour = GameDataBitmapColour("BG0" + std::to_string(stage) + ".DAT");
    std::printf("%d %06X\n", stage + 1, Rgb565ToRgb888(PackColor(colour.red, colour.green, colour.blue)));
  }
  return 0;
}
