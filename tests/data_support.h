// Helpers for the tests of the data tool: running it, temporary folders, and plain readers of the files it
// writes (independent of the game's loaders, so that a fault in one cannot hide a fault in the other).
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace coilrun {

using FileBytes = std::vector<uint8_t>;

struct ToolRun {
  int exitCode = -1;
  std::string output;  // stdout and stderr together
};

inline ToolRun RunDataTool(const std::string& arguments) {
  const std::string command = std::string(COILRUN_BINARY_DIR) + "/coilrun-data " + arguments + " 2>&1";
  ToolRun run;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) run.output += buffer;
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();  // none outside a test
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("coilrun-" + std::string(info != nullptr ? info->name() : "suite") + "-" +
             std::to_string(getpid()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string Path() const { return path_.string(); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline FileBytes ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return FileBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::string& path, const FileBytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline uint32_t Le16(const FileBytes& b, size_t at) {
  return b.at(at) | (static_cast<uint32_t>(b.at(at + 1)) << 8);
}
inline uint32_t Le32(const FileBytes& b, size_t at) {
  return Le16(b, at) | (Le16(b, at + 2) << 16);
}

struct Colour {
  uint8_t r, g, b;
  friend bool operator==(const Colour&, const Colour&) = default;
};

// A picture decoded to colours, row by row from the top.
struct Decoded {
  int width = 0;
  int height = 0;
  std::vector<Colour> pixels;
  Colour At(int x, int y) const { return pixels.at(static_cast<size_t>(y * width + x)); }
};

// Decodes a 256-colour PCX file the strict way: bytes per line equal to the width, and the coded data
// ending exactly at the palette marker. Fails the test otherwise.
inline Decoded DecodePcx(const FileBytes& b) {
  Decoded d;
  if (b.size() < 128 + 769) {
    ADD_FAILURE() << "too short for a PCX file";
    return d;
  }
  d.width = static_cast<int>(Le16(b, 8) - Le16(b, 4) + 1);
  d.height = static_cast<int>(Le16(b, 10) - Le16(b, 6) + 1);
  EXPECT_EQ(Le16(b, 66), static_cast<uint32_t>(d.width)) << "bytes per line";
  EXPECT_EQ(b[3], 8) << "bits per pixel";
  EXPECT_EQ(b[65], 1) << "planes";
  const size_t paletteAt = b.size() - 768;
  EXPECT_EQ(b[paletteAt - 1], 0x0C) << "palette marker";
  size_t at = 128;
  const size_t count = static_cast<size_t>(d.width) * static_cast<size_t>(d.height);
  while (d.pixels.size() < count && at < paletteAt - 1) {
    uint8_t value = b[at++];
    size_t run = 1;
    if ((value & 0xC0) == 0xC0) {
      run = value & 0x3F;
      value = b[at++];
    }
    const Colour c{b[paletteAt + 3 * value], b[paletteAt + 3 * value + 1], b[paletteAt + 3 * value + 2]};
    d.pixels.insert(d.pixels.end(), run, c);
  }
  EXPECT_EQ(d.pixels.size(), count) << "pixels decoded";
  EXPECT_EQ(at, paletteAt - 1) << "coded data must end at the palette marker";
  d.pixels.resize(count);
  return d;
}

// Decodes an uncompressed bottom-up Windows bitmap of 8 or 24 bits per pixel.
inline Decoded DecodeBitmap(const FileBytes& b) {
  Decoded d;
  d.width = static_cast<int>(Le32(b, 18));
  d.height = static_cast<int>(Le32(b, 22));
  const uint32_t bits = Le16(b, 28), offset = Le32(b, 10);
  EXPECT_EQ(Le32(b, 30), 0u) << "compression";
  const size_t rowBytes = (static_cast<size_t>(d.width) * bits / 8 + 3) & ~size_t{3};
  for (int y = 0; y < d.height; ++y) {
    const size_t row = offset + static_cast<size_t>(d.height - 1 - y) * rowBytes;
    for (int x = 0; x < d.width; ++x) {
      if (bits == 24) {
        const size_t at = row + static_cast<size_t>(x) * 3;
        d.pixels.push_back({b.at(at + 2), b.at(at + 1), b.at(at)});
      } else {
        const size_t entry = 54 + 4 * static_cast<size_t>(b.at(row + static_cast<size_t>(x)));
        d.pixels.push_back({b.at(entry + 2), b.at(entry + 1), b.at(entry)});
      }
    }
  }
  return d;
}

// What a colour becomes in the 5-6-5 display.
inline uint16_t Pack565(Colour c) {
  return static_cast<uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
}
inline constexpr uint16_t kBody565 = ((51 >> 3) << 11) | ((102 >> 2) << 5) | (255 >> 3);
inline constexpr uint16_t kWhite565 = 0xFFFF;

}  // namespace coilrun
