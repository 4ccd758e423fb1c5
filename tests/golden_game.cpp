// The golden game's summary, the same for the demo maker and the tests.
#include "golden_game.h"

#include <cinttypes>
#include <cstdio>

#include "content/assets.h"
#include "game/play_state.h"
#include "game/score_table.h"
#include "game_data.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_display.h"
#include "platform/memory/memory_sound.h"

namespace coilrun {

namespace {

std::string Format(const char* format, auto... values) {
  char line[160];
  std::snprintf(line, sizeof line, format, values...);
  return line;
}

std::string WaveName(uint64_t checksum) {
  for (int i = kAssetClearWav; i <= kAssetMenu3Wav; ++i) {
    const std::string name = AssetTable[static_cast<size_t>(i)];
    if (MemorySampleChecksum(GameDataSamples(name)) == checksum) return name;
  }
  return "unknown";
}

}  // namespace

std::vector<std::string> GoldenGameLines(uint64_t ticks, const std::vector<ChosenFrame>& chosen) {
  std::vector<std::string> lines;
  lines.push_back(Format("final: stage %d lives %d score %d eaten %d ticks %" PRIu64, Play.StageIndex,
                         Play.Lives, Play.Score, Play.EatenCount, ticks));
  lines.push_back(Format("waited: %" PRId64 " ms", MemorySleptNanoseconds() / 1'000'000));
  // The record the game writes to SCORE.DAT (a replay keeps it in memory and leaves the file alone).
  const std::vector<uint8_t> file(ScoreFile.begin(), ScoreFile.end());
  std::string table;
  for (size_t i = 16; i < 36 && i < file.size(); ++i) table += Format("%02x", file[i]);
  uint64_t sum = 14695981039346656037ull;
  for (uint8_t byte : file) sum = (sum ^ byte) * 1099511628211ull;
  lines.push_back(Format("SCORE.DAT: %zu bytes, table %s, fnv %016" PRIx64, file.size(), table.c_str(), sum));
  std::string last;
  int run = 0;
  for (const MemorySoundEvent& event : MemorySoundLog()) {
    if (event.what != "play") continue;
    const std::string name = WaveName(event.checksum);
    if (name != last && run > 0) lines.push_back(Format("sound: %s x%d", last.c_str(), run));
    run = name == last ? run + 1 : 1;
    last = name;
  }
  if (run > 0) lines.push_back(Format("sound: %s x%d", last.c_str(), run));
  lines.push_back(
      Format("left: %d surfaces, %d sound buffers", MemoryLiveSurfaceCount(), MemoryLiveSoundBuffers()));
  const std::vector<MemoryFrame>& frames = MemoryPresentedFrames();
  lines.push_back(Format("frames: %zu", frames.size()));
  for (const ChosenFrame& frame : chosen) {
    const uint64_t checksum = frame.index < frames.size() ? frames[frame.index].checksum : 0;
    lines.push_back(Format("frame %zu %s %016" PRIx64, frame.index, frame.label.c_str(), checksum));
  }
  return lines;
}

}  // namespace coilrun
