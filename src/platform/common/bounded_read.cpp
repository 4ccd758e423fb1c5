// What the regular-file readers share: the bounded read to the end and the whole-file read.
#include "platform/common/bounded_read.h"

#include <algorithm>

#include "platform/common/posix_regular_file.h"

namespace coilrun {

namespace {

std::string LargerThanBound(size_t maxSize) {
  return "larger than the " + std::to_string(maxSize) + " bytes such a file may hold";
}

}  // namespace

bool ReadUpToBound(uint64_t sizeSaid, size_t maxSize, std::vector<uint8_t>* bytes, std::string* why,
                   const ReadSome& readSome) {
  if (sizeSaid > maxSize) {
    *why = LargerThanBound(maxSize);
    return false;
  }
  // Read to the end, whatever the size said: a file that grew past the bound is still refused.
  bytes->resize(static_cast<size_t>(sizeSaid) + 1);
  size_t done = 0;
  for (;;) {
    if (done == bytes->size()) {
      if (done > maxSize) break;
      bytes->resize(std::min(maxSize + 1, done * 2 + 4096));
    }
    const int64_t got = readSome(bytes->data() + done, bytes->size() - done);
    if (got < 0) return false;
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  if (done > maxSize) {
    *why = LargerThanBound(maxSize);
    bytes->clear();
    bytes->shrink_to_fit();
    return false;
  }
  bytes->resize(done);
  return true;
}

bool ReadWholeFileNamingFolder(const char* name, size_t maxSize, std::vector<uint8_t>* bytes,
                               std::string* why, bool* missingFile,
                               std::string (*folderOf)(const char* name)) {
  bool missing = false;
  const bool read = ReadBoundedFile(name, maxSize, bytes, &missing, why);
  if (missingFile != nullptr) *missingFile = missing;
  if (read) return true;
  if (missing) *why = "no such file in " + folderOf(name);
  return false;
}

}  // namespace coilrun
