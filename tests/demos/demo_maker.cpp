// Makes the committed demos: the scripted player plays the real entry over the in-memory devices on the
// default data, recording every input, and the game's final state is written beside each recording.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/assets.h"
#include "app/entry.h"
#include "app/score_table.h"
#include "game/game_flow.h"
#include "game/play_state.h"
#include "memory_reset.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_keyboard.h"
#include "scripted_player.h"

namespace {

namespace fs = std::filesystem;
using namespace coilrun;

struct Demo {
  const char* name;
  Plan plan;
  uint32_t seed;
};

// Plays one demo on the data read into memory, with an empty table; false when the game did not end well.
bool MakeDemo(const Demo& demo, const fs::path& data, const fs::path& out) {
  MemoryResetAll();
  MemoryPutFolder(data);
  MemoryPutFile(kScoreFileName, std::vector<uint8_t>(kScoreFileSize, 0));
  MemorySetCalendarSeconds(demo.seed);
  const uint64_t ticksAtStart = TicksPlayed();
  MemorySetKeyPlayer([&](uint64_t) { return ScriptedKeys(demo.plan, ticksAtStart); });
  const std::string recording = (out / (std::string(demo.name) + ".rec")).string();
  std::vector<std::string> args = {"coilrun", "--record", recording};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  const int status = RunCoilrun(static_cast<int>(argv.size()), argv.data());
  ReadScoreFile();
  if (status != 0) return false;
  std::ofstream expected(out / (std::string(demo.name) + ".expected"));
  expected << "final: stage " << int{Play.StageIndex} << " lives " << int{Play.Lives} << " score "
           << Play.Score << "\ntable:";
  for (int place = 0; place < kScoreTablePlaces; ++place) expected << ' ' << TopScore(place);
  expected << '\n';
  std::printf("%s: stage %d lives %d score %d, %llu ticks\n", demo.name, Play.StageIndex, Play.Lives,
              Play.Score, static_cast<unsigned long long>(TicksPlayed() - ticksAtStart));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: coilrun-demo-maker DATA_DIR OUT_DIR\n");
    return 2;
  }
  const Demo demos[] = {
      {"clear-first-stage", Plan::kClearThenQuit, 20261206},
      {"lose-all-lives", Plan::kCrash, 4242},
  };
  bool ok = true;
  const fs::path data = fs::absolute(argv[1]);
  const fs::path out = fs::absolute(argv[2]);
  for (const Demo& demo : demos) ok = MakeDemo(demo, data, out) && ok;
  return ok ? 0 : 1;
}
