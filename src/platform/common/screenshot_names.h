// What the screenshot writers share: the frame widened to 8-bit RGB, and the search for a name no other
// file has.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace coilrun {

// What came of one try at writing a new file under a name.
enum class ShotWrite { kWritten, kNameTaken, kFailed };

// "coilrun-YYYYMMDD-HHMMSS" for the local time `when`.
std::string ScreenshotStem(std::time_t when);

// `count` 5-6-5 pixels as 8-bit red, green, blue bytes.
std::vector<uint8_t> WidenRgb565ToRgb(const uint16_t* pixels, size_t count);

// Writes through `writeNew` (which never replaces a file, and sets `error` when it fails) as `stem` + ".png"
// or, where that is taken, the first free `stem` + "-N.png" (N from 1 to 999). `saved` receives the name
// written; false, with `error` set, when a write fails or every name is taken.
bool SaveUnderFreeName(const std::string& stem, const std::function<ShotWrite(const std::string&)>& writeNew,
                       std::string* saved, std::string* error);

// Says what came of a screenshot: the name saved on the standard output, or why not on the standard error.
void SayScreenshotOutcome(bool savedOne, const std::string& saved, const std::string& error);

}  // namespace coilrun
