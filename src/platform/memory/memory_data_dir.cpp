// The in-memory platform's installed data folder and player's folder: none, unless a test names them.
#include "platform/memory/memory_data_dir.h"

#include <string>

#include "devices/data_dir_device.h"

namespace coilrun {

namespace {

// The folder a test named, and whether it named one; the same for the player's folder.
std::string installedFolder;
bool installed = false;
std::string playerFolder;
bool playerKnown = false;

}  // namespace

void MemorySetInstalledDataDirectory(const char* folder) {
  installed = folder != nullptr;
  installedFolder = installed ? folder : "";
}

void MemorySetPlayerDataDirectory(const char* folder) {
  playerKnown = folder != nullptr;
  playerFolder = playerKnown ? folder : "";
}

const char* DeviceInstalledDataDirectory() {
  return installed ? installedFolder.c_str() : nullptr;
}

bool DevicePlayerDataDirectory(std::string* folder, std::string* why) {
  if (!playerKnown) {
    *why = "the in-memory platform names no player's folder";
    return false;
  }
  *folder = playerFolder;
  return true;
}

}  // namespace coilrun
