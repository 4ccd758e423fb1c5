// Regular files opened and read whole through POSIX within a bound.
#include "platform/common/posix_regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

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
    bytes->clear();
    bytes->shrink_to_fit();
    return false;
  }
  bytes->resize(done);
  return true;
}

}  // namespace coilrun
