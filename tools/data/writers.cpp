// Encoders for the three file formats the game reads, written byte by byte so that every machine makes the
// same files.
#include "writers.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

namespace coilrun {
namespace {

void Put16(Bytes& bytes, uint32_t value) {
  bytes.push_back(static_cast<uint8_t>(value & 0xFF));
  bytes.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void Put32(Bytes& bytes, uint32_t value) {
  Put16(bytes, value & 0xFFFF);
  Put16(bytes, value >> 16);
}

void PutTag(Bytes& bytes, const char (&tag)[5]) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(tag[i]));
}

uint32_t Key(Rgb c) {
  return (static_cast<uint32_t>(c.r) << 16) | (static_cast<uint32_t>(c.g) << 8) | c.b;
}

// Palette index of every pixel, or none when the colours do not fit in 256.
struct Indexed {
  std::vector<Rgb> palette;
  std::vector<uint8_t> indices;
};

std::optional<Indexed> IndexPicture(const Picture& picture) {
  Indexed result;
  std::map<uint32_t, uint8_t> lookup;
  result.indices.reserve(picture.pixels.size());
  for (const Rgb& pixel : picture.pixels) {
    auto found = lookup.find(Key(pixel));
    if (found == lookup.end()) {
      if (result.palette.size() == 256) return std::nullopt;
      found = lookup.emplace(Key(pixel), static_cast<uint8_t>(result.palette.size())).first;
      result.palette.push_back(pixel);
    }
    result.indices.push_back(found->second);
  }
  return result;
}

void PutBitmapHeaders(Bytes& bytes, const Picture& picture, uint32_t bitsPerPixel, uint32_t paletteEntries,
                      uint32_t rowBytes) {
  const uint32_t offset = 14 + 40 + paletteEntries * 4;
  const uint32_t imageSize = rowBytes * static_cast<uint32_t>(picture.height);
  bytes.push_back('B');
  bytes.push_back('M');
  Put32(bytes, offset + imageSize);
  Put32(bytes, 0);
  Put32(bytes, offset);
  Put32(bytes, 40);
  Put32(bytes, static_cast<uint32_t>(picture.width));
  Put32(bytes, static_cast<uint32_t>(picture.height));  // positive: bottom row first
  Put16(bytes, 1);
  Put16(bytes, bitsPerPixel);
  Put32(bytes, 0);  // no compression
  Put32(bytes, imageSize);
  Put32(bytes, 2835);  // 72 dots per inch
  Put32(bytes, 2835);
  Put32(bytes, paletteEntries);
  Put32(bytes, 0);
}

}  // namespace

std::optional<Bytes> EncodePcx(const Picture& picture) {
  if (picture.width % 2 != 0) return std::nullopt;
  auto indexed = IndexPicture(picture);
  if (!indexed) return std::nullopt;
  Bytes bytes(128, 0);
  bytes[0] = 10;  // manufacturer
  bytes[1] = 5;   // version with a 256-colour palette
  bytes[2] = 1;   // run-length coding
  bytes[3] = 8;   // bits per pixel
  const auto put16At = [&bytes](size_t at, uint32_t value) {
    bytes[at] = static_cast<uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
  };
  put16At(8, static_cast<uint32_t>(picture.width - 1));
  put16At(10, static_cast<uint32_t>(picture.height - 1));
  put16At(12, 72);
  put16At(14, 72);
  bytes[65] = 1;  // planes
  put16At(66, static_cast<uint32_t>(picture.width));
  put16At(68, 1);  // colour palette
  // Runs stop at each row's end, as other readers of the format expect; the game's loader would not mind.
  for (int y = 0; y < picture.height; ++y) {
    const uint8_t* row = &indexed->indices[static_cast<size_t>(y) * static_cast<size_t>(picture.width)];
    for (int x = 0; x < picture.width;) {
      const uint8_t value = row[x];
      int run = 1;
      while (x + run < picture.width && run < 63 && row[x + run] == value) ++run;
      if (run > 1 || value >= 0xC0) bytes.push_back(static_cast<uint8_t>(0xC0 | run));
      bytes.push_back(value);
      x += run;
    }
  }
  bytes.push_back(0x0C);
  for (size_t i = 0; i < 256; ++i) {
    const Rgb c = i < indexed->palette.size() ? indexed->palette[i] : kBlack;
    bytes.insert(bytes.end(), {c.r, c.g, c.b});
  }
  return bytes;
}

Bytes EncodeBitmap24(const Picture& picture) {
  const uint32_t rowBytes = (static_cast<uint32_t>(picture.width) * 3 + 3) & ~3u;
  Bytes bytes;
  PutBitmapHeaders(bytes, picture, 24, 0, rowBytes);
  for (int y = picture.height - 1; y >= 0; --y) {
    const size_t start = bytes.size();
    for (int x = 0; x < picture.width; ++x) {
      const Rgb c = GetPixel(picture, x, y);
      bytes.insert(bytes.end(), {c.b, c.g, c.r});
    }
    bytes.resize(start + rowBytes, 0);
  }
  return bytes;
}

std::optional<Bytes> EncodeBitmap8(const Picture& picture) {
  auto indexed = IndexPicture(picture);
  if (!indexed) return std::nullopt;
  const uint32_t rowBytes = (static_cast<uint32_t>(picture.width) + 3) & ~3u;
  Bytes bytes;
  PutBitmapHeaders(bytes, picture, 8, 256, rowBytes);
  for (size_t i = 0; i < 256; ++i) {
    const Rgb c = i < indexed->palette.size() ? indexed->palette[i] : kBlack;
    bytes.insert(bytes.end(), {c.b, c.g, c.r, 0});
  }
  for (int y = picture.height - 1; y >= 0; --y) {
    const size_t start = bytes.size();
    const auto row = indexed->indices.begin() + static_cast<ptrdiff_t>(y) * picture.width;
    bytes.insert(bytes.end(), row, row + picture.width);
    bytes.resize(start + rowBytes, 0);
  }
  return bytes;
}

Bytes EncodeWave(const std::vector<uint8_t>& samples) {
  const uint32_t dataSize = static_cast<uint32_t>(samples.size());
  const uint32_t padding = dataSize % 2;  // chunks are word-aligned
  Bytes bytes;
  PutTag(bytes, "RIFF");
  Put32(bytes, 4 + 8 + 16 + 8 + dataSize + padding);
  PutTag(bytes, "WAVE");
  PutTag(bytes, "fmt ");
  Put32(bytes, 16);
  Put16(bytes, 1);  // PCM
  Put16(bytes, 1);  // mono
  Put32(bytes, kWaveRate);
  Put32(bytes, kWaveRate);  // bytes per second
  Put16(bytes, 1);          // block alignment
  Put16(bytes, 8);          // bits per sample
  PutTag(bytes, "data");
  Put32(bytes, dataSize);
  bytes.insert(bytes.end(), samples.begin(), samples.end());
  if (padding != 0) bytes.push_back(128);
  return bytes;
}

bool WriteBytes(const std::string& path, const Bytes& bytes, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    *error = std::strerror(errno);
    return false;
  }
  const size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
  const bool closed = std::fclose(file) == 0;
  if (written != bytes.size() || !closed) {
    *error = "write failed";
    return false;
  }
  return true;
}

}  // namespace coilrun
