// Where the installed game keeps its default data: fixed when it is built, or named in COILRUN_DATA_DIR.
#include <cstdlib>

#include "app/data_dir_device.h"

namespace coilrun {

const char* DeviceInstalledDataDirectory() {
  const char* named = std::getenv("COILRUN_DATA_DIR");
  return named != nullptr ? named : COILRUN_INSTALLED_DATA_DIR;
}

}  // namespace coilrun
