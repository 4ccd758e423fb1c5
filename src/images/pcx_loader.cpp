// The PCX-coded picture loader: the header's edges, the palette at the file's end, the run-length stream.
#include <algorithm>
#include <array>
#include <vector>

#include "devices/data_file.h"
#include "display/display_device.h"
#include "images/images.h"

namespace coilrun {

namespace {

constexpr size_t kHeaderSize = 128;
// 256 entries of red, green and blue, always the file's last bytes; the 0x0C marker before them is not
// looked for, so a file without it loads the same.
constexpr size_t kPaletteSize = 768;
constexpr size_t kPaletteEntries = 256;
constexpr size_t kXminOffset = 4;
constexpr size_t kYminOffset = 6;
constexpr size_t kXmaxOffset = 8;
constexpr size_t kYmaxOffset = 10;
// A byte with both top bits set is a run: its low six bits count the pixels of the byte that follows.
constexpr uint8_t kRunFlags = 0xC0;
constexpr uint8_t kRunLengthMask = 0x3F;
// The largest file read: the header, one coded byte for each pixel of the largest picture accepted (no
// more are ever decoded) and the palette.
constexpr size_t kMaxFileSize = kHeaderSize + size_t{kMaxImageSide} * kMaxImageSide + kPaletteSize;

// The size of the picture the header describes.
struct PictureSize {
  int16_t width;
  int16_t height;
};

// What the decoder uses of a file besides its header, wherever it was read from.
struct PcxPieces {
  const uint8_t* coded;  // codedSize bytes, from offset 128
  size_t codedSize;
  const uint8_t* palette;  // kPaletteSize bytes
};

int16_t ReadInt16(const uint8_t* bytes) {
  return static_cast<int16_t>(bytes[0] | (bytes[1] << 8));
}

// The picture's size from its inclusive edges, false when no surface is to be made for it. The sizes are
// computed in 16 bits as the edges are; a difference that wraps comes out below 1 and is refused.
bool ReadPictureSize(const uint8_t* header, PictureSize* size) {
  size->width = static_cast<int16_t>(ReadInt16(header + kXmaxOffset) - ReadInt16(header + kXminOffset) + 1);
  size->height = static_cast<int16_t>(ReadInt16(header + kYmaxOffset) - ReadInt16(header + kYminOffset) + 1);
  return size->width >= 1 && size->height >= 1 && size->width <= kMaxImageSide &&
         size->height <= kMaxImageSide;
}

size_t PixelCount(PictureSize size) {
  return static_cast<size_t>(size.width) * static_cast<size_t>(size.height);
}

// How many coded bytes are read: one per pixel at most, fewer where the file ends sooner (the palette is
// then part of them, and a well-formed picture is complete before reaching it).
size_t CodedSizeFor(PictureSize size, size_t fileSize) {
  return std::min(PixelCount(size), fileSize - kHeaderSize);
}

void BuildPixelPalette(const uint8_t* palette, std::array<uint16_t, kPaletteEntries>* pixels) {
  for (size_t i = 0; i < kPaletteEntries; ++i) {
    (*pixels)[i] = PackColor(palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]);
  }
}

// Decodes the run-length stream into the picture's pixels, row after row as one stream: a run that passes
// a row's end goes on in the next row. Stops at the picture's last pixel, cutting a run that would pass it,
// or where the coded bytes end, leaving the pixels not reached as they were.
void DecodeRuns(const uint8_t* coded, size_t codedSize, const std::array<uint16_t, kPaletteEntries>& palette,
                uint16_t* pixels, size_t pixelCount) {
  size_t in = 0;
  size_t written = 0;
  while (written < pixelCount && in < codedSize) {
    const uint8_t byte = coded[in++];
    if ((byte & kRunFlags) != kRunFlags) {
      pixels[written++] = palette[byte];
      continue;
    }
    // A run byte as the very last coded byte has no value to repeat.
    if (in == codedSize) break;
    const uint16_t value = palette[coded[in++]];
    const size_t length = std::min<size_t>(byte & kRunLengthMask, pixelCount - written);
    std::fill_n(pixels + written, length, value);
    written += length;
  }
}

// A new surface holding the decoded picture; none when the device refuses the surface or the lock, for a
// picture left without its pixels is no picture.
Surface* DecodePieces(const PcxPieces& pieces, PictureSize size) {
  Surface* surface = CreateOffscreenSurface(size.width, size.height);
  if (surface == nullptr) return nullptr;
  std::array<uint16_t, kPaletteEntries> pixelPalette;
  BuildPixelPalette(pieces.palette, &pixelPalette);
  uint16_t* pixels = DeviceLockSurface(surface);
  if (pixels == nullptr) {
    ReleaseSurface(surface);
    return nullptr;
  }
  DecodeRuns(pieces.coded, pieces.codedSize, pixelPalette, pixels, PixelCount(size));
  return surface;
}

}  // namespace

Surface* DecodePcxImage(const uint8_t* bytes, size_t size) {
  if (bytes == nullptr || size < kHeaderSize + kPaletteSize) return nullptr;
  PictureSize picture{};
  if (!ReadPictureSize(bytes, &picture)) return nullptr;
  const PcxPieces pieces{bytes + kHeaderSize, CodedSizeFor(picture, size), bytes + size - kPaletteSize};
  return DecodePieces(pieces, picture);
}

Surface* LoadPcxImage(const char* fileName) {
  std::vector<uint8_t> bytes;
  if (!ReadDataFile(fileName, kMaxFileSize, &bytes)) return nullptr;
  return DecodePcxImage(bytes.data(), bytes.size());
}

}  // namespace coilrun
