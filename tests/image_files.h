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

namespace image_files_detail {

inline void PutUint16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void PutUint32(std::vector<uint8_t>& out, uint32_t value) {
  PutUint16(out, value & 0xFFFF);
  PutUint16(out, value >> 16);
}

inline void PatchUint32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
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

// Run-length codes one stretch of palette indices: runs of up to 63, a lone index below 0xC0 as itself,
// a lone index from 0xC0 up as a run of one.
inline std::vector<uint8_t> EncodePcxStretch(const uint8_t* indices, size_t count) {
  std::vector<uint8_t> coded;
  size_t i = 0;
  while (i < count) {
    size_t run = 1;
    while (i + run < count && run < 63 && indices[i + run] == indices[i]) ++run;
    if (run > 1 || indices[i] >= 0xC0) coded.push_back(static_cast<uint8_t>(0xC0 | run));
    coded.push_back(indices[i]);
    i += run;
  }
  return coded;
}

// Codes a picture row by row, as a PCX writer does: no run crosses a row's end.
inline std::vector<uint8_t> EncodePcxRows(const std::vector<uint8_t>& indices, int width) {
  std::vector<uint8_t> coded;
  for (size_t row = 0; row < indices.size(); row += static_cast<size_t>(width)) {
    const std::vector<uint8_t> line = EncodePcxStretch(indices.data() + row, static_cast<size_t>(width));
    coded.insert(coded.end(), line.begin(), line.end());
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
  using image_files_detail::PutUint16;
  std::vector<uint8_t> file = {0x0A, 5, 1, 8};
  for (int16_t edge : {edges.xmin, edges.ymin, edges.xmax, edges.ymax}) {
    PutUint16(file, static_cast<uint16_t>(edge));
  }
  PutUint16(file, 72);  // dots per inch, across and down
  PutUint16(file, 72);
  file.resize(65, 0);
  // One plane, bytes per line equal to the width, a colour palette.
  file.push_back(1);
  PutUint16(file, static_cast<uint16_t>(edges.xmax - edges.xmin + 1));
  PutUint16(file, 1);
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

// The bitmap variants the writer makes: palettised at 1, 2, 4 and 8 bits, run-length coded at 4 and 8 bits,
// 16-bit 5-5-5 and bit-field 5-6-5, 24 and 32 bits, the OS/2 12-byte header (8 bits, 3-byte palette), the
// V4 header (32-bit bit fields with alpha), the V5 header (24 bits) and a top-down 24-bit file.
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
  kTopDown,
};

inline constexpr std::array<BmpVariant, 14> kAllBmpVariants = {
    BmpVariant::kIndexed1, BmpVariant::kIndexed2, BmpVariant::kIndexed4, BmpVariant::kIndexed8,
    BmpVariant::kRle4,     BmpVariant::kRle8,     BmpVariant::kRgb555,   BmpVariant::kBitfields565,
    BmpVariant::kRgb24,    BmpVariant::kRgb32,    BmpVariant::kOs2,      BmpVariant::kV4,
    BmpVariant::kV5,       BmpVariant::kTopDown};

inline const char* BmpVariantName(BmpVariant variant) {
  constexpr std::array<const char*, 14> kNames = {"indexed1", "indexed2", "indexed4",     "indexed8", "rle4",
                                                  "rle8",     "rgb555",   "bitfields565", "rgb24",    "rgb32",
                                                  "os2",      "v4",       "v5",           "topdown"};
  return kNames[static_cast<size_t>(variant)];
}

// How many colours a file of the variant can hold; 0 for a variant without a palette.
inline int BmpPaletteLimit(BmpVariant variant) {
  switch (variant) {
    case BmpVariant::kIndexed1:
      return 2;
    case BmpVariant::kIndexed2:
      return 4;
    case BmpVariant::kIndexed4:
    case BmpVariant::kRle4:
      return 16;
    case BmpVariant::kIndexed8:
    case BmpVariant::kRle8:
    case BmpVariant::kOs2:
      return 256;
    default:
      return 0;
  }
}

// The colours of the sample pictures; all but the body colour are exact in every bitmap variant.
inline constexpr std::array<Rgb, 9> kSampleColours = {kFileWhite,       kFileBlack,       Rgb{255, 0, 0},
                                                      kFileBody,        Rgb{0, 255, 0},   Rgb{0, 0, 255},
                                                      Rgb{255, 255, 0}, Rgb{0, 255, 255}, Rgb{255, 0, 255}};

// A picture of `colours` sample colours (white first) whose top-left pixel is white and which reads
// differently upside down, so that a flipped picture is caught. Each row starts with a run of three equal
// pixels followed by differing ones, so that run-length coding uses both its modes.
inline RgbPicture SampleRgbPicture(int width, int height, int colours) {
  const int count = std::min<int>(colours, static_cast<int>(kSampleColours.size()));
  RgbPicture picture{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.pixels.push_back(kSampleColours[(std::max(0, x - 2) + y + (y >= 2)) % count]);
    }
  }
  return picture;
}

namespace image_files_detail {

enum : uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3 };

struct BmpLayout {
  uint32_t infoSize;
  uint16_t bitsPerPixel;
  uint32_t compression;
  bool topDown;
};

inline BmpLayout LayoutOf(BmpVariant variant) {
  switch (variant) {
    case BmpVariant::kIndexed1:
      return {40, 1, kBiRgb, false};
    case BmpVariant::kIndexed2:
      return {40, 2, kBiRgb, false};
    case BmpVariant::kIndexed4:
      return {40, 4, kBiRgb, false};
    case BmpVariant::kIndexed8:
      return {40, 8, kBiRgb, false};
    case BmpVariant::kRle4:
      return {40, 4, kBiRle4, false};
    case BmpVariant::kRle8:
      return {40, 8, kBiRle8, false};
    case BmpVariant::kRgb555:
      return {40, 16, kBiRgb, false};
    case BmpVariant::kBitfields565:
      return {40, 16, kBiBitfields, false};
    case BmpVariant::kRgb24:
      return {40, 24, kBiRgb, false};
    case BmpVariant::kRgb32:
      return {40, 32, kBiRgb, false};
    case BmpVariant::kOs2:
      return {12, 8, kBiRgb, false};
    case BmpVariant::kV4:
      return {108, 32, kBiBitfields, false};
    case BmpVariant::kV5:
      return {124, 24, kBiRgb, false};
    case BmpVariant::kTopDown:
      return {40, 24, kBiRgb, true};
  }
  return {40, 24, kBiRgb, false};
}

// The picture's distinct colours in order of first appearance.
inline std::vector<Rgb> PaletteOf(const RgbPicture& picture) {
  std::vector<Rgb> palette;
  for (const Rgb& colour : picture.pixels) {
    if (std::find(palette.begin(), palette.end(), colour) == palette.end()) palette.push_back(colour);
  }
  return palette;
}

inline std::vector<uint8_t> IndexRow(const RgbPicture& picture, const std::vector<Rgb>& palette, int y) {
  std::vector<uint8_t> row;
  for (int x = 0; x < picture.width; ++x) {
    row.push_back(
        static_cast<uint8_t>(std::find(palette.begin(), palette.end(), picture.At(x, y)) - palette.begin()));
  }
  return row;
}

inline void PadToFour(std::vector<uint8_t>& row) {
  while (row.size() % 4 != 0) row.push_back(0);
}

// One uncompressed row, padded to a multiple of four bytes.
inline std::vector<uint8_t> PlainRow(const RgbPicture& picture, const std::vector<Rgb>& palette, int y,
                                     uint16_t bits) {
  std::vector<uint8_t> row;
  if (bits <= 8) {
    const std::vector<uint8_t> indices = IndexRow(picture, palette, y);
    const int perByte = 8 / bits;
    for (size_t x = 0; x < indices.size(); ++x) {
      if (x % perByte == 0) row.push_back(0);
      row.back() |= static_cast<uint8_t>(indices[x] << (8 - bits * (x % perByte + 1)));
    }
  } else {
    for (int x = 0; x < picture.width; ++x) {
      const Rgb c = picture.At(x, y);
      if (bits == 16) {
        PutUint16(row, (static_cast<uint32_t>(c.red >> 3) << 10) | ((c.green >> 3) << 5) | (c.blue >> 3));
      } else {
        row.insert(row.end(), {c.blue, c.green, c.red});
        if (bits == 32) row.push_back(0xFF);
      }
    }
  }
  PadToFour(row);
  return row;
}

inline std::vector<uint8_t> Rows565(const RgbPicture& picture) {
  std::vector<uint8_t> data;
  for (int y = picture.height - 1; y >= 0; --y) {
    std::vector<uint8_t> row;
    for (int x = 0; x < picture.width; ++x) {
      const Rgb c = picture.At(x, y);
      PutUint16(row, (static_cast<uint32_t>(c.red >> 3) << 11) | ((c.green >> 2) << 5) | (c.blue >> 3));
    }
    PadToFour(row);
    data.insert(data.end(), row.begin(), row.end());
  }
  return data;
}

// One row run-length coded at 8 or 4 bits: repeats as counted runs, stretches of three or more differing
// indices in absolute mode (padded to a 16-bit boundary), then the end-of-line code.
inline void EncodeRleRow(const std::vector<uint8_t>& indices, uint16_t bits, std::vector<uint8_t>& out) {
  size_t i = 0;
  while (i < indices.size()) {
    size_t run = 1;
    while (i + run < indices.size() && run < 255 && indices[i + run] == indices[i]) ++run;
    if (run >= 2) {
      out.push_back(static_cast<uint8_t>(run));
      out.push_back(bits == 8 ? indices[i] : static_cast<uint8_t>(indices[i] << 4 | indices[i]));
      i += run;
      continue;
    }
    size_t literal = 1;
    while (i + literal < indices.size() && literal < 255 &&
           (i + literal + 1 >= indices.size() || indices[i + literal] != indices[i + literal + 1])) {
      ++literal;
    }
    if (literal < 3) {
      out.push_back(1);
      out.push_back(bits == 8 ? indices[i] : static_cast<uint8_t>(indices[i] << 4));
      ++i;
      continue;
    }
    out.push_back(0);
    out.push_back(static_cast<uint8_t>(literal));
    const size_t start = out.size();
    for (size_t k = 0; k < literal; ++k) {
      if (bits == 8) {
        out.push_back(indices[i + k]);
      } else if (k % 2 == 0) {
        out.push_back(static_cast<uint8_t>(indices[i + k] << 4));
      } else {
        out.back() |= indices[i + k];
      }
    }
    if ((out.size() - start) % 2 != 0) out.push_back(0);
    i += literal;
  }
  out.push_back(0);
  out.push_back(0);
}

}  // namespace image_files_detail

