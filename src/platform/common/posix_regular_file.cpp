// Regular files opened and read whole through POSIX within a bound.
#include "platform/common/posix_regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/common/bounded_read.h"

namespace coilrun {

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

bool ReadBoundedFile(const char* path, size_t maxSize, std::vector<uint8_t>* bytes, bool* missing,
                     std::string* why) {
  const int fd = OpenRegularFile(path, O_RDONLY, missing, why);
  if (fd < 0) return false;
  struct stat info {};
  fstat(fd, &info);
  const bool whole = ReadUpToBound(static_cast<uint64_t>(info.st_size), maxSize, bytes, why,
                                   [&](uint8_t* into, size_t room) -> int64_t {
                                     ssize_t got = 0;
                                     do {
                                       got = read(fd, into, room);
                                     } while (got < 0 && errno == EINTR);
                                     if (got < 0) *why = std::strerror(errno);
                                     return got;
                                   });
  close(fd);
  return whole;
}

}  // namespace coilrun
