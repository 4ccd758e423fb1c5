// The Windows layer's files: names in UTF-8 opened by their UTF-16 form, whole data files read with a
// bound, and the record saved in place under an exclusive lock and flushed to the disk.
#include <algorithm>
#include <vector>

#include "devices/data_dir_device.h"
#include "devices/file_device.h"
#include "platform/common/posix_regular_file.h"
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

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

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

bool DeviceReadWholeFile(const char* name, size_t maxSize, std::vector<uint8_t>* bytes, std::string* why,
                         bool* missingFile) {
  bool missing = false;
  const bool read = ReadBoundedFile(name, maxSize, bytes, &missing, why);
  if (missingFile != nullptr) *missingFile = missing;
  if (read) return true;
  if (missing) *why = "no such file in " + WorkingDirectory();
  return false;
}

bool DeviceNameTaken(const char* name) {
  return GetFileAttributesW(Win32Wide(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

int DeviceOpenRecord(const char* name, bool* missing, std::string* why) {
  HANDLE file = OpenDiskFile(name, GENERIC_READ | GENERIC_WRITE, missing, why);
  if (file == INVALID_HANDLE_VALUE) return -1;
  auto free = std::ranges::find(records, nullptr);
  if (free == records.end()) free = records.insert(records.end(), nullptr);
  *free = file;
  return static_cast<int>(free - records.begin());
}

// The whole file, however long it grows. Windows refuses a lock held through another handle at once when
// asked not to wait, even one of this program's, which the logic never holds twice.
bool DeviceTryLockRecord(int handle, bool exclusive, bool* busy, std::string* why) {
  *busy = false;
  OVERLAPPED whole = AtOffset(0);
  const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
  if (LockFileEx(RecordOf(handle), flags, 0, MAXDWORD, MAXDWORD, &whole) != 0) return true;
  const DWORD error = GetLastError();
  *busy = error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING;
  *why = Win32ErrorText(error);
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

bool DeviceMakeFolder(const char* name, std::string* why) {
  const std::wstring path = Win32Wide(name);
  // Each folder from the top down; a drive ("C:") or a share's root is there already.
  for (size_t end = path.find_first_of(L"\\/", 1);; end = path.find_first_of(L"\\/", end + 1)) {
    const std::wstring folder = path.substr(0, end);
    if (!folder.empty() && folder.back() != L':' && CreateDirectoryW(folder.c_str(), nullptr) == 0) {
      const DWORD error = GetLastError();
      if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED) {
        *why = Win32ErrorText(error);
        return false;
      }
    }
    if (end == std::wstring::npos) break;
  }
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return true;
  *why = attributes == INVALID_FILE_ATTRIBUTES ? Win32ErrorText(GetLastError()) : "not a folder";
  return false;
}

bool DeviceCreateFile(const char* name, const uint8_t* bytes, size_t size, std::string* why) {
  const std::wstring path = Win32Wide(name);
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return true;
    *why = Win32ErrorText(error);
    return false;
  }
  DWORD put = 0;
  bool filled = WriteFile(file, bytes, static_cast<DWORD>(size), &put, nullptr) != 0 && put == size;
  if (filled) filled = FlushFileBuffers(file) != 0;
  if (!filled) *why = Win32ErrorText(put == size ? GetLastError() : ERROR_DISK_FULL);
  CloseHandle(file);
  if (!filled) DeleteFileW(path.c_str());
  return filled;
}

bool DeviceChangeFolder(const char* name, std::string* why) {
  if (SetCurrentDirectoryW(Win32Wide(name).c_str()) != 0) return true;
  *why = Win32ErrorText(GetLastError());
  return false;
}

// The game makes no links on Windows, whose links need rights a player seldom has: there are none to read
// or remove.
bool DeviceReadLink(const char*, std::string*) {
  return false;
}

bool DeviceRemoveLink(const char* name, std::string* why) {
  if (!DeviceNameTaken(name)) return true;
  *why = "not a symbolic link";
  return false;
}

bool DeviceReplaceFile(const char* name, const std::vector<uint8_t>& bytes, std::string* why) {
  const std::string path(name);
  const size_t slash = path.find_last_of("\\/");
  if (slash != std::string::npos && slash > 0 && !DeviceMakeFolder(path.substr(0, slash).c_str(), why))
    return false;
  const std::wstring target = Win32Wide(name);
  const std::wstring fresh = target + L".new";
  HANDLE file =
      CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *why = Win32ErrorText(GetLastError());
    return false;
  }
  DWORD put = 0;
  const bool written = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) != 0 &&
                       put == bytes.size() && FlushFileBuffers(file) != 0;
  const DWORD writeError = written ? ERROR_SUCCESS : (put == bytes.size() ? GetLastError() : ERROR_DISK_FULL);
  CloseHandle(file);
  // The rename reaches the disk before the call returns.
  if (!written ||
      MoveFileExW(fresh.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
    *why = Win32ErrorText(written ? GetLastError() : writeError);
    DeleteFileW(fresh.c_str());
    return false;
  }
  return true;
}

// %APPDATA%\Coilrun\settings.ini, beside the player's own files.
std::string DeviceSettingsFileName() {
  std::string folder;
  std::string why;
  if (!DevicePlayerDataDirectory(&folder, &why)) return {};
  return folder + "\\settings.ini";
}

int DeviceOpenNewFile(const char* name, std::string* why) {
  HANDLE file = CreateFileW(Win32Wide(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *why = Win32ErrorText(GetLastError());
    return -1;
  }
  auto free = std::ranges::find(records, nullptr);
  if (free == records.end()) free = records.insert(records.end(), nullptr);
  *free = file;
  return static_cast<int>(free - records.begin());
}

bool DeviceAppendFile(int handle, const uint8_t* bytes, size_t size, std::string* why) {
  // A file made afresh is written in order: each write goes on where the last one ended.
  DWORD put = 0;
  if (WriteFile(RecordOf(handle), bytes, static_cast<DWORD>(size), &put, nullptr) != 0 && put == size)
    return true;
  *why = Win32ErrorText(put == size ? GetLastError() : ERROR_DISK_FULL);
  return false;
}

}  // namespace coilrun
