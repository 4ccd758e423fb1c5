// The game's entry point.
#include <csignal>

#include "app/entry.h"

int main(int argc, char** argv) {
  // A closed pipe or a file-size limit makes a write fail, which the game reports, instead of ending it.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
  return coilrun::RunCoilrun(argc, argv);
}
