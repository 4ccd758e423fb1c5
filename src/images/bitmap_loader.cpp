// The bitmap file loader: SDL's BMP reader decodes the file, every pixel is packed by the display's format.
#include <SDL.h>

#include <array>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "display/display_device.h"
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

// Packs a picture of 32-bit 0x00RRGGBB pixels, top row first, into the surface's pixels.
void PackRows(const SDL_Surface* picture, uint16_t* pixels) {
  ChannelTables tables;
  BuildChannelTables(&tables);
  const auto* rows = static_cast<const uint8_t*>(picture->pixels);
  for (int y = 0; y < picture->h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(rows + static_cast<size_t>(y) * picture->pitch);
    uint16_t* out = pixels + static_cast<size_t>(y) * static_cast<size_t>(picture->w);
    for (int x = 0; x < picture->w; ++x) {
      const uint32_t rgb = row[x];
      out[x] = tables.red[(rgb >> 16) & 0xFF] | tables.green[(rgb >> 8) & 0xFF] | tables.blue[rgb & 0xFF];
    }
  }
}

// A new surface holding the picture; none when it is too large or the device refuses the surface or the
// lock, for a picture left without its pixels is no picture.
Surface* MakeSurfaceFrom(const SDL_Surface* picture) {
  if (!SideFits(picture->w) || !SideFits(picture->h)) return nullptr;
  Surface* surface =
      CreateOffscreenSurface(static_cast<int16_t>(picture->w), static_cast<int16_t>(picture->h));
  if (surface == nullptr) return nullptr;
  uint16_t* pixels = DeviceLockSurface(surface);
  if (pixels == nullptr) {
    ReleaseSurface(surface);
    return nullptr;
  }
  PackRows(picture, pixels);
  return surface;
}

bool ReadWholeFile(const char* fileName, std::vector<uint8_t>* bytes) {
  std::ifstream file(fileName, std::ios::binary);
  if (!file) return false;
  file.seekg(0, std::ios::end);
  const std::streamoff end = file.tellg();
  if (end < 0 || static_cast<size_t>(end) > kMaxFileSize) return false;
  bytes->resize(static_cast<size_t>(end));
  file.seekg(0);
  file.read(reinterpret_cast<char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
  return static_cast<size_t>(file.gcount()) == bytes->size();
}

}  // namespace

Surface* DecodeBitmapImage(const uint8_t* bytes, size_t size) {
  if (bytes == nullptr || size > INT_MAX || !HeaderSizeFits(bytes, size)) return nullptr;
  SDL_RWops* stream = SDL_RWFromConstMem(bytes, static_cast<int>(size));
  if (stream == nullptr) return nullptr;
  SDL_Surface* loaded = SDL_LoadBMP_RW(stream, 1);
  if (loaded == nullptr) return nullptr;
  // Whatever the file's own format (palette, 16, 24 or 32 bits), its colours come out as 8 bits a channel.
  SDL_Surface* picture = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
  SDL_FreeSurface(loaded);
  if (picture == nullptr) return nullptr;
  Surface* surface = MakeSurfaceFrom(picture);
  SDL_FreeSurface(picture);
  return surface;
}

Surface* LoadBitmapImage(const char* fileName) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(fileName, &bytes)) return nullptr;
  return DecodeBitmapImage(bytes.data(), bytes.size());
}

}  // namespace coilrun
