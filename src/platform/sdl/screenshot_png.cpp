// Screenshots as PNG files, through libpng's simplified writer.
#include "platform/sdl/screenshot_png.h"

#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/common/rgb565.h"

namespace coilrun {

namespace {

// How many numbered names are tried before giving up: a folder with that many shots of one second is odd.
constexpr int kMaxNumberedNames = 999;

enum class WriteOutcome { kWritten, kNameTaken, kFailed };

std::vector<uint8_t> WidenToRgb(const uint16_t* pixels, size_t count) {
  std::vector<uint8_t> rgb(count * 3);
  for (size_t i = 0; i < count; ++i) {
    rgb[3 * i] = Red565(pixels[i]);
    rgb[3 * i + 1] = Green565(pixels[i]);
    rgb[3 * i + 2] = Blue565(pixels[i]);
  }
  return rgb;
}

WriteOutcome WriteNewPng(const std::string& path, const uint16_t* pixels, int width, int height,
                         std::string* error) {
  if (width <= 0 || height <= 0) {
    *error = "the frame is empty";
    return WriteOutcome::kFailed;
  }
  // O_EXCL claims the name in the same step that creates the file, so no shot ever replaces another file.
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    *error = path + ": " + std::strerror(errno);
    return errno == EEXIST ? WriteOutcome::kNameTaken : WriteOutcome::kFailed;
  }
  FILE* file = fdopen(fd, "wb");
  if (file == nullptr) {
    *error = path + ": " + std::strerror(errno);
    close(fd);
    unlink(path.c_str());
    return WriteOutcome::kFailed;
  }
  const std::vector<uint8_t> rgb =
      WidenToRgb(pixels, static_cast<size_t>(width) * static_cast<size_t>(height));
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  // Frames are mostly flat colour: the fast setting costs little in size and keeps play from stalling.
  image.flags = PNG_IMAGE_FLAG_FAST;
  const bool encoded = png_image_write_to_stdio(&image, file, 0, rgb.data(), 0, nullptr) != 0;
  if (!encoded) *error = path + ": " + image.message;
  png_image_free(&image);
  const bool closed = std::fclose(file) == 0;
  if (encoded && !closed) *error = path + ": " + std::strerror(errno);
  if (!encoded || !closed) {
    unlink(path.c_str());
    return WriteOutcome::kFailed;
  }
  return WriteOutcome::kWritten;
}

}  // namespace

std::string ScreenshotStem(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char stem[40];
  std::strftime(stem, sizeof stem, "coilrun-%Y%m%d-%H%M%S", &local);
  return stem;
}

bool WritePngRgb565(const std::string& path, const uint16_t* pixels, int width, int height,
                    std::string* error) {
  return WriteNewPng(path, pixels, width, height, error) == WriteOutcome::kWritten;
}

bool SavePngBesideOthers(const std::string& stem, const uint16_t* pixels, int width, int height,
                         std::string* saved, std::string* error) {
  for (int n = 0; n <= kMaxNumberedNames; ++n) {
    const std::string name = n == 0 ? stem + ".png" : stem + "-" + std::to_string(n) + ".png";
    switch (WriteNewPng(name, pixels, width, height, error)) {
      case WriteOutcome::kWritten:
        *saved = name;
        return true;
      case WriteOutcome::kFailed:
        return false;
      case WriteOutcome::kNameTaken:
        break;
    }
  }
  *error = "every name from " + stem + ".png to " + stem + "-" + std::to_string(kMaxNumberedNames) +
           ".png is taken";
  return false;
}

}  // namespace coilrun
