// Writes the seed corpus of one fuzz target: `coilrun-fuzz-corpus NAME DIR`, small valid files of each kind.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "image_files.h"
#include "wave_files.h"

namespace coilrun {
namespace {

// One seed: its file name in the corpus and its bytes.
using Seed = std::pair<std::string, std::vector<uint8_t>>;

std::vector<Seed> PcxSeeds() {
  const PcxPalette palette = DistinctPcxPalette();
  std::vector<uint8_t> picture(24 * 10);
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint8_t>(i % 24 < 12 ? i / 30 : i * 7);
  std::vector<uint8_t> bright(9 * 3, 0xE5);
  bright[4] = 0x11;
  return {
      {"picture.pcx", MakePcxPicture(24, 10, picture, palette)},
      {"no-marker.pcx", MakePcxPicture(24, 10, picture, palette, false)},
      {"bright-odd-width.pcx", MakePcxPicture(9, 3, bright, palette)},
      {"runs-across-rows.pcx",
       MakePcxFile(PcxEdges{0, 0, 3, 3}, {0xC6, 0x02, 0xC0, 0x05, 0xFF, 0x07}, palette)},
      {"offset-edges.pcx", MakePcxFile(PcxEdges{10, 5, 19, 9}, {0xFF, 0x01, 0xBF, 0xC1, 0xBF}, palette)},
      {"ends-early.pcx", MakePcxFile(PcxEdges{0, 0, 99, 99}, {1, 2, 3}, palette)},
  };
}

std::vector<Seed> BmpSeeds() {
  std::vector<Seed> seeds;
  for (BmpVariant variant : kAllBmpVariants) {
    seeds.emplace_back(std::string(BmpVariantName(variant)) + ".bmp",
                       MakeBmpFile(SampleRgbPicture(9, 5), variant));
  }
  return seeds;
}

std::vector<Seed> WaveSeeds() {
  const std::vector<uint8_t> samples = {128, 160, 190, 160, 128, 96, 66, 96, 128};
  return {
      {"simple.wav", SimpleWave(samples)},
      {"stereo-16-bit.wav", WaveFile({WaveChunk("fmt ", WaveFormat(1, 2, 44100, 16)), WaveChunk("data", samples)})},
      {"format-with-extra-size.wav",
       WaveFile({WaveChunk("fmt ", WaveFormat(1, 1, 22050, 8, true)), WaveChunk("data", samples)})},
      {"chunks-before-data.wav", WaveFile({WaveChunk("fmt ", WaveFormat(1, 1, 11025, 8)),
                                           WaveChunk("fact", {1, 2, 3}), WaveChunk("LIST", {'I', 'N', 'F', 'O'}),
                                           WaveChunk("data", samples)})},
      {"list-first.wav", WaveFile({WaveChunk("LIST", {'I', 'N', 'F', 'O'}),
                                   WaveChunk("fmt ", WaveFormat(1, 1, 11025, 8)), WaveChunk("data", samples)})},
      {"adpcm.wav", WaveFile({WaveChunk("fmt ", WaveFormat(2, 1, 11025, 4)), WaveChunk("data", samples)})},
  };
}

// Bitmaps built from fields: the shape byte picks the header (low three bits), the bits per pixel (next
// three) and top-down rows (the top bit); then width and height less one, the compression, the palette's
// count and the offset's slack, then pixels and palette from a pattern.
std::vector<Seed> BmpFieldSeeds() {
  std::vector<Seed> seeds;
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> shapes = {
      {"rgb24", {0x21, 8, 4, 0, 0, 0, 0, 0}},
      {"indexed8", {0x11, 6, 5, 0, 16, 0, 0, 0}},
      {"indexed4-top-down", {0x89, 7, 3, 0, 0, 0, 0, 0}},
      {"mono", {0x01, 20, 2, 0, 2, 0, 0, 0}},
      {"bitfields32", {0x29, 3, 3, 3, 0, 0, 0, 0}},
      {"core8", {0x10, 4, 4, 0}},
      {"rle8", {0x11, 4, 4, 1, 0, 1, 0, 0}},
      {"v5-rgb16", {0x1D, 5, 5, 0, 0, 0, 0, 0}},
  };
  for (const auto& [name, fields] : shapes) {
    std::vector<uint8_t> bytes = fields;
    for (int i = 0; i < 1600; ++i) bytes.push_back(static_cast<uint8_t>(i * 37 + 11));
    seeds.emplace_back(std::string(name) + ".fields", bytes);
  }
  return seeds;
}

std::vector<Seed> ReplaySeeds() {
  const auto text = [](const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); };
  return {
      {"every-stream.rec",
       text("coilrun-replay 1\ns 1234\nk 3 1c\nk 2 1c cb cd\nm 5\nm 1 2 0\nc 4 0\nc 1 1\n")},
      {"crlf.rec", text("coilrun-replay 1\r\ns 7\r\nk 1 c8\r\nc 2 0\r\n")},
      {"header-only.rec", text("coilrun-replay 1\n")},
      {"long-runs.rec", text("coilrun-replay 1\nk 200000\nm 18446744073709551615 18 4\nc 200000 0\n")},
      {"out-of-range.rec", text("coilrun-replay 1\nk 1 100\n")},
  };
}

// The score offered (four bytes, little-endian), then the file.
std::vector<Seed> ScoreSeeds() {
  const auto seed = [](int32_t score, std::vector<int32_t> table, size_t size) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 4; ++i)
      bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(score) >> (8 * i)));
    std::vector<uint8_t> file(size, 0x5A);
    for (size_t i = 0; i < table.size() && 16 + 4 * i + 4 <= size; ++i) {
      for (int b = 0; b < 4; ++b)
        file[16 + 4 * i + b] = static_cast<uint8_t>(static_cast<uint32_t>(table[i]) >> (8 * b));
    }
    bytes.insert(bytes.end(), file.begin(), file.end());
    return bytes;
  };
  return {
      {"table.score", seed(500, {900, 700, 500, 300, 100}, 1036)},
      {"unsorted-negative.score", seed(-5, {-1, 40, -300, 7, 0}, 1036)},
      {"short.score", seed(0, {10, 5}, 24)},
      {"long.score", seed(2147483647, {3, 2, 1, 0, -2147483647 - 1}, 1500)},
      {"empty.score", seed(1, {}, 0)},
  };
}

