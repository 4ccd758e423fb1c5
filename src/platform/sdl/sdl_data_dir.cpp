// Where the installed game keeps its default data: named in COILRUN_DATA_DIR, or beside the program as it
// was installed (so that an install under any prefix finds its data), or where the build said it would go.
// The player's folder is $XDG_DATA_HOME/coilrun, or ~/.local/share/coilrun when that is unset or not
// absolute.
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "devices/data_dir_device.h"

namespace coilrun {

namespace {

// The data folder found beside the program, or named in the environment and made absolute, kept for the
// life of the process.
std::string besideProgram;
std::string named;

}  // namespace

const char* DeviceInstalledDataDirectory() {
  // A relative name is taken from the working directory at start, before the game moves to the player's
  // folder: links made there must not dangle.
  if (const char* environment = std::getenv("COILRUN_DATA_DIR")) {
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(environment, failed);
    named = failed ? std::string(environment) : absolute.lexically_normal().string();
    return named.c_str();
  }
  char program[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", program, sizeof program - 1);
  if (length > 0) {
    program[length] = '\0';
    const std::filesystem::path folder =
        std::filesystem::path(program).parent_path() / COILRUN_DATA_DIR_FROM_PROGRAM;
    std::error_code ignored;
    if (std::filesystem::is_directory(folder, ignored)) {
      besideProgram = folder.lexically_normal().string();
      return besideProgram.c_str();
    }
  }
  return COILRUN_INSTALLED_DATA_DIR;
}

bool DevicePlayerDataDirectory(std::string* folder, std::string* why) {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome != nullptr && dataHome[0] == '/') {
    *folder = (std::filesystem::path(dataHome) / "coilrun").string();
    return true;
  }
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') {
    *why = "neither XDG_DATA_HOME nor HOME is set";
    return false;
  }
  *folder = (std::filesystem::path(home) / ".local" / "share" / "coilrun").string();
  return true;
}

}  // namespace coilrun
