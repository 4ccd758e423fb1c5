// The browser's entry point: the game's own entry, then an exit that the page hears of, for a main that
// has waited for the browser returns to nobody.
#include <cstdlib>

#include "app/entry.h"

int main(int argc, char** argv) {
  std::exit(coilrun::RunCoilrun(argc, argv));
}