std::vector<Seed> SettingsSeeds() {
  const auto seed = [](const char* name, const std::string& text) {
    return Seed{name, std::vector<uint8_t>(text.begin(), text.end())};
  };
  Settings changed = DefaultSettings();
  changed.fullScreen = false;
  changed.windowWidth = 800;
  changed.windowHeight = 600;
  changed.volume = 40;
  changed.keys[kGameKeyOk] = {0x39, 0x33};
  return {
      seed("defaults.ini", WriteSettingsText(DefaultSettings())),
      seed("changed.ini", WriteSettingsText(changed)),
      seed("broken.ini", "volume = 5\n[display]\nfullscreen = maybe\nwidth = 1\nwords\n[sound]\nvolume = 101\n"
                         "[colours]\nred = 1\n[keys]\nleft = Lft\nright = J\nup = J, ,\ndown = F12\nok =\n"),
      seed("edited.ini", "\xEF\xBB\xBF# mine\r\n[keys]\r\nleft = keypad 4, ,\r\nok = space,return\r\n"),
  };
}

bool WriteSeeds(const std::vector<Seed>& seeds, const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  for (const auto& [name, bytes] : seeds) {
    std::ofstream out(folder / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) return false;
  }
  return true;
}

}  // namespace
}  // namespace coilrun

int main(int argc, char** argv) {
  using namespace coilrun;
  if (argc != 3) {
    std::fprintf(stderr, "usage: coilrun-fuzz-corpus NAME DIR\n");
    return 2;
  }
  const std::string name = argv[1];
  std::vector<Seed> seeds;
  if (name == "pcx_fuzz") {
    seeds = PcxSeeds();
  } else if (name == "bmp_fuzz") {
    seeds = BmpSeeds();
  } else if (name == "settings_fuzz") {
    seeds = SettingsSeeds();
  } else if (name == "wav_fuzz") {
    seeds = WaveSeeds();
  } else if (name == "bmp_fields_fuzz") {
    seeds = BmpFieldSeeds();
  } else if (name == "replay_fuzz") {
    seeds = ReplaySeeds();
  } else if (name == "score_fuzz") {
    seeds = ScoreSeeds();
  } else {
    std::fprintf(stderr, "coilrun-fuzz-corpus: no seeds for %s\n", argv[1]);
    return 1;
  }
  if (!WriteSeeds(seeds, argv[2])) {
    std::fprintf(stderr, "coilrun-fuzz-corpus: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
