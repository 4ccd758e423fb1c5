// The golden game: a whole recorded game on the tests' data set, summed up as lines of text that the demo
// maker writes once and the tests compare after replaying the recording.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace coilrun {

// A presented frame worth keeping an eye on: its place in the frame log and what it shows.
struct ChosenFrame {
  size_t index;
  std::string label;
};

// The game just run over the in-memory devices, `ticks` ticks long, in the working directory: the final
// play state, the virtual time waited, the SCORE.DAT record, every sound played (runs of one effect
// counted), what was left unreleased, the number of frames and the checksums of the chosen ones.
std::vector<std::string> GoldenGameLines(uint64_t ticks, const std::vector<ChosenFrame>& chosen);

}  // namespace coilrun
