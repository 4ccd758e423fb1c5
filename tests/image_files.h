// Small valid PCX-coded and bitmap files built in memory, for tests, fuzz seeds and benchmarks.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

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
// The snake's body colour, which a stage background may use for walls.
inline constexpr Rgb kFileBody{51, 102, 255};

// The bitmap variants the writer makes; kBmpLayouts below says how each is written.
enum class BmpVariant {
  kIndexed1,
  kIndexed2,
  kIndexed4,
  kIndexed8,
  kRle4,
  kRle8,
  kRgb555,
  kBitfields565,
  kRgb24,
  kRgb32,
  kOs2,
  kV4,
  kV5,
  kTopDown
};

inline constexpr std::array<BmpVariant, 14> kAllBmpVariants = {
    BmpVariant::kIndexed1, BmpVariant::kIndexed2, BmpVariant::kIndexed4, BmpVariant::kIndexed8,
    BmpVariant::kRle4,     BmpVariant::kRle8,     BmpVariant::kRgb555,   BmpVariant::kBitfields565,
    BmpVariant::kRgb24,    BmpVariant::kRgb32,    BmpVariant::kOs2,      BmpVariant::kV4,
    BmpVariant::kV5,       BmpVariant::kTopDown};

// The colours of the sample pictures; all but the body colour are exact in every bitmap variant.
inline constexpr std::array<Rgb, 9> kSampleColours = {kFileWhite,       kFileBlack,       Rgb{255, 0, 0},
                                                      kFileBody,        Rgb{0, 255, 0},   Rgb{0, 0, 255},
                                                      Rgb{255, 255, 0}, Rgb{0, 255, 255}, Rgb{255, 0, 255}};

// A picture of `colours` sample colours (all of them for 0; white first) whose top-left pixel is white and
// which reads differently upside down, so that a flipped picture is caught. Each row starts with a run of
// three equal pixels followed by differing ones, so that run-length coding uses both its modes.
inline RgbPicture SampleRgbPicture(int width, int height, int colours) {
  const size_t all = kSampleColours.size();
  const size_t count = colours == 0 ? all : std::min<size_t>(colours, all);
  RgbPicture picture{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.pixels.push_back(kSampleColours[(std::max(0, x - 2) + y + (y >= 2)) % count]);
    }
  }
  return picture;
}

