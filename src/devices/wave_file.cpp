// Reads a wave file as the multimedia file functions walk it: RIFF form, first chunk, "data" chunk.
#include "devices/wave_file.h"

#include <cstring>

namespace coilrun {

namespace {

constexpr size_t kChunkHeaderSize = 8;
constexpr size_t kFormatReadSize = 18;
constexpr uint16_t kFormatTagPcm = 1;

uint32_t ReadLe32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

// A chunk's span: its data from `data` for `size` bytes; `next` is where the chunk after it begins.
struct Chunk {
  size_t data;
  uint64_t size;
  uint64_t next;
};

// The chunk whose header begins at `at`, if the header lies before `end`.
bool ReadChunkAt(const uint8_t* bytes, size_t at, size_t end, Chunk* chunk, char id[4]) {
  if (at > end || end - at < kChunkHeaderSize) return false;
  std::memcpy(id, bytes + at, 4);
  chunk->data = at + kChunkHeaderSize;
  chunk->size = ReadLe32(bytes + at + 4);
  // A chunk of odd size is followed by a pad byte.
  chunk->next = chunk->data + chunk->size + (chunk->size & 1);
  return true;
}

// Searches the chunks from `at` up to `end` for one named `wanted`.
bool FindChunk(const uint8_t* bytes, size_t at, size_t end, const char* wanted, Chunk* found) {
  char id[4];
  while (ReadChunkAt(bytes, at, end, found, id)) {
    if (std::memcmp(id, wanted, 4) == 0) return true;
    if (found->next >= end) return false;
    at = static_cast<size_t>(found->next);
  }
  return false;
}

// Finds the RIFF chunk of form "WAVE" among the top-level chunks; `formEnd` is where its content ends.
bool FindWaveForm(const uint8_t* bytes, size_t size, size_t* content, size_t* formEnd) {
  Chunk riff{};
  size_t at = 0;
  while (FindChunk(bytes, at, size, "RIFF", &riff)) {
    if (riff.size >= 4 && riff.data + 4 <= size && std::memcmp(bytes + riff.data, "WAVE", 4) == 0) {
      *content = riff.data + 4;
      *formEnd = riff.data + riff.size < size ? static_cast<size_t>(riff.data + riff.size) : size;
      return true;
    }
    if (riff.next >= size) return false;
    at = static_cast<size_t>(riff.next);
  }
  return false;
}

}  // namespace

bool ReadWaveSamples(const uint8_t* bytes, size_t size, std::vector<uint8_t>* samples) {
  size_t content = 0;
  size_t formEnd = 0;
  if (!FindWaveForm(bytes, size, &content, &formEnd)) return false;
  // The first chunk inside the form is the format chunk, whatever it is called.
  Chunk format{};
  char id[4];
  if (!ReadChunkAt(bytes, content, formEnd, &format, id)) return false;
  // Eighteen bytes are read from the chunk's data, running on past a 16-byte chunk into what follows.
  if (format.data > size || size - format.data < kFormatReadSize) return false;
  const uint16_t formatTag = static_cast<uint16_t>(bytes[format.data] | (bytes[format.data + 1] << 8));
  if (formatTag != kFormatTagPcm) return false;
  if (format.next >= formEnd) return false;
  Chunk data{};
  if (!FindChunk(bytes, static_cast<size_t>(format.next), formEnd, "data", &data)) return false;
  if (data.size == 0 || data.size > size - data.data) return false;
  samples->assign(bytes + data.data, bytes + data.data + data.size);
  return true;
}

}  // namespace coilrun
