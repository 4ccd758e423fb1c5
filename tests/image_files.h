// Small valid PCX-coded and bitmap files built in memory, for tests, fuzz seeds and benchmarks.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "file_bytes.h"

namespace coilrun {

// One colour of 8 bits a channel.
struct Rgb {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
  bool operator==(const Rgb&) const = default;
};

// A picture of 8-bit-per-channel colours, top row first.
struct RgbPicture {
  int width;
  int height;
  std::vector<Rgb> pixels;
  Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline constexpr Rgb kFileWhite{255, 255, 255};
inline constexpr Rgb kFileBlack{0, 0, 0};

// The bitmap variants the writer makes. The loader reads the sizes from the header itself, in 16 bits in
// the 12-byte OS/2 header and in 32 in the 40-byte one, where a height below 0 marks a top-down file; the
// other depths and compressions are the system reader's business.
enum class BmpVariant { kIndexed8, kOs2, kRgb24, kTopDown };

inline constexpr std::array<BmpVariant, 4> kAllBmpVariants = {BmpVariant::kIndexed8, BmpVariant::kOs2,
                                                              BmpVariant::kRgb24, BmpVariant::kTopDown};

inline constexpr std::array<Rgb, 9> kSampleColours = {kFileWhite,        kFileBlack,       Rgb{255, 0, 0},
                                                      Rgb{51, 102, 255}, Rgb{0, 255, 0},   Rgb{0, 0, 255},
                                                      Rgb{255, 255, 0},  Rgb{0, 255, 255}, Rgb{255, 0, 255}};

// A picture of the sample colours whose top-left pixel is white and which reads differently upside down
// and mirrored, so that a flipped picture is caught.
inline RgbPicture SampleRgbPicture(int width, int height) {
  RgbPicture picture{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      picture.pixels.push_back(kSampleColours[(x + 2 * y) % kSampleColours.size()]);
  }
  return picture;
}

// --- PCX-coded files ---

using PcxPalette = std::array<uint8_t, 768>;

// Entry i is red (i & 31) * 8, green (i >> 5) * 4, blue 0: every entry packs to a different 5-6-5 pixel,
// and entry 0 is black.
inline PcxPalette DistinctPcxPalette() {
  PcxPalette palette{};
  for (int i = 0; i < 256; ++i) {
    palette[3 * i] = static_cast<uint8_t>((i & 31) * 8);
    palette[3 * i + 1] = static_cast<uint8_t>((i >> 5) * 4);
  }
  return palette;
}

// Codes a picture row by row, as a PCX writer does: no run crosses a row's end. Runs are of up to 63, a
// lone index below 0xC0 is itself, a lone index from 0xC0 up is a run of one.
inline std::vector<uint8_t> EncodePcxRows(const std::vector<uint8_t>& indices, int width) {
  std::vector<uint8_t> coded;
  for (size_t i = 0; i < indices.size();) {
    const size_t rowEnd = (i / width + 1) * width;
    size_t run = 1;
    while (i + run < rowEnd && run < 63 && indices[i + run] == indices[i]) ++run;
    if (run > 1 || indices[i] >= 0xC0) coded.push_back(static_cast<uint8_t>(0xC0 | run));
    coded.push_back(indices[i]);
    i += run;
  }
  return coded;
}

// The inclusive edges the header gives.
struct PcxEdges {
  int16_t xmin;
  int16_t ymin;
  int16_t xmax;
  int16_t ymax;
};

// A whole file: the 128-byte header of an 8-bit, one-plane picture, the coded data as given, then the
// palette, with or without the 0x0C marker in front of it.
inline std::vector<uint8_t> MakePcxFile(PcxEdges edges, const std::vector<uint8_t>& coded,
                                        const PcxPalette& palette, bool withMarker = true) {
  std::vector<uint8_t> file = {0x0A, 5, 1, 8};
  for (uint16_t edge : {edges.xmin, edges.ymin, edges.xmax, edges.ymax}) PutLe(file, edge, 2);
  PutLe(file, 72, 2);  // dots per inch, across and down
  PutLe(file, 72, 2);
  file.resize(65, 0);
  // One plane, bytes per line equal to the width, a colour palette.
  file.push_back(1);
  PutLe(file, static_cast<uint16_t>(edges.xmax - edges.xmin + 1), 2);
  PutLe(file, 1, 2);
  file.resize(128, 0);
  file.insert(file.end(), coded.begin(), coded.end());
  if (withMarker) file.push_back(0x0C);
  file.insert(file.end(), palette.begin(), palette.end());
  return file;
}

// A whole file of a picture of palette indices, top row first, coded row by row.
inline std::vector<uint8_t> MakePcxPicture(int16_t width, int16_t height, const std::vector<uint8_t>& indices,
                                           const PcxPalette& palette, bool withMarker = true) {
  return MakePcxFile(PcxEdges{0, 0, static_cast<int16_t>(width - 1), static_cast<int16_t>(height - 1)},
                     EncodePcxRows(indices, width), palette, withMarker);
}

// --- Bitmap files ---

inline const char* BmpVariantName(BmpVariant variant) {
  constexpr const char* kNames[] = {"indexed8", "os2", "rgb24", "topdown"};
  return kNames[static_cast<size_t>(variant)];
}

// A whole bitmap file of the picture in the variant. A palettised variant takes the picture's distinct
// colours as its palette, so the picture must have no more than 256 colours.
inline std::vector<uint8_t> MakeBmpFile(const RgbPicture& picture, BmpVariant variant) {
  const bool os2 = variant == BmpVariant::kOs2, indexed = os2 || variant == BmpVariant::kIndexed8;
  std::vector<Rgb> palette;
  for (const Rgb& c : picture.pixels) {
    if (indexed && std::ranges::find(palette, c) == palette.end()) palette.push_back(c);
  }
  // The OS/2 header has no count of colours: its palette is always full.
  if (os2) palette.resize(256, kFileBlack);

  std::vector<uint8_t> data;
  for (int i = 0; i < picture.height; ++i) {
    const int y = variant == BmpVariant::kTopDown ? i : picture.height - 1 - i;
    for (int x = 0; x < picture.width; ++x) {
      const Rgb c = picture.At(x, y);
      if (indexed) {
        data.push_back(static_cast<uint8_t>(std::ranges::find(palette, c) - palette.begin()));
      } else {
        data.insert(data.end(), {c.blue, c.green, c.red});
      }
    }
    data.resize((data.size() + 3) / 4 * 4, 0);  // each row padded to a multiple of four bytes
  }

  std::vector<uint8_t> info;
  PutLe(info, os2 ? 12 : 40, 4);
  const int side = os2 ? 2 : 4;
  PutLe(info, static_cast<uint32_t>(picture.width), side);
  PutLe(info, static_cast<uint32_t>(variant == BmpVariant::kTopDown ? -picture.height : picture.height),
            side);
  PutLe(info, 1, 2);  // one plane
  PutLe(info, indexed ? 8 : 24, 2);
  // No compression, the data's size, 72 dots per inch (2835 a metre) across and down, the colours used.
  const auto dataSize = static_cast<uint32_t>(data.size()), colours = static_cast<uint32_t>(palette.size());
  for (uint32_t field : {0u, dataSize, 2835u, 2835u, colours, 0u}) {
    if (!os2) PutLe(info, field, 4);
  }
  for (const Rgb& colour : palette) {
    info.insert(info.end(), {colour.blue, colour.green, colour.red});
    if (!os2) info.push_back(0);
  }
  std::vector<uint8_t> file = {'B', 'M'};
  PutLe(file, static_cast<uint32_t>(14 + info.size() + data.size()), 4);
  PutLe(file, 0, 4);
  PutLe(file, static_cast<uint32_t>(14 + info.size()), 4);
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

}  // namespace coilrun
