// The even-pixel scale of the frame: whole-factor nearest sampling, then linear filtering for the rest.
#include "platform/common/frame_scaler.h"

#include <algorithm>
#include <cstring>

#include "platform/common/rgb565.h"

namespace coilrun {

namespace {

constexpr uint32_t kFullWeight = 256;

// a and b, two 0x00RRGGBB pixels, blended with b's share weight/256; two channels at once.
uint32_t Blend(uint32_t a, uint32_t b, uint32_t weight) {
  const uint32_t keep = kFullWeight - weight;
  const uint32_t redBlue = (((a & 0xFF00FFu) * keep + (b & 0xFF00FFu) * weight) >> 8) & 0xFF00FFu;
  const uint32_t green = (((a & 0x00FF00u) * keep + (b & 0x00FF00u) * weight) >> 8) & 0x00FF00u;
  return redBlue | green;
}

void StretchRow(FrameScaler* s, int row) {
  const uint16_t* from = s->shown.data() + static_cast<size_t>(row) * static_cast<size_t>(s->frameWidth);
  uint32_t* to = s->stretched.data() + static_cast<size_t>(row) * static_cast<size_t>(s->fit.width);
  const AxisMap& m = s->columns;
  for (int x = 0; x < s->fit.width; ++x) {
    const uint32_t nearColour = Rgb565ToRgb888(from[m.nearPixel[x]]);
    to[x] =
        m.weight[x] == 0 ? nearColour : Blend(nearColour, Rgb565ToRgb888(from[m.farPixel[x]]), m.weight[x]);
  }
}

}  // namespace

FrameFit FitFrame(int frameWidth, int frameHeight, int windowWidth, int windowHeight) {
  FrameFit fit;
  if (int64_t{windowWidth} * frameHeight >= int64_t{windowHeight} * frameWidth) {
    fit.height = windowHeight;
    fit.width = static_cast<int>(int64_t{windowHeight} * frameWidth / frameHeight);
  } else {
    fit.width = windowWidth;
    fit.height = static_cast<int>(int64_t{windowWidth} * frameHeight / frameWidth);
  }
  fit.width = std::max(fit.width, 1);
  fit.height = std::max(fit.height, 1);
  fit.x = (windowWidth - fit.width) / 2;
  fit.y = (windowHeight - fit.height) / 2;
  fit.factor = std::max(1, std::min(fit.width / frameWidth, fit.height / frameHeight));
  return fit;
}

AxisMap MapAxis(int sourceSize, int factor, int targetSize) {
  AxisMap map;
  const int64_t enlarged = int64_t{sourceSize} * factor;
  for (int64_t i = 0; i < targetSize; ++i) {
    // The centre of target pixel i in the enlarged picture's pixels, in 1/256ths, less half a pixel.
    const int64_t at = std::max<int64_t>(
        0, ((2 * i + 1) * enlarged * 256 - int64_t{targetSize} * 256) / (2 * int64_t{targetSize}));
    int64_t first = at >> 8;
    int64_t weight = at & 0xFF;
    if (first >= enlarged - 1) {
      first = enlarged - 1;
      weight = 0;
    }
    const auto nearPixel = static_cast<uint16_t>(first / factor);
    const auto farPixel = static_cast<uint16_t>(std::min(first + 1, enlarged - 1) / factor);
    map.nearPixel.push_back(nearPixel);
    map.farPixel.push_back(farPixel);
    map.weight.push_back(static_cast<uint16_t>(nearPixel == farPixel ? 0 : weight));
  }
  return map;
}

void ResizeScaler(FrameScaler* s, int frameWidth, int frameHeight, int windowWidth, int windowHeight) {
  s->frameWidth = frameWidth;
  s->frameHeight = frameHeight;
  s->fit = FitFrame(frameWidth, frameHeight, windowWidth, windowHeight);
  s->columns = MapAxis(frameWidth, s->fit.factor, s->fit.width);
  s->rows = MapAxis(frameHeight, s->fit.factor, s->fit.height);
  s->shown.assign(static_cast<size_t>(frameWidth) * static_cast<size_t>(frameHeight), 0);
  s->stretched.assign(static_cast<size_t>(frameHeight) * static_cast<size_t>(s->fit.width), 0);
  s->frameDirty.assign(static_cast<size_t>(frameHeight), 1);
  s->targetDirty.assign(static_cast<size_t>(s->fit.height), 1);
}

bool UpdateScaler(FrameScaler* s, const uint16_t* frame, bool everything) {
  const size_t rowBytes = static_cast<size_t>(s->frameWidth) * sizeof(uint16_t);
  bool any = false;
  for (int row = 0; row < s->frameHeight; ++row) {
    const size_t offset = static_cast<size_t>(row) * static_cast<size_t>(s->frameWidth);
    const bool changed = everything || std::memcmp(s->shown.data() + offset, frame + offset, rowBytes) != 0;
    s->frameDirty[static_cast<size_t>(row)] = changed ? 1 : 0;
    if (!changed) continue;
    std::memcpy(s->shown.data() + offset, frame + offset, rowBytes);
    StretchRow(s, row);
    any = true;
  }
  for (int y = 0; y < s->fit.height; ++y) {
    const AxisMap& m = s->rows;
    s->targetDirty[static_cast<size_t>(y)] =
        (s->frameDirty[m.nearPixel[y]] != 0 || (m.weight[y] != 0 && s->frameDirty[m.farPixel[y]] != 0)) ? 1
                                                                                                        : 0;
  }
  return any;
}

void ScaleRow(const FrameScaler& s, int y, uint32_t* out) {
  const AxisMap& m = s.rows;
  const size_t width = static_cast<size_t>(s.fit.width);
  const uint32_t* nearRow = s.stretched.data() + m.nearPixel[y] * width;
  if (m.weight[y] == 0) {
    std::memcpy(out, nearRow, width * sizeof(uint32_t));
    return;
  }
  const uint32_t* farRow = s.stretched.data() + m.farPixel[y] * width;
  for (size_t x = 0; x < width; ++x) out[x] = Blend(nearRow[x], farRow[x], m.weight[y]);
}

}  // namespace coilrun
