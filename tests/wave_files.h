// Writes wave files in memory for tests and fuzz seeds: chunks in any order, any format fields.
#pragma once

#include <cstdint>
#include <vector>

#include "file_bytes.h"

namespace coilrun {

// One chunk: its four-letter name, its content, and a pad byte when the content's size is odd.
inline std::vector<uint8_t> WaveChunk(const char* id, const std::vector<uint8_t>& content) {
  std::vector<uint8_t> out(id, id + 4);
  PutLe(out, static_cast<uint32_t>(content.size()), 4);
  out.insert(out.end(), content.begin(), content.end());
  if (content.size() % 2 != 0) out.push_back(0);
  return out;
}

// A format chunk's content: 16 bytes, or 18 with the extra-size field.
inline std::vector<uint8_t> WaveFormat(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                                       bool withExtraSize = false) {
  std::vector<uint8_t> out;
  PutLe(out, tag, 2);
  PutLe(out, channels, 2);
  PutLe(out, rate, 4);
  PutLe(out, rate * channels * bits / 8, 4);
  PutLe(out, static_cast<uint32_t>(channels * bits / 8), 2);
  PutLe(out, bits, 2);
  if (withExtraSize) PutLe(out, 0, 2);
  return out;
}

// A RIFF "WAVE" file holding the given chunks in order.
inline std::vector<uint8_t> WaveFile(const std::vector<std::vector<uint8_t>>& chunks) {
  std::vector<uint8_t> body = {'W', 'A', 'V', 'E'};
  for (const auto& chunk : chunks) body.insert(body.end(), chunk.begin(), chunk.end());
  std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
  PutLe(out, static_cast<uint32_t>(body.size()), 4);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

// The ordinary effect: 8-bit mono PCM at 11025 Hz.
inline std::vector<uint8_t> SimpleWave(const std::vector<uint8_t>& samples) {
  return WaveFile({WaveChunk("fmt ", WaveFormat(1, 1, 11025, 8)), WaveChunk("data", samples)});
}

}  // namespace coilrun
