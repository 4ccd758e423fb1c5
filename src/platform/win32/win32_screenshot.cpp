// Screenshots as PNG files, encoded by stb's image writer and written through a new file of their own.
#include <ctime>
#include <vector>

#include "platform/common/screenshot_names.h"
#include "platform/win32/win32_platform.h"

#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"

namespace coilrun {

namespace {

void AppendBytes(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  const auto* bytes = static_cast<const uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

// CREATE_NEW claims the name in the same step that creates the file, so no shot ever replaces another.
ShotWrite WriteNewFile(const std::string& name, const std::vector<uint8_t>& bytes, std::string* error) {
  HANDLE file = CreateFileW(Win32Wide(name.c_str()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD failure = GetLastError();
    *error = name + ": " + Win32ErrorText(failure);
    return failure == ERROR_FILE_EXISTS || failure == ERROR_ALREADY_EXISTS ? ShotWrite::kNameTaken
                                                                           : ShotWrite::kFailed;
  }
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0 &&
                  written == bytes.size();
  if (!ok) *error = name + ": " + Win32ErrorText(GetLastError());
  CloseHandle(file);
  if (!ok) DeleteFileW(Win32Wide(name.c_str()).c_str());
  return ok ? ShotWrite::kWritten : ShotWrite::kFailed;
}

}  // namespace

bool Win32SavePng(const uint16_t* pixels, int width, int height, std::string* saved, std::string* error) {
  const std::vector<uint8_t> rgb =
      WidenRgb565ToRgb(pixels, static_cast<size_t>(width) * static_cast<size_t>(height));
  std::vector<uint8_t> png;
  if (stbi_write_png_to_func(AppendBytes, &png, width, height, 3, rgb.data(), width * 3) == 0) {
    *error = "the frame could not be encoded";
    return false;
  }
  return SaveUnderFreeName(
      ScreenshotStem(std::time(nullptr)),
      [&](const std::string& name) { return WriteNewFile(name, png, error); }, saved, error);
}

}  // namespace coilrun