namespace image_files_detail {

// Appends the low `bytes` bytes of the value, least significant first.
inline void PutLittle(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

enum : uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3 };

// How a variant is written, in the order of BmpVariant: 40-byte headers but for OS/2 (12 bytes, 3-byte
// palette entries), V4 (108, 32-bit bit fields with alpha) and V5 (124); bit fields at 16 bits are 5-6-5.
struct BmpLayout {
  const char* name;
  uint32_t infoSize;
  int bitsPerPixel;
  uint32_t compression;
  bool topDown;
};

inline constexpr std::array<BmpLayout, 14> kBmpLayouts = {{
    {"indexed1", 40, 1, kBiRgb, false},
    {"indexed2", 40, 2, kBiRgb, false},
    {"indexed4", 40, 4, kBiRgb, false},
    {"indexed8", 40, 8, kBiRgb, false},
    {"rle4", 40, 4, kBiRle4, false},
    {"rle8", 40, 8, kBiRle8, false},
    {"rgb555", 40, 16, kBiRgb, false},
    {"bitfields565", 40, 16, kBiBitfields, false},
    {"rgb24", 40, 24, kBiRgb, false},
    {"rgb32", 40, 32, kBiRgb, false},
    {"os2", 12, 8, kBiRgb, false},
    {"v4", 108, 32, kBiBitfields, false},
    {"v5", 124, 24, kBiRgb, false},
    {"topdown", 40, 24, kBiRgb, true},
}};

inline const BmpLayout& LayoutOf(BmpVariant variant) {
  return kBmpLayouts[static_cast<size_t>(variant)];
}

// The palette indices of one row, the palette being the picture's colours in order of first appearance.
inline std::vector<uint8_t> IndexRow(const RgbPicture& picture, const std::vector<Rgb>& palette, int y) {
  std::vector<uint8_t> row;
  for (int x = 0; x < picture.width; ++x) {
    row.push_back(static_cast<uint8_t>(std::ranges::find(palette, picture.At(x, y)) - palette.begin()));
  }
  return row;
}

// One uncompressed row, padded to a multiple of four bytes.
inline std::vector<uint8_t> PlainRow(const RgbPicture& picture, const std::vector<Rgb>& palette, int y,
                                     const BmpLayout& layout) {
  const int bits = layout.bitsPerPixel;
  std::vector<uint8_t> row;
  if (bits <= 8) {
    const std::vector<uint8_t> indices = IndexRow(picture, palette, y);
    const size_t perByte = 8 / bits;
    for (size_t x = 0; x < indices.size(); ++x) {
      if (x % perByte == 0) row.push_back(0);
      row.back() |= static_cast<uint8_t>(indices[x] << (8 - bits * (x % perByte + 1)));
    }
  }
  for (int x = 0; bits > 8 && x < picture.width; ++x) {
    const Rgb c = picture.At(x, y);
    if (bits == 16) {
      const int green = layout.compression == kBiBitfields ? 6 : 5;  // bits of green: 5-6-5 or 5-5-5
      PutLittle(row, ((c.red >> 3) << (5 + green)) | ((c.green >> (8 - green)) << 5) | (c.blue >> 3), 2);
    } else {
      row.insert(row.end(), {c.blue, c.green, c.red});
      if (bits == 32) row.push_back(0xFF);
    }
  }
  row.resize((row.size() + 3) / 4 * 4, 0);
  return row;
}

// One row run-length coded at 8 or 4 bits: repeats as counted runs, stretches of three or more differing
// indices in absolute mode (padded to a 16-bit boundary), then the end-of-line code.
inline void EncodeRleRow(const std::vector<uint8_t>& row, int bits, std::vector<uint8_t>& out) {
  for (size_t i = 0; i < row.size();) {
    size_t run = 1, literal = 1;
    while (i + run < row.size() && run < 255 && row[i + run] == row[i]) ++run;
    while (run == 1 && i + literal < row.size() && literal < 255 &&
           (i + literal + 1 == row.size() || row[i + literal] != row[i + literal + 1])) {
      ++literal;
    }
    if (literal < 3) {
      const auto value = static_cast<uint8_t>(bits == 8 ? row[i] : row[i] << 4 | row[i]);
      out.insert(out.end(), {static_cast<uint8_t>(run), value});
      i += run;
      continue;
    }
    out.insert(out.end(), {0, static_cast<uint8_t>(literal)});
    const size_t start = out.size();
    for (size_t k = 0; k < literal; ++k) {
      if (bits == 8 || k % 2 == 0) {
        out.push_back(static_cast<uint8_t>(row[i + k] << (8 - bits)));
      } else {
        out.back() |= row[i + k];
      }
    }
    if ((out.size() - start) % 2 != 0) out.push_back(0);
    i += literal;
  }
  out.insert(out.end(), {0, 0});
}

// The info header up to its palette: the 12-byte OS/2 one, or the 40-byte one with the 5-6-5 masks after
// it, or the V4 (108) and V5 (124) ones with their masks inside.
inline std::vector<uint8_t> InfoHeader(const RgbPicture& picture, const BmpLayout& layout, uint32_t dataSize,
                                       uint32_t colours) {
  std::vector<uint8_t> info;
  PutLittle(info, layout.infoSize, 4);
  const int side = layout.infoSize == 12 ? 2 : 4;
  PutLittle(info, static_cast<uint32_t>(picture.width), side);
  PutLittle(info, static_cast<uint32_t>(layout.topDown ? -picture.height : picture.height), side);
  PutLittle(info, 1, 2);
  PutLittle(info, static_cast<uint32_t>(layout.bitsPerPixel), 2);
  if (layout.infoSize == 12) return info;
  // 2835 dots a metre, across and down, is 72 dots per inch.
  for (uint32_t field : {layout.compression, dataSize, 2835u, 2835u, colours, 0u}) PutLittle(info, field, 4);
  const bool masked = layout.compression == kBiBitfields;
  if (masked && layout.infoSize == 40) {
    for (uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu}) PutLittle(info, mask, 4);
  }
  if (layout.infoSize < 108) return info;
  for (uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) {
    PutLittle(info, masked ? mask : 0, 4);
  }
  PutLittle(info, 0x73524742, 4);  // 'sRGB': no calibration data follows
  info.resize(108, 0);
  if (layout.infoSize == 124) PutLittle(info, 4, 4);  // picture rendering intent
  info.resize(layout.infoSize, 0);
  return info;
}

}  // namespace image_files_detail

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
  using image_files_detail::PutLittle;
  std::vector<uint8_t> file = {0x0A, 5, 1, 8};
  for (uint16_t edge : {edges.xmin, edges.ymin, edges.xmax, edges.ymax}) PutLittle(file, edge, 2);
  PutLittle(file, 72, 2);  // dots per inch, across and down
  PutLittle(file, 72, 2);
  file.resize(65, 0);
  // One plane, bytes per line equal to the width, a colour palette.
  file.push_back(1);
  PutLittle(file, static_cast<uint16_t>(edges.xmax - edges.xmin + 1), 2);
  PutLittle(file, 1, 2);
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
  return image_files_detail::LayoutOf(variant).name;
}

