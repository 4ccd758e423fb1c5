// The one reader of the game's data files, over the file device.
#include "devices/data_file.h"

#include "devices/file_device.h"

namespace coilrun {

namespace {

// The file whose last read failed, and why; the folder read where the working folder lacks a file.
std::string failedFile;
std::string failedWhy;
std::string fallbackFolder;

}  // namespace

bool ReadDataFile(const char* fileName, size_t maxSize, std::vector<uint8_t>* bytes) {
  std::string why;
  const std::string path = fallbackFolder.empty() || DeviceNameTaken(fileName)
                               ? std::string(fileName)
                               : fallbackFolder + "/" + fileName;
  if (DeviceReadWholeFile(path.c_str(), maxSize, bytes, &why)) {
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

void SetDataFallbackFolder(const std::string& folder) {
  fallbackFolder = folder;
}

void ResetDataFiles() {
  failedFile.clear();
  failedWhy.clear();
  fallbackFolder.clear();
}

}  // namespace coilrun
