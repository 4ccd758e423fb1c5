// Choosing the data folder: the working directory, or the installed data linked into the player's folder.
#include "app/data_dir.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "content/assets.h"
#include "devices/data_dir_device.h"
#include "game/score_table.h"

namespace coilrun {

namespace fs = std::filesystem;

namespace {

// The file whose presence says that a folder holds the game's data: the first screen's picture.
constexpr const char* kDataMarker = "LOGO.DAT";

bool HasData(const fs::path& folder) {
  std::error_code ignored;
  return fs::exists(folder / kDataMarker, ignored);
}

std::string Describe(const fs::path& path, const std::error_code& error) {
  return path.string() + ": " + error.message();
}

// Makes `link` a symbolic link to `target`, unless it already is one or is a file of the player's own.
bool LinkDataFile(const fs::path& target, const fs::path& link, std::string* error) {
  std::error_code failure;
  const fs::file_status status = fs::symlink_status(link, failure);
  if (fs::is_symlink(status)) {
    if (fs::read_symlink(link, failure) == target) return true;
    if (!fs::remove(link, failure) && failure) {
      *error = Describe(link, failure);
      return false;
    }
  } else if (fs::exists(status)) {
    return true;
  }
  fs::create_symlink(target, link, failure);
  if (failure) {
    *error = Describe(link, failure);
    return false;
  }
  return true;
}

// An empty score table, as the game expects to find one: the file is only ever rewritten, never created.
bool CreateEmptyScoreFile(const fs::path& path, std::string* error) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (errno == EEXIST) return true;
    *error = path.string() + ": " + std::strerror(errno);
    return false;
  }
  const std::array<uint8_t, kScoreFileSize> zeros{};
  const bool written = write(fd, zeros.data(), zeros.size()) == static_cast<ssize_t>(zeros.size());
  if (!written) *error = path.string() + ": " + std::strerror(errno);
  close(fd);
  if (!written) unlink(path.c_str());
  return written;
}

}  // namespace

std::string PlayerDataDirectory() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome != nullptr && dataHome[0] == '/') return (fs::path(dataHome) / "coilrun").string();
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return {};
  return (fs::path(home) / ".local" / "share" / "coilrun").string();
}

bool ChooseDataDirectory(std::string* error) {
  if (HasData(".")) return true;
  const char* installed = DeviceInstalledDataDirectory();
  if (installed == nullptr || installed[0] == '\0' || !HasData(installed)) return true;
  const fs::path data(installed);
  const std::string folder = PlayerDataDirectory();
  if (folder.empty()) {
    *error = "neither XDG_DATA_HOME nor HOME is set";
    return false;
  }
  std::error_code failure;
  fs::create_directories(folder, failure);
  if (failure) {
    *error = Describe(folder, failure);
    return false;
  }
  for (const char* name : AssetTable) {
    if (!fs::exists(data / name, failure)) continue;
    if (!LinkDataFile(data / name, fs::path(folder) / name, error)) return false;
  }
  if (!CreateEmptyScoreFile(fs::path(folder) / kScoreFileName, error)) return false;
  if (chdir(folder.c_str()) != 0) {
    *error = folder + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace coilrun
