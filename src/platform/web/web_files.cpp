// The browser's files: the data files that the page wrote into the program's file system before the
// start, and the score table, which the page keeps in the browser's storage; a flush waits until it is
// stored there.
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
// The files made by DeviceCreateFile live only in the program's file system: their flush stores nothing.
std::set<int> createdFiles;

}  // namespace

bool DeviceReadWholeFile(const char* name, size_t maxSize, std::vector<uint8_t>* bytes, std::string* why) {
  bool missing = false;
  const int fd = OpenRegularFile(name, O_RDONLY, &missing, why);
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

// One program runs in a page, and a second page of the game keeps its own copy until it stores it whole.
bool DeviceLockRecord(int, std::string*) {
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

int DeviceCreateFile(const char* name, std::string* why) {
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
