// The one reader of the game's data files, over the file device.
#include "devices/data_file.h"

#include "devices/file_device.h"

namespace coilrun {

namespace {

// The file whose last read failed, and why.
std::string failedFile;
std::string failedWhy;

}  // namespace

bool ReadDataFile(const char* fileName, size_t maxSize, std::vector<uint8_t>* bytes) {
  std::string why;
  if (DeviceReadWholeFile(fileName, maxSize, bytes, &why)) {
    if (failedFile == fileName) failedFile.clear();
    return true;
  }
  failedFile = fileName;
  failedWhy = why;
  return false;
}

std::string DataFileFailure(const char* fileName) {
  return failedFile == fileName ? failedWhy : std::string();
}

void ResetDataFiles() {
  failedFile.clear();
  failedWhy.clear();
}

}  // namespace coilrun
