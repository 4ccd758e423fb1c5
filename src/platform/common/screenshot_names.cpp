// What the screenshot writers share: the RGB widening and the free name.
#include "platform/common/screenshot_names.h"

#include <cstdio>

#include "platform/common/rgb565.h"

namespace coilrun {

namespace {

// How many numbered names are tried before giving up: a folder with that many shots of one second is odd.
constexpr int kMaxNumberedNames = 999;

}  // namespace

std::string ScreenshotStem(std::time_t when) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &when);
#else
  localtime_r(&when, &local);
#endif
  char stem[40];
  std::strftime(stem, sizeof stem, "coilrun-%Y%m%d-%H%M%S", &local);
  return stem;
}

std::vector<uint8_t> WidenRgb565ToRgb(const uint16_t* pixels, size_t count) {
  std::vector<uint8_t> rgb(count * 3);
  for (size_t i = 0; i < count; ++i) {
    rgb[3 * i] = Red565(pixels[i]);
    rgb[3 * i + 1] = Green565(pixels[i]);
    rgb[3 * i + 2] = Blue565(pixels[i]);
  }
  return rgb;
}

bool SaveUnderFreeName(const std::string& stem, const std::function<ShotWrite(const std::string&)>& writeNew,
                       std::string* saved, std::string* error) {
  for (int n = 0; n <= kMaxNumberedNames; ++n) {
    const std::string name = n == 0 ? stem + ".png" : stem + "-" + std::to_string(n) + ".png";
    switch (writeNew(name)) {
      case ShotWrite::kWritten:
        *saved = name;
        return true;
      case ShotWrite::kFailed:
        return false;
      case ShotWrite::kNameTaken:
        break;
    }
  }
  *error = "every name from " + stem + ".png to " + stem + "-" + std::to_string(kMaxNumberedNames) +
           ".png is taken";
  return false;
}

void SayScreenshotOutcome(bool savedOne, const std::string& saved, const std::string& error) {
  if (savedOne) {
    std::printf("coilrun: screenshot saved as %s\n", saved.c_str());
    std::fflush(stdout);
  } else {
    std::fprintf(stderr, "coilrun: cannot save a screenshot: %s\n", error.c_str());
  }
}

}  // namespace coilrun
