// Fuzz target: the wave-file reader on any bytes.
#include <vector>

#include "devices/wave_file.h"
#include "fuzz_target.h"

int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> samples;
  if (coilrun::ReadWaveSamples(data, size, &samples)) {
    // What was read lies inside the input.
    if (samples.empty() || samples.size() > size) __builtin_trap();
  }
  return 0;
}
