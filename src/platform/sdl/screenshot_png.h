// Screenshots: a frame of 5-6-5 pixels written as a PNG file, under a name that no other file has.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace coilrun {

// "coilrun-YYYYMMDD-HHMMSS" for the local time `when`.
std::string ScreenshotStem(std::time_t when);

// Writes `width` x `height` 5-6-5 pixels, rows without gaps, as an 8-bit RGB PNG into a new file at `path`.
// Never replaces a file: false, with `error` set, when `path` exists or any step fails; a failed write
// leaves no file behind.
bool WritePngRgb565(const std::string& path, const uint16_t* pixels, int width, int height,
                    std::string* error);
// Writes the PNG as `stem` + ".png" or, where that is taken, the first free `stem` + "-N.png" (N from 1).
// `saved` receives the name written.
bool SavePngBesideOthers(const std::string& stem, const uint16_t* pixels, int width, int height,
                         std::string* saved, std::string* error);

}  // namespace coilrun
