// Fuzz target: bitmap files built from fields the fuzzer chooses (header kind, bits per pixel, compression,
// sizes, palette, masks, offsets), so that the platform's decoder, which carries no coverage hooks, accepts
// many of them and our size checks and pixel packing meet every shape it returns.
#include <vector>

#include "display/display.h"
#include "fuzz_target.h"
#include "images/images.h"

namespace {

// The fuzzer's bytes, taken as fields; zeros once they run out.
struct Fields {
  const uint8_t* data;
  size_t size;
  uint32_t Take(int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
      value |= static_cast<uint32_t>(size > 0 ? *data : 0) << (8 * i);
      if (size > 0) ++data, --size;
    }
    return value;
  }
};

void Put(std::vector<uint8_t>* out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

constexpr uint32_t kHeaderSizes[] = {12, 40, 52, 56, 108, 124};
constexpr uint16_t kBitsPerPixel[] = {1, 4, 8, 16, 24, 32, 2, 0};

}  // namespace

int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace coilrun;
  static const bool displayUp = InitDisplay();
  if (!displayUp) return 0;
  Fields in{data, size};
  const uint32_t shape = in.Take(1);
  const uint32_t headerSize = kHeaderSizes[(shape & 7) % 6];
  const uint16_t bits = kBitsPerPixel[(shape >> 3) & 7];
  const bool core = headerSize == 12;
  // Mostly small pictures, sometimes any size the fields hold, negative heights (top-down) included.
  const bool rawSizes = (shape & 0x40) != 0;
  int32_t width =
      rawSizes ? static_cast<int32_t>(in.Take(core ? 2 : 4)) : 1 + static_cast<int32_t>(in.Take(1) % 48);
  int32_t height =
      rawSizes ? static_cast<int32_t>(in.Take(core ? 2 : 4)) : 1 + static_cast<int32_t>(in.Take(1) % 48);
  if (!rawSizes && (shape & 0x80) != 0 && !core) height = -height;
  const uint32_t compression = core ? 0 : in.Take(1) % 7;
  const uint32_t colours = core ? (bits <= 8 ? 1u << bits : 0) : in.Take(2) % 300;
  const uint32_t paletteEntries = bits <= 8 ? (colours != 0 ? colours : 1u << bits) : colours;
  const uint32_t paletteSize = paletteEntries * (core ? 3 : 4);
  const int32_t offsetDelta = static_cast<int8_t>(in.Take(1)) / 16;

  std::vector<uint8_t> file;
  const uint32_t masksSize = !core && headerSize == 40 && (compression == 3 || compression == 6) ? 12 : 0;
  const uint32_t pixelsAt = 14 + headerSize + masksSize + paletteSize;
  Put(&file, 'B' | ('M' << 8), 2);
  Put(&file, 0, 4);  // the file size, patched below
  Put(&file, 0, 4);
  Put(&file, static_cast<uint32_t>(static_cast<int32_t>(pixelsAt) + offsetDelta), 4);
  Put(&file, headerSize, 4);
  if (core) {
    Put(&file, static_cast<uint32_t>(width), 2);
    Put(&file, static_cast<uint32_t>(height), 2);
    Put(&file, 1, 2);
    Put(&file, bits, 2);
  } else {
    Put(&file, static_cast<uint32_t>(width), 4);
    Put(&file, static_cast<uint32_t>(height), 4);
    Put(&file, 1, 2);
    Put(&file, bits, 2);
    Put(&file, compression, 4);
    Put(&file, in.Take(1) == 0 ? 0 : in.Take(4), 4);  // the image size: none, or any
    Put(&file, 2835, 4);
    Put(&file, 2835, 4);
    Put(&file, colours, 4);
    Put(&file, 0, 4);
    // The colour masks of the longer headers, and the rest of them as the fuzzer gives it.
    for (uint32_t at = 40; at < headerSize; at += 4) Put(&file, in.Take(4), 4);
    for (uint32_t at = 0; at < masksSize; at += 4) Put(&file, in.Take(4), 4);
  }
  for (uint32_t at = 0; at < paletteSize; ++at) file.push_back(static_cast<uint8_t>(in.Take(1)));
  // The pixels: whatever is left of the fuzzer's bytes.
  file.insert(file.end(), in.data, in.data + in.size);
  for (int i = 0; i < 4; ++i) file[static_cast<size_t>(2 + i)] = static_cast<uint8_t>(file.size() >> (8 * i));
  Surface* surface = DecodeBitmapImage(file.data(), file.size());
  if (surface != nullptr && (surface->width < 1 || surface->height < 1 || surface->width > kMaxImageSide ||
                             surface->height > kMaxImageSide ||
                             surface->pixels.size() != static_cast<size_t>(surface->width) *
                                                           static_cast<size_t>(surface->height))) {
    __builtin_trap();
  }
  ReleaseSurface(surface);
  return 0;
}
