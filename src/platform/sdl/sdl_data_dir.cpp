// Where the installed game keeps its default data: named in COILRUN_DATA_DIR, or beside the program as it
// was installed (so that an install under any prefix finds its data), or where the build said it would go.
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/data_dir_device.h"

namespace coilrun {

namespace {

// The data folder found beside the program, kept for the life of the process.
std::string besideProgram;

}  // namespace

const char* DeviceInstalledDataDirectory() {
  if (const char* named = std::getenv("COILRUN_DATA_DIR")) return named;
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

}  // namespace coilrun