// A whole bitmap file of the picture in the variant. A palettised variant takes the picture's distinct
// colours as its palette, so the picture must have no more than BmpPaletteLimit colours.
inline std::vector<uint8_t> MakeBmpFile(const RgbPicture& picture, BmpVariant variant) {
  using namespace image_files_detail;
  const BmpLayout layout = LayoutOf(variant);
  std::vector<Rgb> palette;
  if (layout.bitsPerPixel <= 8) palette = PaletteOf(picture);
  // The OS/2 header has no count of colours: its palette is always full.
  if (variant == BmpVariant::kOs2) palette.resize(256, kFileBlack);

  std::vector<uint8_t> data;
  if (variant == BmpVariant::kBitfields565) {
    data = Rows565(picture);
  } else if (layout.compression == kBiRle8 || layout.compression == kBiRle4) {
    for (int y = picture.height - 1; y >= 0; --y) {
      EncodeRleRow(IndexRow(picture, palette, y), layout.bitsPerPixel, data);
    }
    data.back() = 1;  // the last end-of-line becomes the end of the bitmap
  } else {
    for (int i = 0; i < picture.height; ++i) {
      const int y = layout.topDown ? i : picture.height - 1 - i;
      const std::vector<uint8_t> row = PlainRow(picture, palette, y, layout.bitsPerPixel);
      data.insert(data.end(), row.begin(), row.end());
    }
  }

  std::vector<uint8_t> info;
  PutUint32(info, layout.infoSize);
  if (layout.infoSize == 12) {
    PutUint16(info, static_cast<uint16_t>(picture.width));
    PutUint16(info, static_cast<uint16_t>(picture.height));
    PutUint16(info, 1);
    PutUint16(info, layout.bitsPerPixel);
  } else {
    PutUint32(info, static_cast<uint32_t>(picture.width));
    PutUint32(info, static_cast<uint32_t>(layout.topDown ? -picture.height : picture.height));
    PutUint16(info, 1);
    PutUint16(info, layout.bitsPerPixel);
    PutUint32(info, layout.compression);
    PutUint32(info, static_cast<uint32_t>(data.size()));
    PutUint32(info, 2835);  // 72 dots per inch
    PutUint32(info, 2835);
    PutUint32(info, static_cast<uint32_t>(palette.size()));
    PutUint32(info, 0);
    if (variant == BmpVariant::kBitfields565) {
      for (uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu}) PutUint32(info, mask);
    }
    if (layout.infoSize >= 108) {
      const bool masked = layout.compression == kBiBitfields;
      for (uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) {
        PutUint32(info, masked ? mask : 0);
      }
      PutUint32(info, 0x73524742);  // 'sRGB': no calibration data follows
      info.resize(layout.infoSize - (layout.infoSize == 124 ? 16 : 0), 0);
      if (layout.infoSize == 124) {
        PutUint32(info, 4);  // picture rendering intent
        PutUint32(info, 0);
        PutUint32(info, 0);
        PutUint32(info, 0);
      }
    }
  }
  for (const Rgb& colour : palette) {
    info.insert(info.end(), {colour.blue, colour.green, colour.red});
    if (layout.infoSize != 12) info.push_back(0);
  }

  std::vector<uint8_t> file = {'B', 'M'};
  PutUint32(file, 0);
  PutUint32(file, 0);
  PutUint32(file, static_cast<uint32_t>(14 + info.size()));
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), data.begin(), data.end());
  PatchUint32(file, 2, static_cast<uint32_t>(file.size()));
  return file;
}

}  // namespace coilrun
