// The plain-code bitmap reader: headers, palette and masks, rows bottom-up or top-down.
#include "platform/common/bitmap_reader.h"

#include <array>
#include <cstdint>

namespace coilrun {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kPixelOffsetField = 10;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
// Where the masks of a BI_BITFIELDS file stand: right after the 40-byte header, inside a later one.
constexpr size_t kMasksOffset = kFileHeaderSize + kInfoHeaderSize;
constexpr uint32_t kPlainRgb = 0;
constexpr uint32_t kBitFields = 3;

uint32_t Le16(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8);
}
uint32_t Le32(const uint8_t* p) {
  return Le16(p) | (Le16(p + 2) << 16);
}

// One colour field of a 16- or 32-bit pixel: where it sits and how wide it is.
struct Field {
  uint32_t mask = 0;
  int shift = 0;
  int width = 0;
};

Field MakeField(uint32_t mask) {
  Field field{mask, 0, 0};
  if (mask == 0) return field;
  while (((mask >> field.shift) & 1) == 0) ++field.shift;
  while (field.shift + field.width < 32 && ((mask >> (field.shift + field.width)) & 1) != 0) ++field.width;
  return field;
}

// The field's value at 8 bits: a wider field keeps its top bits, a narrower one repeats its own.
uint32_t Widen(const Field& field, uint32_t pixel) {
  if (field.width == 0) return 0;
  const uint32_t value = (pixel & field.mask) >> field.shift;
  if (field.width >= 8) return (value >> (field.width - 8)) & 0xFF;
  uint32_t wide = 0;
  for (int filled = 0; filled < 8; filled += field.width) {
    const int room = 8 - filled;
    wide |= room >= field.width ? value << (room - field.width) : value >> (field.width - room);
  }
  return wide & 0xFF;
}

// What the headers say.
struct Layout {
  int32_t width = 0;
  int32_t height = 0;  // the number of rows, always positive
  bool topDown = false;
  uint32_t bitsPerPixel = 0;
  size_t pixelOffset = 0;
  size_t paletteOffset = 0;
  size_t paletteEntrySize = 4;
  uint32_t paletteCount = 0;
  std::array<Field, 3> fields;  // red, green, blue
};

bool ReadMasks(const uint8_t* bytes, size_t size, uint32_t compression, Layout* layout) {
  if (compression == kBitFields) {
    if (size < kMasksOffset + 12) return false;
    for (size_t i = 0; i < 3; ++i) layout->fields[i] = MakeField(Le32(bytes + kMasksOffset + 4 * i));
    return true;
  }
  if (compression != kPlainRgb) return false;
  const bool sixteen = layout->bitsPerPixel == 16;
  layout->fields = {MakeField(sixteen ? 0x7C00 : 0xFF0000), MakeField(sixteen ? 0x03E0 : 0x00FF00),
                    MakeField(sixteen ? 0x001F : 0x0000FF)};
  return true;
}

bool ReadHeaders(const uint8_t* bytes, size_t size, Layout* layout) {
  if (size < kFileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M') return false;
  layout->pixelOffset = Le32(bytes + kPixelOffsetField);
  const uint32_t headerSize = Le32(bytes + kFileHeaderSize);
  const uint8_t* info = bytes + kFileHeaderSize + 4;
  uint32_t compression = kPlainRgb;
  uint32_t colours = 0;
  if (headerSize == kCoreHeaderSize) {
    if (size < kFileHeaderSize + kCoreHeaderSize) return false;
    layout->width = static_cast<int32_t>(Le16(info));
    layout->height = static_cast<int32_t>(Le16(info + 2));
    layout->bitsPerPixel = Le16(info + 6);
    layout->paletteEntrySize = 3;
  } else {
    if (headerSize < kInfoHeaderSize || size < kFileHeaderSize + kInfoHeaderSize) return false;
    layout->width = static_cast<int32_t>(Le32(info));
    const auto height = static_cast<int32_t>(Le32(info + 4));
    if (height == INT32_MIN) return false;
    layout->topDown = height < 0;
    layout->height = height < 0 ? -height : height;
    layout->bitsPerPixel = Le16(info + 10);
    compression = Le32(info + 12);
    colours = Le32(info + 28);
  }
  if (layout->width <= 0 || layout->height <= 0) return false;
  layout->paletteOffset = kFileHeaderSize + headerSize;
  switch (layout->bitsPerPixel) {
    case 1:
    case 4:
    case 8:
      if (compression != kPlainRgb) return false;
      layout->paletteCount = colours == 0 ? 1u << layout->bitsPerPixel : colours;
      return layout->paletteCount <= (1u << layout->bitsPerPixel) &&
             layout->paletteOffset + layout->paletteCount * layout->paletteEntrySize <= size;
    case 16:
    case 32:
      return ReadMasks(bytes, size, compression, layout);
    case 24:
      return compression == kPlainRgb;
    default:
      return false;
  }
}

// The colour of pixel x of a row of the file.
bool PixelOfRow(const Layout& layout, const uint8_t* bytes, const uint8_t* row, int32_t x, uint32_t* rgb) {
  const uint32_t bits = layout.bitsPerPixel;
  if (bits <= 8) {
    const size_t bit = static_cast<size_t>(x) * bits;
    const uint32_t index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
    if (index >= layout.paletteCount) return false;
    const uint8_t* entry = bytes + layout.paletteOffset + index * layout.paletteEntrySize;
    *rgb = (uint32_t{entry[2]} << 16) | (uint32_t{entry[1]} << 8) | entry[0];
    return true;
  }
  if (bits == 24) {
    const uint8_t* p = row + static_cast<size_t>(x) * 3;
    *rgb = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
    return true;
  }
  const uint32_t pixel =
      bits == 16 ? Le16(row + static_cast<size_t>(x) * 2) : Le32(row + static_cast<size_t>(x) * 4);
  *rgb = (Widen(layout.fields[0], pixel) << 16) | (Widen(layout.fields[1], pixel) << 8) |
         Widen(layout.fields[2], pixel);
  return true;
}

}  // namespace

bool ReadBitmapFile(const uint8_t* bytes, size_t size, DecodedBitmap* picture) {
  Layout layout;
  if (bytes == nullptr || !ReadHeaders(bytes, size, &layout)) return false;
  const size_t stride = (static_cast<size_t>(layout.width) * layout.bitsPerPixel + 31) / 32 * 4;
  const size_t rows = static_cast<size_t>(layout.height);
  // The last row needs only its pixels, not its padding.
  const size_t lastRow = (static_cast<size_t>(layout.width) * layout.bitsPerPixel + 7) / 8;
  if (layout.pixelOffset > size || size - layout.pixelOffset < lastRow ||
      (size - layout.pixelOffset - lastRow) / stride + 1 < rows) {
    return false;
  }
  picture->width = layout.width;
  picture->height = layout.height;
  picture->pixels.resize(rows * static_cast<size_t>(layout.width));
  uint32_t* out = picture->pixels.data();
  for (size_t y = 0; y < rows; ++y) {
    const size_t fileRow = layout.topDown ? y : rows - 1 - y;
    const uint8_t* row = bytes + layout.pixelOffset + fileRow * stride;
    for (int32_t x = 0; x < layout.width; ++x) {
      if (!PixelOfRow(layout, bytes, row, x, out++)) return false;
    }
  }
  return true;
}

}  // namespace coilrun
