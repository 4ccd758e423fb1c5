// Regular files read whole within a bound through Windows' own calls, by their UTF-16 names: the Windows
// layer's way, which the in-memory layer built for Windows also reads real files through.
#include <algorithm>

#include "platform/common/bounded_read.h"
#include "platform/common/posix_regular_file.h"
#include "platform/common/win32_text.h"

namespace coilrun {

bool ReadBoundedFile(const char* path, size_t maxSize, std::vector<uint8_t>* bytes, bool* missing,
                     std::string* why) {
  *missing = false;
  HANDLE file = CreateFileW(Win32Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    *missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    *why = Win32ErrorText(error);
    return false;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(file) != FILE_TYPE_DISK || GetFileInformationByHandle(file, &info) == 0 ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    *why = "not a regular file";
    CloseHandle(file);
    return false;
  }
  const uint64_t size = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  const bool whole = ReadUpToBound(size, maxSize, bytes, why, [&](uint8_t* into, size_t room) -> int64_t {
    DWORD got = 0;
    const auto want = static_cast<DWORD>(std::min<size_t>(room, size_t{1} << 30));
    if (ReadFile(file, into, want, &got, nullptr) == 0) {
      *why = Win32ErrorText(GetLastError());
      return -1;
    }
    return got;
  });
  CloseHandle(file);
  return whole;
}

}  // namespace coilrun
