// The real layer's files, through POSIX: whole data files read with a bound, and the record saved in place
// under an exclusive lock.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "devices/file_device.h"

namespace coilrun {

namespace {

std::string WorkingDirectory() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer)
                                                  : std::string("the working directory");
}

// Opens `name` without waiting on a pipe or device, and refuses it unless it is a regular file. -1, with the
// reason, otherwise.
int OpenRegularFile(const char* name, int access, bool* missing, std::string* why) {
  *missing = false;
  const int fd = open(name, access | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    *missing = errno == ENOENT;
    *why = std::strerror(errno);
    return -1;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    *why = std::strerror(errno);
  } else if (!S_ISREG(info.st_mode)) {
    *why = "not a regular file";
  } else {
    return fd;
  }
  close(fd);
  return -1;
}

}  // namespace

bool DeviceReadWholeFile(const char* name, size_t maxSize, std::vector<uint8_t>* bytes, std::string* why) {
  bool missing = false;
  const int fd = OpenRegularFile(name, O_RDONLY, &missing, why);
  if (fd < 0) {
    if (missing) *why = "no such file in " + WorkingDirectory();
    return false;
  }
  struct stat info {};
  fstat(fd, &info);
  const auto tooLarge = [&] {
    *why = "larger than the " + std::to_string(maxSize) + " bytes such a file may hold";
  };
  if (static_cast<uintmax_t>(info.st_size) > maxSize) {
    tooLarge();
    close(fd);
    return false;
  }
  // Read to the end, whatever the size said: a file that grew past the bound is still refused.
  bytes->resize(static_cast<size_t>(info.st_size) + 1);
  size_t done = 0;
  for (;;) {
    if (done == bytes->size()) {
      if (done > maxSize) break;
      bytes->resize(std::min(maxSize + 1, done * 2 + 4096));
    }
    const ssize_t got = read(fd, bytes->data() + done, bytes->size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      *why = std::strerror(errno);
      close(fd);
      return false;
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  close(fd);
  if (done > maxSize) {
    tooLarge();
    return false;
  }
  bytes->resize(done);
  return true;
}

int DeviceOpenRecord(const char* name, bool* missing, std::string* why) {
  return OpenRegularFile(name, O_RDWR, missing, why);
}

bool DeviceLockRecord(int handle, std::string* why) {
  while (flock(handle, LOCK_EX) != 0) {
    if (errno != EINTR) {
      *why = std::strerror(errno);
      return false;
    }
  }
  return true;
}

bool DeviceReadRecord(int handle, uint8_t* into, size_t size, size_t* got, std::string* why) {
  *got = 0;
  while (*got < size) {
    const ssize_t n = pread(handle, into + *got, size - *got, static_cast<off_t>(*got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *why = std::strerror(errno);
      return false;
    }
    if (n == 0) break;
    *got += static_cast<size_t>(n);
  }
  return true;
}

bool DeviceWriteRecord(int handle, const uint8_t* bytes, size_t size, std::string* why) {
  ssize_t put = -1;
  do {
    put = pwrite(handle, bytes, size, 0);
  } while (put < 0 && errno == EINTR);
  if (put == static_cast<ssize_t>(size)) return true;
  *why = put < 0 ? std::strerror(errno) : std::strerror(ENOSPC);
  return false;
}

bool DeviceFlushRecord(int handle, std::string* why) {
  if (fsync(handle) == 0) return true;
  *why = std::strerror(errno);
  return false;
}

void DeviceCloseRecord(int handle) {
  close(handle);
}

int DeviceCreateFile(const char* name, std::string* why) {
  const int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY | O_CLOEXEC, 0644);
  if (fd < 0) *why = std::strerror(errno);
  return fd;
}

bool DeviceAppendFile(int handle, const uint8_t* bytes, size_t size, std::string* why) {
  size_t done = 0;
  while (done < size) {
    const ssize_t put = write(handle, bytes + done, size - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      *why = std::strerror(put < 0 ? errno : ENOSPC);
      return false;
    }
    done += static_cast<size_t>(put);
  }
  return true;
}

}  // namespace coilrun
