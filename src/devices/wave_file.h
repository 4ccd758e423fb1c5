// The wave-file reader: the samples of a RIFF "WAVE" file, read safely from its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace coilrun {

// Finds the "WAVE" form, takes its first chunk as the format chunk whatever its name, requires format tag
// 1 in the 18 bytes read from there, steps to the end of that chunk and finds "data". On success `samples`
// holds the data chunk. Every size is checked against the bytes there are: false, with `samples`
// untouched, for a truncated or malformed file, and for an empty data chunk (a buffer of nothing).
bool ReadWaveSamples(const uint8_t* bytes, size_t size, std::vector<uint8_t>* samples);

}  // namespace coilrun