// How many colours a file of the variant can hold; 0 for a variant without a palette.
inline int BmpPaletteLimit(BmpVariant variant) {
  const int bits = image_files_detail::LayoutOf(variant).bitsPerPixel;
  return bits <= 8 ? 1 << bits : 0;
}

// A whole bitmap file of the picture in the variant. A palettised variant takes the picture's distinct
// colours as its palette, so the picture must have no more than BmpPaletteLimit colours.
inline std::vector<uint8_t> MakeBmpFile(const RgbPicture& picture, BmpVariant variant) {
  using namespace image_files_detail;
  const BmpLayout& layout = LayoutOf(variant);
  std::vector<Rgb> palette;
  for (const Rgb& c : picture.pixels) {
    if (layout.bitsPerPixel <= 8 && std::ranges::find(palette, c) == palette.end()) palette.push_back(c);
  }
  // The OS/2 header has no count of colours: its palette is always full.
  if (variant == BmpVariant::kOs2) palette.resize(256, kFileBlack);

  std::vector<uint8_t> data;
  for (int i = 0; i < picture.height; ++i) {
    const int y = layout.topDown ? i : picture.height - 1 - i;
    if (layout.compression == kBiRle8 || layout.compression == kBiRle4) {
      EncodeRleRow(IndexRow(picture, palette, y), layout.bitsPerPixel, data);
    } else {
      const std::vector<uint8_t> row = PlainRow(picture, palette, y, layout);
      data.insert(data.end(), row.begin(), row.end());
    }
  }
  if (layout.compression == kBiRle8 || layout.compression == kBiRle4) data.back() = 1;  // end of bitmap

  std::vector<uint8_t> info =
      InfoHeader(picture, layout, static_cast<uint32_t>(data.size()), static_cast<uint32_t>(palette.size()));
  for (const Rgb& colour : palette) {
    info.insert(info.end(), {colour.blue, colour.green, colour.red});
    if (layout.infoSize != 12) info.push_back(0);
  }
  std::vector<uint8_t> file = {'B', 'M'};
  PutLittle(file, static_cast<uint32_t>(14 + info.size() + data.size()), 4);
  PutLittle(file, 0, 4);
  PutLittle(file, static_cast<uint32_t>(14 + info.size()), 4);
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

}  // namespace coilrun
