// The fade's and the keyed blit's pixel loops, each compiled for every processor and for AVX2.
#include "display/pixel_kernels.h"

namespace coilrun {

namespace {

// Two pixels read as one word, the pixel with the lower address in the low half; the Canvas's pixels are
// 16-bit, so the word type must be allowed to alias them.
using PixelPair = uint32_t __attribute__((may_alias));

constexpr int kWeightShift = 5;  // weights are thirty-seconds
constexpr int kFullWeight = 1 << kWeightShift;

// In a pair of 5-6-5 pixels: the low pixel's red and blue with the high pixel's green, each field with
// room above it for a product by a weight; and, five bits lower, the other three fields.
constexpr uint32_t kEvenFields = 0x07E0F81F;
constexpr uint32_t kOddFieldsShifted = 0x07C0F83F;
constexpr uint32_t kOddFields = 0xF81F07E0;

// floor(field * w / 32) of all six fields of a pair, in their places: one multiplication scales three.
// (Used by the x86-64 kernels only.)
[[maybe_unused]] inline uint32_t ScalePair(uint32_t pair, uint32_t w) {
  const uint32_t even = (((pair & kEvenFields) * w) >> kWeightShift) & kEvenFields;
  const uint32_t odd = (((pair >> kWeightShift) & kOddFieldsShifted) * w) & kOddFields;
  return even | odd;
}

// The same per pixel in 16-bit arithmetic, which every x86-64 vector unit multiplies (the pair form needs
// 32-bit vector products, which only later units have).
constexpr int kRedShift = 11;
constexpr int kGreenShift = 5;
constexpr uint16_t kFieldMask5 = 0x1F;
constexpr uint16_t kFieldMask6 = 0x3F;
constexpr uint16_t kGreenField = 0x07E0;

inline uint16_t ScalePixel(uint16_t pixel, uint16_t w) {
  const auto red = static_cast<uint16_t>(static_cast<uint16_t>((pixel >> kRedShift) * w) >> kWeightShift);
  const auto green = static_cast<uint16_t>((((pixel >> kGreenShift) & kFieldMask6) * w) & kGreenField);
  const auto blue = static_cast<uint16_t>(static_cast<uint16_t>((pixel & kFieldMask5) * w) >> kWeightShift);
  return static_cast<uint16_t>((red << kRedShift) | green | blue);
}

void FadePixelsPortable(uint16_t* __restrict pixels, size_t count, uint16_t w, uint16_t term) {
  for (size_t i = 0; i < count; ++i) pixels[i] = static_cast<uint16_t>(ScalePixel(pixels[i], w) + term);
}

inline void CopyKeyedLoop(uint16_t* __restrict destination, const uint16_t* __restrict source, size_t count,
                          uint16_t key) {
  for (size_t i = 0; i < count; ++i) {
    const uint16_t pixel = source[i];
    destination[i] = pixel == key ? destination[i] : pixel;
  }
}

void CopyPixelsKeyedPortable(uint16_t* __restrict destination, const uint16_t* __restrict source,
                             size_t count, uint16_t key) {
  CopyKeyedLoop(destination, source, count, key);
}

#if defined(__x86_64__) || defined(__i386__)
#define COILRUN_HAVE_AVX2_KERNELS 1

__attribute__((target("avx2"))) void FadePixelsAvx2(uint16_t* pixels, size_t count, uint32_t w,
                                                    uint32_t termPair) {
  auto* pairs = reinterpret_cast<PixelPair*>(pixels);
  const size_t pairCount = count / 2;
  for (size_t i = 0; i < pairCount; ++i) pairs[i] = ScalePair(pairs[i], w) + termPair;
  if (count % 2 != 0) {
    pixels[count - 1] = static_cast<uint16_t>(ScalePair(pixels[count - 1], w) + termPair);
  }
}

__attribute__((target("avx2"))) void CopyPixelsKeyedAvx2(uint16_t* __restrict destination,
                                                         const uint16_t* __restrict source, size_t count,
                                                         uint16_t key) {
  CopyKeyedLoop(destination, source, count, key);
}
#endif

}  // namespace

PixelKernel FastestPixelKernel() {
#ifdef COILRUN_HAVE_AVX2_KERNELS
  static const bool hasAvx2 = __builtin_cpu_supports("avx2") != 0;
  return hasAvx2 ? PixelKernel::kAvx2 : PixelKernel::kPortable;
#else
  return PixelKernel::kPortable;
#endif
}

void FadePixels(uint16_t* pixels, size_t count, int w, uint16_t colour, PixelKernel kernel) {
  const auto pixelWeight = static_cast<uint16_t>(w);
  const auto colourWeight = static_cast<uint16_t>(kFullWeight - w);
  // The colour's share is the same for every pixel: computed once.
#ifdef COILRUN_HAVE_AVX2_KERNELS
  if (kernel == PixelKernel::kAvx2) {
    const uint32_t colourPair = colour | (uint32_t{colour} << 16);
    FadePixelsAvx2(pixels, count, pixelWeight, ScalePair(colourPair, colourWeight));
    return;
  }
#else
  (void)kernel;
#endif
  FadePixelsPortable(pixels, count, pixelWeight, ScalePixel(colour, colourWeight));
}

void CopyPixelsKeyed(uint16_t* destination, const uint16_t* source, size_t count, uint16_t key,
                     PixelKernel kernel) {
#ifdef COILRUN_HAVE_AVX2_KERNELS
  if (kernel == PixelKernel::kAvx2) {
    CopyPixelsKeyedAvx2(destination, source, count, key);
    return;
  }
#else
  (void)kernel;
#endif
  CopyPixelsKeyedPortable(destination, source, count, key);
}

}  // namespace coilrun
