// The browser's files: the data files that the page wrote into the program's file system before the
// start, and the score table and the settings, which the page keeps in the browser's storage; a flush or a
// replacement waits until it is stored there.
#include <emscripten.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <set>

#include "devices/file_device.h"

namespace coilrun {

namespace {

// Room for the page's words on a failed store.
constexpr size_t kReasonSize = 200;
// Why a folder step is refused.
constexpr const char* kNoFolders = "the browser's files have no folders of the player's";

// Stores the whole file under its name in the browser's storage, replacing the stored one in a single
// step: a page closed in the middle keeps the old one. 0 once stored; otherwise nonzero, with the
// browser's reason in `reason`.
EM_ASYNC_JS(int, PageStoreFile, (const char* name, const uint8_t* bytes, int size, char* reason, int room),
            { return await Module.coilrunStoreFile(name, bytes, size, reason, room); });

int OpenRegularFile(const char* name, int access, bool* missing, std::string* why) {
  *missing = false;
  const int fd = open(name, access | O_CLOEXEC);
  if (fd < 0) {
    *missing = errno == ENOENT;
    *why = std::strerror(errno);
    return -1;
  }
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) return fd;
  *why = "not a regular file";
  close(fd);
  return -1;
}

bool ReadAt(int fd, uint8_t* into, size_t size, size_t* got, std::string* why) {
  *got = 0;
  while (*got < size) {
    const ssize_t n = pread(fd, into + *got, size - *got, static_cast<off_t>(*got));
    if (n < 0) {
      *why = std::strerror(errno);
      return false;
    }
    if (n == 0) break;
    *got += static_cast<size_t>(n);
  }
  return true;
}

// The name of each open record, by handle, for its flush.
std::string recordName;
// The files made by DeviceOpenNewFile live only in the program's file system: their flush stores nothing.
std::set<int> createdFiles;

}  // namespace

bool DeviceReadWholeFile(const char* name, size_t maxSize, std::vector<uint8_t>* bytes, std::string* why,
                         bool* missingFile) {
  bool missing = false;
  const int fd = OpenRegularFile(name, O_RDONLY, &missing, why);
  if (missingFile != nullptr) *missingFile = missing;
  if (fd < 0) {
    if (missing) *why = "not among the page's data files";
    return false;
  }
  struct stat info {};
  fstat(fd, &info);
  if (static_cast<uintmax_t>(info.st_size) > maxSize) {
    *why = "larger than the " + std::to_string(maxSize) + " bytes such a file may hold";
    close(fd);
    return false;
  }
  bytes->resize(static_cast<size_t>(info.st_size));
  size_t got = 0;
  const bool read = ReadAt(fd, bytes->data(), bytes->size(), &got, why);
  close(fd);
  bytes->resize(got);
  return read;
}

int DeviceOpenRecord(const char* name, bool* missing, std::string* why) {
  const int fd = OpenRegularFile(name, O_RDWR, missing, why);
  if (fd >= 0) recordName = name;
  return fd;
}

bool DeviceNameTaken(const char* name) {
  struct stat info {};
  return stat(name, &info) == 0;
}

// One program runs in a page, and a second page of the game keeps its own copy until it stores it whole:
// the browser's files have no lock, and none is ever in the way.
bool DeviceTryLockRecord(int, bool, bool* busy, std::string*) {
  *busy = false;
  return true;
}

bool DeviceReadRecord(int handle, uint8_t* into, size_t size, size_t* got, std::string* why) {
  return ReadAt(handle, into, size, got, why);
}

bool DeviceWriteRecord(int handle, const uint8_t* bytes, size_t size, std::string* why) {
  if (pwrite(handle, bytes, size, 0) == static_cast<ssize_t>(size)) return true;
  *why = std::strerror(errno);
  return false;
}

bool DeviceFlushRecord(int handle, std::string* why) {
  if (createdFiles.count(handle) != 0) return true;
  struct stat info {};
  if (fstat(handle, &info) != 0) {
    *why = std::strerror(errno);
    return false;
  }
  std::vector<uint8_t> whole(static_cast<size_t>(info.st_size));
  size_t got = 0;
  if (!ReadAt(handle, whole.data(), whole.size(), &got, why)) return false;
  std::array<char, kReasonSize> reason{};
  if (PageStoreFile(recordName.c_str(), whole.data(), static_cast<int>(got), reason.data(),
                    static_cast<int>(reason.size())) == 0) {
    return true;
  }
  *why = reason.data();
  return false;
}

void DeviceCloseRecord(int handle) {
  createdFiles.erase(handle);
  close(handle);
}

// The page writes the data files into the working folder, and a browser has no installed data to set a
// player's folder up from: the folder steps are never taken, and refused.
bool DeviceMakeFolder(const char*, std::string* why) {
  *why = kNoFolders;
  return false;
}

bool DeviceCreateFile(const char*, const uint8_t*, size_t, std::string* why) {
  *why = kNoFolders;
  return false;
}

bool DeviceChangeFolder(const char*, std::string* why) {
  *why = kNoFolders;
  return false;
}

bool DeviceReadLink(const char*, std::string*) {
  return false;
}

bool DeviceRemoveLink(const char*, std::string* why) {
  *why = kNoFolders;
  return false;
}

// The page keeps the settings in the browser's storage, replaced whole in one step, and writes them into
// the program's files before it starts; this run's copy there is kept in step.
bool DeviceReplaceFile(const char* name, const std::vector<uint8_t>& bytes, std::string* why) {
  std::array<char, kReasonSize> reason{};
  if (PageStoreFile(name, bytes.data(), static_cast<int>(bytes.size()), reason.data(),
                    static_cast<int>(reason.size())) != 0) {
    *why = reason.data();
    return false;
  }
  const int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd >= 0) {
    if (write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) unlink(name);
    close(fd);
  }
  return true;
}

std::string DeviceSettingsFileName() { return "/settings.ini"; }

int DeviceOpenNewFile(const char* name, std::string* why) {
  const int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    *why = std::strerror(errno);
    return -1;
  }
  createdFiles.insert(fd);
  return fd;
}

bool DeviceAppendFile(int handle, const uint8_t* bytes, size_t size, std::string* why) {
  if (write(handle, bytes, size) == static_cast<ssize_t>(size)) return true;
  *why = std::strerror(errno);
  return false;
}

}  // namespace coilrun
