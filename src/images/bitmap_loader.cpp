// The bitmap file loader: the platform's bitmap reader decodes the file, every pixel is packed by the
// display's format.
#include <array>
#include <climits>
#include <cstdlib>
#include <vector>

#include "devices/data_file.h"
#include "display/display_device.h"
#include "images/bitmap_device.h"
#include "images/images.h"

namespace coilrun {

namespace {

// The file header (14 bytes) is followed by the info header, whose first field is its own size.
constexpr size_t kInfoHeaderOffset = 14;
constexpr size_t kSizeFieldsOffset = 18;
// The oldest (OS/2 core) info header is 12 bytes long and holds its width and height in 16 bits.
constexpr uint32_t kCoreHeaderSize = 12;
constexpr size_t kShortestHeaders = kInfoHeaderOffset + kCoreHeaderSize;
// The largest file read: the pixels of the largest picture accepted at 32 bits, with room for headers,
// palette and a colour profile.
constexpr size_t kMaxFileSize = size_t{kMaxImageSide} * kMaxImageSide * 4 + (size_t{1} << 20);

uint32_t ReadUint32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

bool SideFits(int64_t side) {
  return side >= 1 && side <= kMaxImageSide;
}

// Whether the header's width and height are within bounds, looked at before the reader sees the file: it
// allocates the picture from the header before it reads a pixel. A height below 0 marks a top-down file.
bool HeaderSizeFits(const uint8_t* bytes, size_t size) {
  if (size < kShortestHeaders) return false;
  const uint8_t* fields = bytes + kSizeFieldsOffset;
  if (ReadUint32(bytes + kInfoHeaderOffset) == kCoreHeaderSize) {
    return SideFits(fields[0] | (fields[1] << 8)) && SideFits(fields[2] | (fields[3] << 8));
  }
  if (size < kSizeFieldsOffset + 8) return false;
  const auto width = static_cast<int32_t>(ReadUint32(fields));
  const auto height = static_cast<int32_t>(ReadUint32(fields + 4));
  return SideFits(width) && SideFits(std::llabs(static_cast<long long>(height)));
}

// Each channel's share of a packed pixel: PackColor ORs the three channels' fields, so a pixel is the OR of
// its channels' entries.
struct ChannelTables {
  std::array<uint16_t, 256> red;
  std::array<uint16_t, 256> green;
  std::array<uint16_t, 256> blue;
};

void BuildChannelTables(ChannelTables* tables) {
  for (int value = 0; value < 256; ++value) {
    const auto v = static_cast<uint8_t>(value);
    tables->red[v] = PackColor(v, 0, 0);
    tables->green[v] = PackColor(0, v, 0);
    tables->blue[v] = PackColor(0, 0, v);
  }
}

// Packs a decoded picture into the surface's pixels.
void PackPixels(const DecodedBitmap& picture, uint16_t* pixels) {
  ChannelTables tables;
  BuildChannelTables(&tables);
  for (const uint32_t rgb : picture.pixels) {
    *pixels++ = tables.red[(rgb >> 16) & 0xFF] | tables.green[(rgb >> 8) & 0xFF] | tables.blue[rgb & 0xFF];
  }
}

// A new surface holding the picture; none when it is too large or the device refuses the surface or the
// lock, for a picture left without its pixels is no picture.
Surface* MakeSurfaceFrom(const DecodedBitmap& picture) {
  if (!SideFits(picture.width) || !SideFits(picture.height)) return nullptr;
  if (picture.pixels.size() != static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height)) {
    return nullptr;
  }
  Surface* surface =
      CreateOffscreenSurface(static_cast<int16_t>(picture.width), static_cast<int16_t>(picture.height));
  if (surface == nullptr) return nullptr;
  uint16_t* pixels = DeviceLockSurface(surface);
  if (pixels == nullptr) {
    ReleaseSurface(surface);
    return nullptr;
  }
  PackPixels(picture, pixels);
  return surface;
}

}  // namespace

Surface* DecodeBitmapImage(const uint8_t* bytes, size_t size) {
  if (bytes == nullptr || size > INT_MAX || !HeaderSizeFits(bytes, size)) return nullptr;
  DecodedBitmap picture;
  if (!DeviceDecodeBitmap(bytes, size, &picture)) return nullptr;
  return MakeSurfaceFrom(picture);
}

Surface* LoadBitmapImage(const char* fileName) {
  std::vector<uint8_t> bytes;
  if (!ReadDataFile(fileName, kMaxFileSize, &bytes)) return nullptr;
  return DecodeBitmapImage(bytes.data(), bytes.size());
}

}  // namespace coilrun
