// The real layer's files, through POSIX: whole data files read with a bound, the record saved in place
// under a lock tried without waiting, a recording written from start to end, the player's data folder made,
// and the settings file replaced whole.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "devices/file_device.h"
#include "platform/common/posix_regular_file.h"

namespace coilrun {

namespace {

// The folder a name is taken from, for the line that says a file is not there.
std::string FolderOf(const char* name) {
  const char* slash = std::strrchr(name, '/');
  if (slash != nullptr) return slash == name ? std::string("/") : std::string(name, slash);
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer)
                                                  : std::string("the working directory");
}

// errno's words, kept before anything else can change errno.
bool Fail(std::string* why) {
  *why = std::strerror(errno);
  return false;
}

}  // namespace

bool DeviceReadWholeFile(const char* name, size_t maxSize, std::vector<uint8_t>* bytes, std::string* why,
                         bool* missingFile) {
  bool missing = false;
  const bool read = ReadBoundedFile(name, maxSize, bytes, &missing, why);
  if (missingFile != nullptr) *missingFile = missing;
  if (read) return true;
  if (missing) *why = "no such file in " + FolderOf(name);
  return false;
}

int DeviceOpenRecord(const char* name, bool* missing, std::string* why) {
  return OpenRegularFile(name, O_RDWR, missing, why);
}

bool DeviceNameTaken(const char* name) {
  struct stat info {};
  return stat(name, &info) == 0;
}

// A whole-file lock, as flock(1) takes it: a lock on another open of the file is in the way, even one of
// this program's, which the logic never holds twice.
bool DeviceTryLockRecord(int handle, bool exclusive, bool* busy, std::string* why) {
  *busy = false;
  int result = 0;
  do {
    result = flock(handle, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result == 0) return true;
  *busy = errno == EWOULDBLOCK;
  return Fail(why);
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

bool DeviceMakeFolder(const char* name, std::string* why) {
  const std::string path(name);
  for (size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
    const std::string folder = path.substr(0, end);
    if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) return Fail(why);
    if (end == std::string::npos) break;
  }
  struct stat info {};
  if (stat(name, &info) != 0) return Fail(why);
  if (S_ISDIR(info.st_mode)) return true;
  *why = std::strerror(ENOTDIR);
  return false;
}

bool DeviceCreateFile(const char* name, const uint8_t* bytes, size_t size, std::string* why) {
  const int fd = open(name, O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0644);
  if (fd < 0) return errno == EEXIST || Fail(why);
  size_t done = 0;
  int error = 0;
  while (done < size && error == 0) {
    const ssize_t put = write(fd, bytes + done, size - done);
    if (put < 0 && errno == EINTR) continue;
    if (put > 0) done += static_cast<size_t>(put);
    error = put > 0 ? 0 : put == 0 ? ENOSPC : errno;
  }
  if (error == 0 && fsync(fd) != 0) error = errno;
  const bool filled = error == 0;
  if (!filled) *why = std::strerror(error);
  close(fd);
  if (!filled) unlink(name);
  return filled;
}

bool DeviceChangeFolder(const char* name, std::string* why) {
  return chdir(name) == 0 || Fail(why);
}

bool DeviceReadLink(const char* name, std::string* target) {
  char buffer[PATH_MAX];
  const ssize_t length = readlink(name, buffer, sizeof buffer);
  if (length < 0 || static_cast<size_t>(length) >= sizeof buffer) return false;
  target->assign(buffer, static_cast<size_t>(length));
  return true;
}

bool DeviceRemoveLink(const char* name, std::string* why) {
  struct stat info {};
  if (lstat(name, &info) != 0) return errno == ENOENT || Fail(why);
  if (!S_ISLNK(info.st_mode)) {
    *why = "not a symbolic link";
    return false;
  }
  return unlink(name) == 0 || errno == ENOENT || Fail(why);
}

namespace {

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (put == 0) errno = ENOSPC;
      return false;
    }
    done += static_cast<size_t>(put);
  }
  return true;
}

}  // namespace

bool DeviceReplaceFile(const char* name, const std::vector<uint8_t>& bytes, std::string* why) {
  const std::filesystem::path path(name);
  std::error_code failure;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), failure);
  if (failure) {
    *why = failure.message();
    return false;
  }
  std::string fresh = path.string() + ".XXXXXX";
  const int fd = mkstemp(fresh.data());
  if (fd < 0) {
    *why = std::strerror(errno);
    return false;
  }
  // The new file is the player's, readable as an editor would have left it.
  const bool written = fchmod(fd, 0644) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
  const int writeError = errno;
  if (close(fd) != 0 || !written || rename(fresh.c_str(), name) != 0) {
    *why = std::strerror(written ? errno : writeError);
    unlink(fresh.c_str());
    return false;
  }
  // The rename itself reaches the disk with the folder.
  const int folder = open(path.has_parent_path() ? path.parent_path().c_str() : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return true;
}

std::string DeviceSettingsFileName() {
  // A relative $XDG_CONFIG_HOME is to be ignored, as the base-directory rules say.
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  if (configHome != nullptr && configHome[0] == '/') return std::string(configHome) + "/coilrun/settings.ini";
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return {};
  return std::string(home) + "/.config/coilrun/settings.ini";
}

int DeviceOpenNewFile(const char* name, std::string* why) {
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
