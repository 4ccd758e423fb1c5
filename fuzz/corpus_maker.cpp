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
