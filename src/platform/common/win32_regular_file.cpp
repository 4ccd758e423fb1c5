// Regular files read whole within a bound through Windows' own calls, by their UTF-16 names: the Windows
// layer's way, which the in-memory layer built for Windows also reads real files through.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>

#include "platform/common/posix_regular_file.h"

namespace coilrun {

namespace {

std::wstring WideName(const char* name) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, name, -1, wide.data(), length);
  wide.resize(static_cast<size_t>(length - 1));
  return wide;
}

std::string ErrorWords(DWORD error) {
  char words[256] = "";
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                      error, 0, words, sizeof words, nullptr);
  std::string text = length > 0 ? std::string(words, length) : "error " + std::to_string(error);
  while (!text.empty() &&
         (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.')) {
    text.pop_back();
  }
  return text;
}

}  // namespace

bool ReadBoundedFile(const char* path, size_t maxSize, std::vector<uint8_t>* bytes, bool* missing,
                     std::string* why) {
  *missing = false;
  HANDLE file = CreateFileW(WideName(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    *missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    *why = ErrorWords(error);
    return false;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(file) != FILE_TYPE_DISK || GetFileInformationByHandle(file, &info) == 0 ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    *why = "not a regular file";
    CloseHandle(file);
    return false;
  }
  const auto tooLarge = [&] {
    *why = "larger than the " + std::to_string(maxSize) + " bytes such a file may hold";
  };
  const uint64_t size = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  if (size > maxSize) {
    tooLarge();
    CloseHandle(file);
    return false;
  }
  // Read to the end, whatever the size said: a file that grew past the bound is still refused.
  bytes->resize(static_cast<size_t>(size) + 1);
  size_t done = 0;
  for (;;) {
    if (done == bytes->size()) {
      if (done > maxSize) break;
      bytes->resize(std::min(maxSize + 1, done * 2 + 4096));
    }
    DWORD got = 0;
    const auto want = static_cast<DWORD>(std::min<size_t>(bytes->size() - done, size_t{1} << 30));
    if (ReadFile(file, bytes->data() + done, want, &got, nullptr) == 0) {
      *why = ErrorWords(GetLastError());
      CloseHandle(file);
      return false;
    }
    if (got == 0) break;
    done += got;
  }
  CloseHandle(file);
  if (done > maxSize) {
    tooLarge();
    bytes->clear();
    bytes->shrink_to_fit();
    return false;
  }
  bytes->resize(done);
  return true;
}

}  // namespace coilrun
