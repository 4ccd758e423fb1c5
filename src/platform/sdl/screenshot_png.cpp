// Screenshots as PNG files, through libpng's simplified writer.
#include "platform/sdl/screenshot_png.h"

#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace coilrun {

namespace {

ShotWrite WriteNewPng(const std::string& path, const uint16_t* pixels, int width, int height,
                      std::string* error) {
  if (width <= 0 || height <= 0) {
    *error = "the frame is empty";
    return ShotWrite::kFailed;
  }
  // O_EXCL claims the name in the same step that creates the file, so no shot ever replaces another file.
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    *error = path + ": " + std::strerror(errno);
    return errno == EEXIST ? ShotWrite::kNameTaken : ShotWrite::kFailed;
  }
  FILE* file = fdopen(fd, "wb");
  if (file == nullptr) {
    *error = path + ": " + std::strerror(errno);
    close(fd);
    unlink(path.c_str());
    return ShotWrite::kFailed;
  }
  const std::vector<uint8_t> rgb =
      WidenRgb565ToRgb(pixels, static_cast<size_t>(width) * static_cast<size_t>(height));
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
    return ShotWrite::kFailed;
  }
  return ShotWrite::kWritten;
}

}  // namespace

bool WritePngRgb565(const std::string& path, const uint16_t* pixels, int width, int height,
                    std::string* error) {
  return WriteNewPng(path, pixels, width, height, error) == ShotWrite::kWritten;
}

bool SavePngBesideOthers(const std::string& stem, const uint16_t* pixels, int width, int height,
                         std::string* saved, std::string* error) {
  return SaveUnderFreeName(
      stem, [&](const std::string& name) { return WriteNewPng(name, pixels, width, height, error); }, saved,
      error);
}

}  // namespace coilrun
