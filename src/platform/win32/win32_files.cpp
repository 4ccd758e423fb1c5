// The Windows layer's files: names in UTF-8 opened by their UTF-16 form, whole data files read with a
// bound, and the record saved in place under an exclusive lock and flushed to the disk.
#include <algorithm>
#include <vector>

#include "devices/file_device.h"
#include "platform/win32/win32_platform.h"

namespace coilrun {

namespace {

// The open records: the program's handle is an index into this list, a closed one left null.
std::vector<HANDLE> records;

std::string WorkingDirectory() {
  const DWORD length = GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(length, L'\0');
  if (length == 0 || GetCurrentDirectoryW(length, folder.data()) == 0) return "the working directory";
  return Win32Narrow(folder.c_str());
}

bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// Opens `name` with the given access, others may read and write it too, and refuses it unless it is a
// file on a disk (a folder, a pipe or a device is not). INVALID_HANDLE_VALUE, with the reason, otherwise.
HANDLE OpenDiskFile(const char* name, DWORD access, bool* missing, std::string* why) {
  *missing = false;
  HANDLE file = CreateFileW(Win32Wide(name).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    *missing = IsMissing(error);
    *why = Win32ErrorText(error);
    return INVALID_HANDLE_VALUE;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(file) != FILE_TYPE_DISK || GetFileInformationByHandle(file, &info) == 0 ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    *why = "not a regular file";
    CloseHandle(file);
    return INVALID_HANDLE_VALUE;
  }
  return file;
}

HANDLE RecordOf(int handle) {
  return handle >= 0 && static_cast<size_t>(handle) < records.size() ? records[static_cast<size_t>(handle)]
                                                                     : INVALID_HANDLE_VALUE;
}

OVERLAPPED AtOffset(uint64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return at;
}

}  // namespace

bool DeviceReadWholeFile(const char* name, size_t maxSize, std::vector<uint8_t>* bytes, std::string* why) {
  bool missing = false;
  HANDLE file = OpenDiskFile(name, GENERIC_READ, &missing, why);
  if (file == INVALID_HANDLE_VALUE) {
    if (missing) *why = "no such file in " + WorkingDirectory();
    return false;
  }
  const auto tooLarge = [&] {
    *why = "larger than the " + std::to_string(maxSize) + " bytes such a file may hold";
  };
  LARGE_INTEGER size{};
  GetFileSizeEx(file, &size);
  if (static_cast<uint64_t>(size.QuadPart) > maxSize) {
    tooLarge();
    CloseHandle(file);
    return false;
  }
  // Read to the end, whatever the size said: a file that grew past the bound is still refused.
  bytes->resize(static_cast<size_t>(size.QuadPart) + 1);
  size_t done = 0;
  for (;;) {
    if (done == bytes->size()) {
      if (done > maxSize) break;
      bytes->resize(std::min(maxSize + 1, done * 2 + 4096));
    }
    DWORD got = 0;
    const auto want = static_cast<DWORD>(std::min<size_t>(bytes->size() - done, 1u << 30));
    if (ReadFile(file, bytes->data() + done, want, &got, nullptr) == 0) {
      *why = Win32ErrorText(GetLastError());
      CloseHandle(file);
      return false;
    }
    if (got == 0) break;
    done += got;
  }
  CloseHandle(file);
  if (done > maxSize) {
    tooLarge();
    return false;
  }
  bytes->resize(done);
  return true;
}

int DeviceOpenRecord(const char* name, bool* missing, std::string* why) {
  HANDLE file = OpenDiskFile(name, GENERIC_READ | GENERIC_WRITE, missing, why);
  if (file == INVALID_HANDLE_VALUE) return -1;
  auto free = std::ranges::find(records, nullptr);
  if (free == records.end()) free = records.insert(records.end(), nullptr);
  *free = file;
  return static_cast<int>(free - records.begin());
}

bool DeviceLockRecord(int handle, std::string* why) {
  OVERLAPPED whole = AtOffset(0);
  // The whole file, however long it grows; Windows waits while another program holds the lock.
  if (LockFileEx(RecordOf(handle), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole) != 0) return true;
  *why = Win32ErrorText(GetLastError());
  return false;
}

bool DeviceReadRecord(int handle, uint8_t* into, size_t size, size_t* got, std::string* why) {
  *got = 0;
  while (*got < size) {
    OVERLAPPED at = AtOffset(*got);
    DWORD n = 0;
    if (ReadFile(RecordOf(handle), into + *got, static_cast<DWORD>(size - *got), &n, &at) == 0) {
      const DWORD error = GetLastError();
      if (error == ERROR_HANDLE_EOF) break;
      *why = Win32ErrorText(error);
      return false;
    }
    if (n == 0) break;
    *got += n;
  }
  return true;
}

bool DeviceWriteRecord(int handle, const uint8_t* bytes, size_t size, std::string* why) {
  OVERLAPPED at = AtOffset(0);
  DWORD put = 0;
  if (WriteFile(RecordOf(handle), bytes, static_cast<DWORD>(size), &put, &at) == 0) {
    *why = Win32ErrorText(GetLastError());
    return false;
  }
  if (put == size) return true;
  *why = Win32ErrorText(ERROR_DISK_FULL);
  return false;
}

bool DeviceFlushRecord(int handle, std::string* why) {
  if (FlushFileBuffers(RecordOf(handle)) != 0) return true;
  *why = Win32ErrorText(GetLastError());
  return false;
}

void DeviceCloseRecord(int handle) {
  HANDLE file = RecordOf(handle);
  if (file == INVALID_HANDLE_VALUE || file == nullptr) return;
  CloseHandle(file);
  records[static_cast<size_t>(handle)] = nullptr;
}

}  // namespace coilrun
