// Makes the committed demos: the scripted player plays the real entry over the in-memory devices on the
// default data, recording every input, and the game's final state is written beside each recording. Also
// makes the golden game, on the tests' own data set, with the summary the tests compare its replay with.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/entry.h"
#include "content/assets.h"
#include "devices/keyboard.h"
#include "display/display.h"
#include "game/game_flow.h"
#include "game/play_state.h"
#include "game/score_table.h"
#include "game_data.h"
#include "golden_game.h"
#include "memory_reset.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_keyboard.h"
#include "scripted_player.h"
#include "tour_player.h"

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
  MemorySetKeyPlayer([&](uint64_t read) { return ScriptedKeys(demo.plan, ticksAtStart, read); });
  const std::string recording = std::string(demo.name) + ".rec";
  std::vector<std::string> args = {"coilrun", "--record", recording};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  const int status = RunCoilrun(static_cast<int>(argv.size()), argv.data());
  ReadScoreFile();
  if (status != 0 || !MemoryWriteFileToDisk(recording, out / recording)) return false;
  std::ofstream expected(out / (std::string(demo.name) + ".expected"));
  expected << "final: stage " << int{Play.StageIndex} << " lives " << int{Play.Lives} << " score "
           << Play.Score << "\ntable:";
  for (int place = 0; place < kScoreTablePlaces; ++place) expected << ' ' << TopScore(place);
  expected << '\n';
  std::printf("%s: stage %d lives %d score %d, %llu ticks\n", demo.name, Play.StageIndex, Play.Lives,
              Play.Score, static_cast<unsigned long long>(TicksPlayed() - ticksAtStart));
  return true;
}

// The golden game's moments, started afresh with each game.
bool paused = false;
bool answerDialog = false;
bool quitting = false;
// The ticks played at the last read: a read at a new count is the first of a tick.
uint64_t ticksAtLastRead = 0;

// The golden game's player: the tour's player, hunting from the first tick, except that it pauses in the
// second stage and goes on, and quits from the dialog once it has eaten three enemies in the sixth.
// The pause dialog's frame comes next after its read, and the tick's own frame before the next read: the
// dialog's is chosen here.
std::vector<uint8_t> GoldenKeys(uint64_t ticksAtStart, uint64_t read, std::vector<ChosenFrame>* chosen) {
  const uint64_t ticks = TicksPlayed() - ticksAtStart;
  if (ticks == 0) {
    paused = answerDialog = quitting = false;
    ticksAtLastRead = TicksPlayed();
  }
  if (answerDialog || quitting) {
    chosen->push_back({MemoryPresentedFrames().size(), answerDialog ? "pause-go-on" : "pause-quit"});
    const bool goOn = answerDialog;
    answerDialog = quitting = false;
    if (goOn) return {kKeyRight, kKeyReturn};
  }
  // Up and Return pressed together, let go at every other read, end the waits and choose Exit.
  if (Play.QuitChosen != 0) {
    return read % 2 == 0 ? std::vector<uint8_t>{kKeyUp, kKeyReturn} : std::vector<uint8_t>{};
  }
  const bool tickRead = TicksPlayed() != ticksAtLastRead;
  ticksAtLastRead = TicksPlayed();
  if (tickRead && Play.Lives >= 0 && Play.StageIndex < kStageCount) {
    if (Play.StageIndex == 1 && !paused && Play.HeadIndex >= 30) {
      paused = answerDialog = true;
      return {kKeyEscape};
    }
    if (Play.StageIndex == kStageCount - 1 && Play.EatenCount >= 3) {
      quitting = true;
      return {kKeyEscape, kKeyReturn};
    }
  }
  return TourPlayerKeys(ticksAtStart, 0.0, read);
}

// Plays the golden game in a scratch folder and writes its recording and summary into `out`. Seeds are
// tried until the player reaches the last stage having lost a life on the way.
bool MakeGoldenGame(const fs::path& out) {
  const fs::path work = fs::temp_directory_path() / "coilrun-demo-maker-golden";
  const fs::path old = fs::current_path();
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    fs::remove_all(work);
    fs::create_directories(work);
    fs::current_path(work);
    MemoryResetAll();
    PutGameData();
    ResetTourPlayer();
    MemorySetCalendarSeconds(seed);
    const uint64_t ticksAtStart = TicksPlayed();
    std::vector<ChosenFrame> chosen;
    size_t framesSeen = 0;
    std::string lastScreen;
    MemorySetKeyPlayer([&](uint64_t read) {
      if (MemoryPresentedFrames().size() > framesSeen) {
        framesSeen = MemoryPresentedFrames().size();
        const std::string screen = ShownScreen();
        if (!screen.empty() && screen != lastScreen) chosen.push_back({framesSeen - 1, screen});
        lastScreen = screen;
      }
      return GoldenKeys(ticksAtStart, read, &chosen);
    });
    std::vector<std::string> args = {"coilrun", "--record", "golden.rec"};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    const int status = RunCoilrun(static_cast<int>(argv.size()), argv.data());
    MemorySetKeyPlayer(nullptr);
    // The game must reach the last stage after at least one death.
    const bool whole =
        status == 0 && Play.StageIndex == kStageCount - 1 && Play.QuitChosen != 0 && Play.Lives < 2;
    std::printf("golden game, seed %u: stage %d lives %d score %d\n", seed, Play.StageIndex + 1, Play.Lives,
                Play.Score);
    std::fflush(stdout);
    if (whole) {
      std::ofstream expected(out / "whole-game.expected");
      for (const std::string& line : GoldenGameLines(TicksPlayed() - ticksAtStart, chosen))
        expected << line << '\n';
      MemoryWriteFileToDisk("golden.rec", out / "whole-game.rec");
    }
    fs::current_path(old);
    fs::remove_all(work);
    if (whole) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: coilrun-demo-maker DATA_DIR OUT_DIR GOLDEN_DIR\n");
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
  ok = MakeGoldenGame(fs::absolute(argv[3])) && ok;
  return ok ? 0 : 1;
}
