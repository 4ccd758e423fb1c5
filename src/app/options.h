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
  // For this run only, over the settings: the last of --windowed and --fullscreen, of --hud and --no-hud.
  bool windowed = false;    // start in a window instead of full screen
  bool fullscreen = false;  // start over the whole screen
  bool hud = false;         // show the lives and the creatures left beside the stage label
  bool noHud = false;
  int volume = -1;  // 0 to 100, or -1 for the settings' own
  bool mute = false;
  bool timedemo = false;  // replay as fast as possible and print the ticks per second
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
