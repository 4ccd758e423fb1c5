// Decoding full-screen pictures from memory: our PCX-coded and bitmap decoders, and SDL_image's PCX reader.
#include <SDL.h>
#include <SDL_image.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "display/display.h"
#include "image_files.h"
#include "images/images.h"

namespace coilrun {
namespace {

// A 640x480 picture with what a drawn picture has: flat areas, short runs and single pixels, some of
// values from 0xC0 up that only a run can code. The stream stays within one coded byte per pixel.
std::vector<uint8_t> FullScreenPcxFile() {
  std::vector<uint8_t> indices;
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 16; };
  while (indices.size() < static_cast<size_t>(kCanvasPixelCount)) {
    const uint32_t kind = next() % 10;
    const size_t length = kind < 4 ? 1 : kind < 8 ? 2 + next() % 8 : 20 + next() % 200;
    const auto value = static_cast<uint8_t>(kind < 4 ? next() % 0xC0 : next() % 256);
    indices.insert(indices.end(), length, value);
  }
  indices.resize(kCanvasPixelCount);
  PcxPalette palette;
  for (size_t i = 0; i < palette.size(); ++i) palette[i] = static_cast<uint8_t>(i * 37);
  return MakePcxPicture(kScreenWidth, kScreenHeight, indices, palette);
}

std::vector<uint8_t> FullScreenBmpFile() {
  RgbPicture picture{kScreenWidth, kScreenHeight, {}};
  for (int i = 0; i < kCanvasPixelCount; ++i) {
    picture.pixels.push_back(
        Rgb{static_cast<uint8_t>(i), static_cast<uint8_t>(i / 640), static_cast<uint8_t>(i * 7)});
  }
  return MakeBmpFile(picture, BmpVariant::kRgb24);
}

bool DisplayUp() {
  static const bool up = InitDisplay();
  return up;
}

void BM_PcxDecodeFullScreen(benchmark::State& state) {
  const std::vector<uint8_t> file = FullScreenPcxFile();
  if (!DisplayUp()) return state.SkipWithError("no display");
  for (auto _ : state) {
    Surface* surface = DecodePcxImage(file.data(), file.size());
    benchmark::DoNotOptimize(surface);
    ReleaseSurface(surface);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_PcxDecodeFullScreen)->Unit(benchmark::kMicrosecond);

void BM_BmpDecodeFullScreen(benchmark::State& state) {
  const std::vector<uint8_t> file = FullScreenBmpFile();
  if (!DisplayUp()) return state.SkipWithError("no display");
  for (auto _ : state) {
    Surface* surface = DecodeBitmapImage(file.data(), file.size());
    benchmark::DoNotOptimize(surface);
    ReleaseSurface(surface);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_BmpDecodeFullScreen)->Unit(benchmark::kMicrosecond);

// The file read by SDL_image and converted to 5-6-5; null when it cannot read it.
SDL_Surface* SdlImageDecodePcx(const std::vector<uint8_t>& file) {
  SDL_RWops* stream = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
  SDL_Surface* loaded = IMG_LoadPCX_RW(stream);
  SDL_RWclose(stream);
  if (loaded == nullptr) return nullptr;
  SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB565, 0);
  SDL_FreeSurface(loaded);
  return converted;
}

// Whether both decoders made the same picture, so that the two measure the same work.
bool SamePicture(const std::vector<uint8_t>& file) {
  Surface* ours = DecodePcxImage(file.data(), file.size());
  SDL_Surface* theirs = SdlImageDecodePcx(file);
  bool same = ours != nullptr && theirs != nullptr && theirs->w == ours->width && theirs->h == ours->height;
  for (int y = 0; same && y < ours->height; ++y) {
    const auto* row =
        reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(theirs->pixels) + y * theirs->pitch);
    same = std::equal(row, row + ours->width, ours->pixels.begin() + y * ours->width);
  }
  ReleaseSurface(ours);
  SDL_FreeSurface(theirs);
  return same;
}

// The peer: the same PCX file read by SDL_image and converted to the display's 5-6-5.
void BM_SdlImagePcxFullScreen(benchmark::State& state) {
  const std::vector<uint8_t> file = FullScreenPcxFile();
  if (!DisplayUp() || !SamePicture(file)) return state.SkipWithError("the decoders disagree");
  for (auto _ : state) {
    SDL_Surface* converted = SdlImageDecodePcx(file);
    benchmark::DoNotOptimize(converted);
    SDL_FreeSurface(converted);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_SdlImagePcxFullScreen)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace coilrun
