// The command line: a few options for players and for replays; every other argument is ignored.
#pragma once

#include <string>

namespace coilrun {

// The stages a practice game may start at, as the player counts them.
inline constexpr int kFirstPracticeStage = 1;
inline constexpr int kLastPracticeStage = 6;

struct Options {
  bool help = false;
  bool version = false;
  bool windowed = false;  // start in a window instead of full screen
  bool timedemo = false;  // replay as fast as possible and print the ticks per second
  bool hud = false;       // show the lives and the creatures left beside the stage label
  int stage = 0;          // 1 to 6: every game is a practice game from this stage; 0: real games
  std::string record;     // write every input to this file
  std::string replay;     // read every input from this file
  std::string error;      // what is wrong with the command line, or empty
};

// Reads the command line. A bad value leaves the reason in `error`.
Options ParseOptions(int argc, char** argv);

// The text --help prints.
const char* UsageText();

}  // namespace coilrun
