// The command line: a few options for players and for replays; every other argument is ignored.
#pragma once

#include <string>

namespace coilrun {

struct Options {
  bool help = false;
  bool version = false;
  bool windowed = false;  // start in a window instead of full screen
  bool timedemo = false;  // replay as fast as possible and print the ticks per second
  std::string record;     // write every input to this file
  std::string replay;     // read every input from this file
};

Options ParseOptions(int argc, char** argv);
// The text --help prints.
const char* UsageText();

}  // namespace coilrun
