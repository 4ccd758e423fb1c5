// The browser's data folder: the page writes the data files into the program's working folder.
#include "devices/data_dir_device.h"

namespace coilrun {

const char* DeviceInstalledDataDirectory() {
  return nullptr;
}

}  // namespace coilrun
