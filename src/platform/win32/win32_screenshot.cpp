// Screenshots as PNG files, encoded by stb's image writer and written through a new file of their own.
#include <ctime>
#include <vector>

#include "platform/common/rgb565.h"
#include "platform/win32/win32_platform.h"

#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"

namespace coilrun {

namespace {

// How many numbered names are tried before giving up: a folder with that many shots of one second is odd.
constexpr int kMaxNumberedNames = 999;

void AppendBytes(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  const auto* bytes = static_cast<const uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

std::string ScreenshotStem() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_s(&local, &now);
  char stem[40];
  std::strftime(stem, sizeof stem, "coilrun-%Y%m%d-%H%M%S", &local);
  return stem;
}

enum class WriteOutcome { kWritten, kNameTaken, kFailed };

// CREATE_NEW claims the name in the same step that creates the file, so no shot ever replaces another.
WriteOutcome WriteNewFile(const std::string& name, const std::vector<uint8_t>& bytes, std::string* error) {
  HANDLE file = CreateFileW(Win32Wide(name.c_str()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD failure = GetLastError();
    *error = name + ": " + Win32ErrorText(failure);
    return failure == ERROR_FILE_EXISTS || failure == ERROR_ALREADY_EXISTS ? WriteOutcome::kNameTaken
                                                                           : WriteOutcome::kFailed;
  }
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0 &&
                  written == bytes.size();
  if (!ok) *error = name + ": " + Win32ErrorText(GetLastError());
  CloseHandle(file);
  if (!ok) DeleteFileW(Win32Wide(name.c_str()).c_str());
  return ok ? WriteOutcome::kWritten : WriteOutcome::kFailed;
}

}  // namespace

bool Win32SavePng(const uint16_t* pixels, int width, int height, std::string* saved, std::string* error) {
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  for (size_t i = 0; i < rgb.size() / 3; ++i) {
    rgb[3 * i] = Red565(pixels[i]);
    rgb[3 * i + 1] = Green565(pixels[i]);
    rgb[3 * i + 2] = Blue565(pixels[i]);
  }
  std::vector<uint8_t> png;
  if (stbi_write_png_to_func(AppendBytes, &png, width, height, 3, rgb.data(), width * 3) == 0) {
    *error = "the frame could not be encoded";
    return false;
  }
  const std::string stem = ScreenshotStem();
  for (int n = 0; n <= kMaxNumberedNames; ++n) {
    const std::string name = n == 0 ? stem + ".png" : stem + "-" + std::to_string(n) + ".png";
    switch (WriteNewFile(name, png, error)) {
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
