// The in-memory platform's installed data folder: none, unless a test names one.
#include "platform/memory/memory_data_dir.h"

#include <string>

#include "devices/data_dir_device.h"

namespace coilrun {

namespace {

// The folder a test named, and whether it named one.
std::string installedFolder;
bool installed = false;

}  // namespace

void MemorySetInstalledDataDirectory(const char* folder) {
  installed = folder != nullptr;
  installedFolder = installed ? folder : "";
}

const char* DeviceInstalledDataDirectory() {
  return installed ? installedFolder.c_str() : nullptr;
}

}  // namespace coilrun
