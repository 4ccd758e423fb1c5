// The game's entry point.
#include "app/entry.h"

int main(int argc, char** argv) { return coilrun::RunCoilrun(argc, argv); }
