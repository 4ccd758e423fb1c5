// The frame scaled to the window with even pixels: the 4:3 shape kept, the largest whole factor that fits
// taken with nearest sampling, the rest with linear filtering, and only the rows that changed scaled again.
#pragma once

#include <cstdint>
#include <vector>

namespace coilrun {

// Where the scaled frame goes in the window, and the whole factor it is first enlarged by.
struct FrameFit {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int factor = 1;
};

// One axis of the scale: each target pixel blends two source pixels, the far one by weight/256.
struct AxisMap {
  std::vector<uint16_t> nearPixel;
  std::vector<uint16_t> farPixel;
  std::vector<uint16_t> weight;
};

// What the scaler keeps from one frame to the next.
struct FrameScaler {
  int frameWidth = 0;
  int frameHeight = 0;
  FrameFit fit;
  AxisMap columns;
  AxisMap rows;
  std::vector<uint16_t> shown;       // the frame as last scaled, 5-6-5
  std::vector<uint32_t> stretched;   // each frame row scaled across, fit.width pixels of 0x00RRGGBB
  std::vector<uint8_t> frameDirty;   // per frame row: changed at the last update
  std::vector<uint8_t> targetDirty;  // per row of the fit: to be drawn again after the last update
};

// The largest 4:3 rectangle of the frame's shape in the window, centred, and its whole factor (at least 1).
FrameFit FitFrame(int frameWidth, int frameHeight, int windowWidth, int windowHeight);

// The map of `sourceSize` pixels enlarged `factor` times by nearest sampling, then linearly to `targetSize`.
AxisMap MapAxis(int sourceSize, int factor, int targetSize);

// Readies the scaler for frames of this size in a window of this size; the next update redraws everything.
void ResizeScaler(FrameScaler* scaler, int frameWidth, int frameHeight, int windowWidth, int windowHeight);

// Takes in a frame (rows without gap): finds the rows that differ from the frame shown (all of them with
// `everything`), scales those across, and marks the fit's rows they reach. True when any row changed.
bool UpdateScaler(FrameScaler* scaler, const uint16_t* frame, bool everything);

// Row `y` of the fit (0 at its top), fit.width pixels of 0x00RRGGBB, into `out`.
void ScaleRow(const FrameScaler& scaler, int y, uint32_t* out);

}  // namespace coilrun
