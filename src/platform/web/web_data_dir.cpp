// The browser's data folder: the page writes the data files into the program's working folder.
#include "devices/data_dir_device.h"

namespace coilrun {

const char* DeviceInstalledDataDirectory() {
  return nullptr;
}

// Never asked, since nothing is installed; a page's files are the page's.
bool DevicePlayerDataDirectory(std::string*, std::string* why) {
  *why = "a page has no player's folder";
  return false;
}

}  // namespace coilrun
